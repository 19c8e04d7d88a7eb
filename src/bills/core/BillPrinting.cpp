#include "bills/core/BillPrinting.h"

#include <QtDebug>
#include <exception>
#include <optional>

#include "common/core/BillSettings.h"
#include "datamodel/DataModule.h"
#include "reports/core/ReportLayout.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

bool printsOnSalesLayout(const BillKind& kind) { return kind.headerTable == "outmain"_L1; }

void runCommand(Dataset& scratch, const QString& sql, const QVariantMap& params = {}) {
    scratch.executeWith(sql, params);
}

void addFillerRows(Dataset& outTemp, const QString& billNo, int lineCount) {
    if (lineCount <= 0) return;
    const int missing = lineCount - outTemp.recordCount() % lineCount;
    for (int i = 0; i < missing; ++i) {
        outTemp.append();
        outTemp.setValue(u"bill_no"_s, billNo);
        outTemp.post();
    }
    outTemp.reopen();
}

void setBillLabels(report::ReportLayout& layout, const BillKind& kind, const BillPrintTexts& texts,
                   const BillSettings& settings) {
    const QString headings[] = {u"QRLab_code"_s, u"QRLab_name"_s, u"QRLab_spec"_s, u"QRLab_type"_s};
    for (qsizetype i = 0; i < std::min<qsizetype>(4, texts.goodsCaptions.size()); ++i)
        layout.setCaption(headings[i], texts.goodsCaptions[i]);
    layout.setCaption(u"QRLabel1"_s, BillTitle(kind, settings.companyName));
    layout.centre(u"QRLabel1"_s);
    layout.setCaption(u"QRLabel11"_s, settings.billBottom);
    layout.setCaption(u"QRLabel29"_s, texts.amountInWords);
    layout.setCaption(u"QRLabel30"_s, texts.totalQuantity);
    layout.setCaption(u"QRLabel31"_s, texts.totalAmount);
}

// The screen's datasets print for this bill only; afterwards the layout reads the data
// module's own again, so it never keeps a dataset the screen may destroy.
class BindingForOnePrint {
  public:
    BindingForOnePrint(report::ReportLayout& layout, const QString& name, const Dataset& dataset)
        : layout_(layout), name_(name) {
        layout_.bind(name_, &dataset);
    }
    ~BindingForOnePrint() { layout_.bind(name_, nullptr); }
    BindingForOnePrint(const BindingForOnePrint&) = delete;
    BindingForOnePrint& operator=(const BindingForOnePrint&) = delete;

  private:
    report::ReportLayout& layout_;
    QString name_;
};

}  // namespace

QString BillTitle(const BillKind& kind, const QString& companyName) {
    const bool returned = kind.billType == "retu"_L1;
    if (printsOnSalesLayout(kind)) return companyName + (returned ? u"退货厂商单"_s : u"销售单"_s);
    return companyName + (returned ? u"顾客退货单"_s : u"进货单"_s);
}

void ApplyBillPaper(report::ReportLayout& layout, const BillSettings& settings) {
    if (settings.pageType == u"自定义"_s)
        layout.setPaperCustom(settings.pageWidth, settings.pageLength);
    else if (settings.pageType == u"A4"_s)
        layout.setPaperA4();
}

// The bill number is bound, so a number typed with a quote cannot break the statement.
void FillOutTemp(Dataset& scratch, Dataset& outTemp, const QString& billNo, int lineCount) {
    runCommand(scratch, u"delete * from outtemp "_s);
    runCommand(scratch, u"insert into outtemp  select * from outgoods where bill_no=:bill_no"_s,
               {{u"bill_no"_s, billNo}});
    outTemp.openWith(u"select * from outtemp "_s);
    addFillerRows(outTemp, billNo, lineCount);
}

void PrintBill(const BillKind& kind, Dataset& header, Dataset& lines, const BillPrintTexts& texts) {
    try {
        report::ReportLayouts* layouts = report::Reports();
        if (!layouts) throw report::ReportError(u"没有创建报表"_s);
        const BillSettings& settings = billSettings();
        const bool sales = printsOnSalesLayout(kind);
        report::ReportLayout& layout = sales ? *layouts->QRout : *layouts->QRin;
        const BindingForOnePrint headerBinding(layout, sales ? u"OutMainQ"_s : u"InMainQ"_s,
                                               header);
        std::optional<BindingForOnePrint> linesBinding;
        if (sales) {
            ApplyBillPaper(layout, settings);
            TFrmDataMod* data = FrmDataMod();
            if (!data) throw report::ReportError(u"没有数据模块"_s);
            FillOutTemp(*data->TempQ, *data->OutTempQ, header.text(u"bill_no"_s),
                        settings.lineCount);
        } else {
            linesBinding.emplace(layout, u"InGoodsQ"_s, lines);
        }
        setBillLabels(layout, kind, texts, settings);
        layout.preview();
    } catch (const std::exception& e) {
        qWarning("PrintBill: %s", e.what());
    }
}

}  // namespace talvor
