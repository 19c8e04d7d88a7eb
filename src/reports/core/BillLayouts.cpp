#include "reports/core/LayoutCatalogue.h"
#include "reports/core/LayoutParts.h"

namespace talvor::report::catalogue {

using namespace parts;
using namespace Qt::StringLiterals;

namespace {

// Bills print 10 pt throughout; 22-pixel lines keep ten lines, the headings and the totals of a
// sales bill on one 140 mm page.
const Style kBill{fontPt(10), 22};
const FontSpec kBillTitle = fontPt(14, true);

// The goods headings are written by the printing screen from the user's captions.
std::vector<Column> billColumns() {
    return {runtimeText(u"QRLab_code"_s, u"编码"_s, u"gods_code"_s, 86),
            runtimeText(u"QRLab_name"_s, u"产品名称"_s, u"gods_name"_s, 160),
            runtimeText(u"QRLab_spec"_s, u"规格"_s, u"gods_spec"_s, 76),
            runtimeText(u"QRLab_type"_s, u"型号"_s, u"gods_type"_s, 76),
            text(u"单位"_s, u"gods_unit"_s, 40),
            figure(u"单价"_s, u"unit_pric"_s, 64),
            figure(u"数量"_s, u"sub_amou"_s, 60),
            figure(u"小计"_s, u"sub_tota"_s, 76),
            text(u"备注"_s, u"remark"_s, 80)};
}

// The header fields of a bill print the current row of its header dataset.
struct Header {
    QString dataset;
    Control operator()(const QString& field) const { return dataField(dataset, field, {}); }
};

Band billHeader(const Header& h, const std::vector<Entry>& secondLine, const Entry& currency) {
    return band(BandKind::PageHeader, 80 + kBill.rowPx,
                join({{runtimeLabel(u"QRLabel1"_s, {0, 0, kWidthPx, 32}).withFont(kBillTitle)},
                      entryLine(36,
                                {entry(u"凭证号"_s, h(u"vouc_no"_s), 170),
                                 entry(u"单流水号"_s, h(u"bill_no"_s), 190),
                                 entry(u"开单日期"_s, h(u"bill_date"_s), 180), currency},
                                kBill),
                      entryLine(58, secondLine, kBill),
                      headingRow(billColumns(), 80, kBill)}));
}

Band billSummary(const Header& h, const QString& amountCaption) {
    const std::vector<Entry> totals{entry(u"合计金额大写"_s, rt(u"QRLabel29"_s), 378),
                                    entry(u"合计数量"_s, rt(u"QRLabel30"_s), 160),
                                    entry(u"合计金额"_s, rt(u"QRLabel31"_s), 180)};
    const std::vector<Entry> remark{entry(u"备注"_s, h(u"remark"_s), 538),
                                    entry(amountCaption, h(u"fact_tota"_s), 180)};
    const std::vector<Entry> signatures{
        entry(u"制单"_s, h(u"oper_name"_s), 120), entry(u"经手"_s, h(u"hand_name"_s), 120),
        entry(u"复核"_s, h(u"chek_name"_s), 120), entry(u"业务"_s, h(u"rela_name"_s), 120),
        entry(u"发货"_s, h(u"send_name"_s), 120), entry(u"收货"_s, h(u"rece_name"_s), 118)};
    return band(BandKind::Summary, 96,
                join({ruledEntryLine(0, totals, kBill),
                      ruledEntryLine(22, remark, kBill),
                      entryLine(48, signatures, kBill),
                      {runtimeLabel(u"QRLabel11"_s, {0, 74, kWidthPx, 22}).withFont(kBill.font)}}));
}

}  // namespace

LayoutDefinition QRin() {
    const Header h{u"InMainQ"_s};
    // The company name takes what the code and the settlement type leave free.
    const std::vector<Entry> company{entry(u"客户名称"_s, h(u"comp_code"_s), 170),
                                     entry(u"客户名称"_s, h(u"comp_name"_s), 420),
                                     entry(u"结算方式"_s, h(u"fee_type"_s), 128)};
    return {.className = u"TQRin"_s,
            .instanceName = u"QRin"_s,
            .dataset = u"InGoodsQ"_s,
            .page = PageSetup::a4(),
            .bands = {billHeader(h, company, entry(u"币种"_s, h(u"mone_type"_s), 178)),
                      detailBand(billColumns(), kBill), billSummary(h, u"付款金额"_s),
                      band(BandKind::PageFooter, 10)}};
}

// Blank filler rows carry only a bill number, so their amount cell stays empty.
LayoutDefinition QRout() {
    const Header h{u"OutMainQ"_s};
    // A person's name, a telephone number and a settlement type are short; the company name
    // takes the rest of the line.
    const std::vector<Entry> company{
        entry(u"公司名称"_s, h(u"comp_name"_s), 348), entry(u"联系人"_s, h(u"rela_name"_s), 100),
        entry(u"电话"_s, h(u"rela_phon"_s), 130), entry(u"结算方式"_s, h(u"fee_type"_s), 140)};
    Entry currency = entry(u"币种"_s, h(u"mone_type"_s), 178);
    currency.captionFont = fontPt(9);
    return {
        .className = u"TQRout"_s,
        .instanceName = u"QRout"_s,
        .dataset = u"OutTempQ"_s,
        .page = PageSetup::custom(218, 140),
        .bands = {billHeader(h, company, currency),
                  detailBand(billColumns(), kBill, u"gods_code"_s), billSummary(h, u"收款金额"_s)}};
}

}  // namespace talvor::report::catalogue
