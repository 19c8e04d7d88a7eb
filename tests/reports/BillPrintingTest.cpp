#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "bills/core/BillPrinting.h"
#include "common/core/BillSettings.h"
#include "common/core/Routines.h"
#include "reports/core/ReportLayout.h"
#include "reports/core/ReportPainter.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;
using report::PageSetup;
using report::PreparedReport;
using test::TestDatabase;

class BillPrintingTest : public ::testing::Test {
  protected:
    TestDatabase t;
    TFrmDataMod& m = *t.module;
    report::ReportLayouts layouts{m};
    std::vector<PreparedReport> shown;
    report::Presenter previous;
    BillSettings saved = billSettings();
    const BillPrintTexts texts{u"15"_s,
                               u"3750.5"_s,
                               AmountInWords(3750.5),
                               {u"货号"_s, u"品名"_s, u"规格"_s, u"型号"_s, u"类别"_s}};

    BillPrintingTest() {
        previous = report::setPresenter([this](const PreparedReport& r) { shown.push_back(r); });
        billSettings() = {u"禾岚商贸"_s, u"谢谢惠顾"_s, 0, {}, 0, 0};
        t.exec(
            u"insert into goods (gods_code,gods_name,gods_spec,gods_type,gods_unit) "
            u"values ('G1','不锈钢保温杯','500ml','BW-5','个')"_s);
        t.exec(
            u"insert into company (comp_code,comp_name,rela_phon) "
            u"values ('C1','华东五金公司','0571-8888')"_s);
        t.exec(u"insert into employee (empl_code,empl_name) values ('E1','王小明')"_s);
    }
    ~BillPrintingTest() override {
        report::setPresenter(previous);
        billSettings() = saved;
    }

    void addBill(const BillKind& kind, const QString& billNo, int lines) {
        t.exec(
            u"insert into %1 (bill_no,vouc_no,bill_date,comp_code,mone_type,fee_type,oper_code,"
            u"rela_code,shou_tota,fact_tota,remark,bill_type) values (:b,'V9','2024-03-05','C1',"
            u"'人民币','现金','E1','E1',3750.5,100,'加急',:k)"_s.arg(kind.headerTable),
            {{u"b"_s, billNo}, {u"k"_s, QString(kind.billType)}});
        for (int i = 0; i < lines; ++i)
            t.exec(
                u"insert into %1 (bill_no,gods_code,sub_amou,unit_pric,remark) "
                u"values (:b,'G1',:a,250.5,'')"_s.arg(kind.lineTable),
                {{u"b"_s, billNo}, {u"a"_s, i + 1}});
    }
    // The screen's datasets on the bill, as a bill screen in browse mode holds them.
    std::pair<Dataset*, Dataset*> openBill(const BillKind& kind, const QString& billNo) {
        const bool sales = kind.headerTable == "outmain"_L1;
        Dataset* header = sales ? m.OutMainQ : m.InMainQ;
        Dataset* lines = sales ? m.OutGoodsQ : m.InGoodsQ;
        for (auto [d, table] : {std::pair{header, kind.headerTable}, {lines, kind.lineTable}}) {
            d->close();
            d->setSql(u"select * from %1 where bill_no=:bill_no"_s.arg(table));
            d->setParam(u"bill_no"_s, billNo);
            d->open();
        }
        return {header, lines};
    }
    const PreparedReport& print(const BillKind& kind, const QString& billNo) {
        auto [header, lines] = openBill(kind, billNo);
        PrintBill(kind, *header, *lines, texts);
        EXPECT_FALSE(shown.empty()) << "no preview";
        return shown.back();
    }
};

int detailRows(const PreparedReport& r) {
    int n = 0;
    for (const auto& p : r.pages)
        for (const auto& b : p.bands) n += b.kind == report::BandKind::SubDetail;
    return n;
}

QStringList allTexts(const PreparedReport& r) {
    QStringList all;
    for (const auto& p : r.pages) all += p.textList();
    return all;
}

TEST_F(BillPrintingTest, SalesBillIsPaddedWithBlankRowsToTheLineCount) {
    struct Case {
        int lineCount, lines, rows;
    };
    const Case cases[] = {{10, 3, 10}, {10, 10, 20}, {0, 3, 3},
                          {10, 0, 10}, {4, 9, 12},   {-2, 3, 3}};
    int bill = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lineCount << " / " << c.lines);
        const QString billNo = u"2024030500000%1"_s.arg(++bill);
        addBill(BillKind::Sale, billNo, c.lines);
        billSettings().lineCount = c.lineCount;
        const PreparedReport& r = print(BillKind::Sale, billNo);
        EXPECT_EQ(detailRows(r), c.rows);
        EXPECT_EQ(t.scalar(u"select count(*) from outtemp"_s).toInt(), c.rows);
        EXPECT_EQ(t.scalar(u"select count(*) from outtemp where bill_no=:b and gods_code is null"_s,
                           {{u"b"_s, billNo}})
                      .toInt(),
                  c.rows - c.lines);
        const QStringList printed = allTexts(r);
        EXPECT_EQ(printed.count(u"不锈钢保温杯"_s), c.lines);
        EXPECT_FALSE(printed.contains(u"0"_s)) << "blank rows print no amount";
    }
}

TEST_F(BillPrintingTest, SalesPaperFollowsThePageTypeAndStaysForLaterPrints) {
    struct Step {
        const char16_t* pageType;
        int width, length;
        PageSetup paper;
    };
    const Step steps[] = {
        {u"", 0, 0, PageSetup::custom(218, 140)},
        {u"自定义", 210, 140, PageSetup::custom(210, 140)},
        {u"", 0, 0, PageSetup::custom(210, 140)},
        {u"A4", 0, 0, PageSetup::a4()},
        {u"B5", 176, 250, PageSetup::a4()},
        {u"自定义", 0, 0, PageSetup::a4()},
    };
    addBill(BillKind::Sale, u"20240305000001"_s, 2);
    addBill(BillKind::Purchase, u"20240305000002"_s, 2);
    for (const Step& s : steps) {
        SCOPED_TRACE(QString::fromUtf16(s.pageType).toStdString());
        billSettings().pageType = QString::fromUtf16(s.pageType);
        billSettings().pageWidth = s.width;
        billSettings().pageLength = s.length;
        EXPECT_EQ(print(BillKind::Sale, u"20240305000001"_s).page, s.paper);
        EXPECT_EQ(print(BillKind::Purchase, u"20240305000002"_s).page, PageSetup::a4());
    }
}

TEST_F(BillPrintingTest, EachKindPrintsItsTitleAndAmountCaptionOnItsLayout) {
    struct Case {
        const BillKind* kind;
        const char16_t* layout;
        const char16_t* title;
        const char16_t* amountCaption;
    };
    const Case cases[] = {
        {&BillKind::Purchase, u"QRin", u"禾岚商贸进货单", u"付款金额"},
        {&BillKind::CustomerReturn, u"QRin", u"禾岚商贸顾客退货单", u"付款金额"},
        {&BillKind::Sale, u"QRout", u"禾岚商贸销售单", u"收款金额"},
        {&BillKind::ReturnToSupplier, u"QRout", u"禾岚商贸退货厂商单", u"收款金额"},
    };
    int bill = 0;
    for (const Case& c : cases) {
        const QString billNo = u"2024030500000%1"_s.arg(++bill);
        addBill(*c.kind, billNo, 1);
        EXPECT_EQ(BillTitle(*c.kind, u"禾岚商贸"_s), QString::fromUtf16(c.title));
        const PreparedReport& r = print(*c.kind, billNo);
        EXPECT_EQ(r.layout, QString::fromUtf16(c.layout));
        const report::PreparedText& title = r.pages[0].texts[0];
        EXPECT_EQ(title.text, QString::fromUtf16(c.title));
        EXPECT_EQ(title.align, report::Align::Centre);
        const QStringList printed = allTexts(r);
        EXPECT_TRUE(printed.contains(QString::fromUtf16(c.amountCaption)));
        EXPECT_TRUE(printed.contains(u"不锈钢保温杯"_s)) << "the bill's own line";
    }
}

// A branch's full name, a long telephone number and a settlement type all print whole.
TEST_F(BillPrintingTest, ALongCompanyNamePrintsWhole) {
    const QString name = u"广州市天河区宏达五金建材有限公司天河分店"_s;
    t.exec(u"update company set comp_name=:n, rela_phon='020-87654321-8008'"_s, {{u"n"_s, name}});
    int bill = 0;
    for (const BillKind* kind : {&BillKind::Purchase, &BillKind::Sale}) {
        const QString billNo = u"2024030500000%1"_s.arg(++bill);
        addBill(*kind, billNo, 1);
        t.exec(u"update %1 set fee_type='银行转账'"_s.arg(kind->headerTable));
        const QStringList printed = allTexts(print(*kind, billNo));
        for (const QString& whole : {name, u"银行转账"_s})
            EXPECT_TRUE(printed.contains(whole)) << printed.join(u'|').toStdString();
        if (kind == &BillKind::Sale)
            EXPECT_TRUE(printed.contains(u"020-87654321-8008"_s))
                << printed.join(u'|').toStdString();
    }
}

TEST_F(BillPrintingTest, PrintsTheScreensTotalsCaptionsFooterAndHeaderAsTheyStand) {
    addBill(BillKind::Sale, u"20240305000001"_s, 2);
    const QStringList printed = allTexts(print(BillKind::Sale, u"20240305000001"_s));
    for (const QString& text : {u"15"_s,
                                u"3750.5"_s,
                                AmountInWords(3750.5),
                                u"货号"_s,
                                u"品名"_s,
                                u"规格"_s,
                                u"型号"_s,
                                u"谢谢惠顾"_s,
                                u"V9"_s,
                                u"20240305000001"_s,
                                u"2024/3/5"_s,
                                u"人民币"_s,
                                u"华东五金公司"_s,
                                u"王小明"_s,
                                u"0571-8888"_s,
                                u"现金"_s,
                                u"加急"_s,
                                u"100"_s,
                                u"500ml"_s,
                                u"BW-5"_s})
        EXPECT_TRUE(printed.contains(text)) << text.toStdString();
    EXPECT_FALSE(printed.contains(u"751.5"_s)) << "the lines' sum is not the screen's total";
}

TEST_F(BillPrintingTest, ScreenDatasetsPrintForThatBillOnly) {
    addBill(BillKind::Purchase, u"20240305000001"_s, 2);
    m.InGoodsQ->setSql(u"select * from ingoods where 1=0"_s);
    m.InGoodsQ->open();
    m.InMainQ->setSql(u"select * from inmain where 1=0"_s);
    m.InMainQ->open();
    // A screen's own datasets with the fields of the shared ones.
    Dataset header{&t.engine(), u"header"_s};
    Dataset lines{&t.engine(), u"lines"_s};
    header.setFieldDefs(m.InMainQ->fieldDefs());
    lines.setFieldDefs(m.InGoodsQ->fieldDefs());
    header.setSql(u"select * from inmain"_s);
    lines.setSql(u"select * from ingoods"_s);
    header.open();
    lines.open();
    PrintBill(BillKind::Purchase, header, lines, texts);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(allTexts(shown[0]).contains(u"V9"_s));
    EXPECT_EQ(detailRows(shown[0]), 2);
    const PreparedReport later = layouts.QRin->prepare();
    EXPECT_EQ(detailRows(later), 0) << "the layout reads the data module's lines again";
    EXPECT_FALSE(allTexts(later).contains(u"V9"_s));
}

TEST_F(BillPrintingTest, ErrorBeforeThePreviewIsSwallowedAndShowsNothing) {
    addBill(BillKind::Sale, u"20240305000001"_s, 2);
    t.exec(u"drop table outtemp"_s);
    auto [header, lines] = openBill(BillKind::Sale, u"20240305000001"_s);
    EXPECT_NO_THROW(PrintBill(BillKind::Sale, *header, *lines, texts));
    EXPECT_TRUE(shown.empty());
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(BillPrintingTest, ExportedBillReadsBackWithTitleGoodsAndAmountInWords) {
    QTemporaryDir dir;
    report::setPresenter(
        [&](const PreparedReport& r) { report::exportPdf(r, dir.filePath(r.layout + u".pdf"_s)); });
    billSettings().lineCount = 10;
    addBill(BillKind::Sale, u"20240305000001"_s, 3);
    addBill(BillKind::Purchase, u"20240305000002"_s, 3);
    auto [outHeader, outLines] = openBill(BillKind::Sale, u"20240305000001"_s);
    PrintBill(BillKind::Sale, *outHeader, *outLines, texts);
    auto [inHeader, inLines] = openBill(BillKind::Purchase, u"20240305000002"_s);
    PrintBill(BillKind::Purchase, *inHeader, *inLines, texts);
    for (const auto& [file, title] :
         {std::pair{u"QRout.pdf"_s, u"禾岚商贸销售单"_s}, {u"QRin.pdf"_s, u"禾岚商贸进货单"_s}}) {
        const QString text = pdfText(dir.filePath(file));
        ASSERT_FALSE(text.isEmpty()) << "pdftotext read nothing from " << file.toStdString();
        EXPECT_TRUE(text.contains(title)) << text.toStdString();
        EXPECT_TRUE(text.contains(u"不锈钢保温杯"_s)) << text.toStdString();
        EXPECT_TRUE(text.contains(AmountInWords(3750.5))) << text.toStdString();
    }
}

}  // namespace
}  // namespace talvor
