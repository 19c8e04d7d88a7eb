#include "reports/core/LayoutCatalogue.h"
#include "reports/core/LayoutParts.h"

namespace talvor::report::catalogue {

using namespace parts;
using namespace Qt::StringLiterals;

namespace {

const Style kList{fontPx(13), 24};
const FontSpec kTitle = fontPx(20, true);

// Three amounts of a bill list: due, settled and still open.
struct Amounts {
    QString due, settled, open;
};

// The bill list both settlements and both statements print: only the amount headings differ.
std::vector<Column> billColumns(const Amounts& a) {
    return {text(u"流水单号"_s, u"bill_no"_s, 104), text(u"开单日期"_s, u"bill_date"_s, 80),
            text(u"操作人"_s, u"oper_name"_s, 64),  text(u"公司编码"_s, u"comp_code"_s, 80),
            text(u"公司名"_s, u"comp_name"_s, 166), figure(a.due, u"shou_tota"_s, 74),
            figure(a.settled, u"fact_tota"_s, 76),  figure(a.open, u"margin"_s, 74)};
}

Entry dateRange() { return entry(u"日期范围"_s, {rt(u"rqfw1"_s), rt(u"rqfw2"_s)}, 188); }

// Captions of a receipt or a payment, in the order the screens write them.
struct SettlementWords {
    QString className, title, due, settled, number, date, amount, person;
    Amounts headings;
};

LayoutDefinition settlement(const SettlementWords& w, const QString& dataset, PageSetup page) {
    const int headingY = 156;
    const std::vector<Column> columns = billColumns(w.headings);
    std::vector<Control> title = join(
        {{titleLabel(w.title, 32, kTitle)},
         entryLine(
             36,
             {entry(u"客户编码"_s, rt(u"khbm"_s), 170), entry(u"客户名称"_s, rt(u"khmc"_s), 190),
              entry(u"流水单号"_s, rt(u"lsdh"_s), 170), dateRange()},
             kList),
         entryLine(
             60,
             {entry(w.due, rt(u"ysjea"_s), 170), entry(w.settled, rt(u"ysjeb"_s), 190),
              entry(u"欠款金额"_s, rt(u"qkje"_s), 170), entry(u"上期节余"_s, rt(u"sqjy"_s), 188)},
             kList),
         entryLine(84,
                   {entry(w.number, rt(u"skdh"_s), 170), entry(w.date, rt(u"skri"_s), 190),
                    entry(w.amount, rt(u"skje"_s), 170), entry(u"结余金额"_s, rt(u"zhje"_s), 188)},
                   kList),
         entryLine(108,
                   {entry(u"开单人"_s, rt(u"kdr"_s), 170), entry(w.person, rt(u"skr"_s), 190),
                    entry(u"复核人"_s, rt(u"fhr"_s), 170), entry(u"凭证号"_s, rt(u"pzh"_s), 188)},
                   kList),
         entryLine(132, {entry(u"备注："_s, rt(u"bz"_s), kWidthPx)}, kList),
         headingRow(columns, headingY, kList)});
    return {.className = w.className,
            .instanceName = w.className.mid(1),
            .dataset = dataset,
            .page = page,
            .bands = {band(BandKind::Title, headingY + kList.rowPx, std::move(title)),
                      detailBand(columns, kList)}};
}

LayoutDefinition statement(const QString& className, const QString& title, const QString& dataset,
                           const Amounts& totals, const Amounts& headings) {
    const int headingY = 84;
    const std::vector<Column> columns = billColumns(headings);
    std::vector<Control> controls =
        join({{titleLabel(title, 32, kTitle)},
              entryLine(36,
                        {entry(u"客户编码"_s, rt(u"khbm"_s), 170),
                         entry(u"客户名称"_s, rt(u"khmc"_s), 360), dateRange()},
                        kList),
              entryLine(60,
                        {entry(totals.due, rt(u"ysjea"_s), 170),
                         entry(totals.settled, rt(u"ysjeb"_s), 190),
                         entry(totals.open, rt(u"qkje"_s), 170)},
                        kList),
              headingRow(columns, headingY, kList)});
    return {.className = className,
            .instanceName = className.mid(1),
            .dataset = dataset,
            .page = PageSetup::a4(),
            .bands = {band(BandKind::Title, headingY + kList.rowPx, std::move(controls)),
                      detailBand(columns, kList)}};
}

}  // namespace

// The receipt keeps the printer's paper, set out on A4 values.
LayoutDefinition Qgath() {
    return settlement({u"TQgath"_s,
                       u"收款单"_s,
                       u"应收金额"_s,
                       u"已收金额"_s,
                       u"收款单号"_s,
                       u"收款日期"_s,
                       u"收款金额"_s,
                       u"收款人"_s,
                       {u"应收金额"_s, u"已收金 额"_s, u"欠款金额"_s}},
                      u"GathQ"_s, PageSetup::printerDefault());
}

LayoutDefinition Qpay() {
    return settlement({u"TQpay"_s,
                       u"付款单"_s,
                       u"应付金额"_s,
                       u"已付金额"_s,
                       u"付款单号"_s,
                       u"付款日期"_s,
                       u"付款金额"_s,
                       u"付款人"_s,
                       {u"应付金额"_s, u"已付金额"_s, u"欠付金额"_s}},
                      u"PayQ"_s, PageSetup::a4());
}

LayoutDefinition Qincost() {
    return statement(u"TQincost"_s, u"进货对帐单"_s, u"PayQ"_s,
                     {u"应付金额"_s, u"已付金额"_s, u"欠款金额"_s},
                     {u"应付金额"_s, u"已付金额"_s, u"欠付金额"_s});
}

LayoutDefinition Qoutcost() {
    return statement(u"TQoutcost"_s, u"出货对帐单"_s, u"GathQ"_s,
                     {u"应收金额"_s, u"已收金额"_s, u"欠收金额"_s},
                     {u"应收金额"_s, u"已收金额"_s, u"欠收金额"_s});
}

}  // namespace talvor::report::catalogue
