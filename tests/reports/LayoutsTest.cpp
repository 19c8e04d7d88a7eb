#include <gtest/gtest.h>

#include <algorithm>

#include "reports/core/ReportLayout.h"
#include "support/TestDatabase.h"

namespace talvor::report {
namespace {

using namespace Qt::StringLiterals;
using test::TestDatabase;
using K = BandKind;

struct Expected {
    const char16_t* name;
    const char16_t* className;
    const char16_t* dataset;
    std::vector<K> bands;
    const char16_t* title;
    const char16_t* headings;  // the heading row, left to right, joined by "|"
    const char16_t* fields;    // the sub-detail cells, left to right
    const char16_t* runtime;   // every run-time label a printing screen writes
};

const char16_t* const kBillHeadings = u"编码|产品名称|规格|型号|单位|单价|数量|小计|备注";
const char16_t* const kBillFields =
    u"gods_code|gods_name|gods_spec|gods_type|gods_unit|unit_pric|sub_amou|sub_tota|remark";
const char16_t* const kBillRuntime =
    u"QRLabel1|QRLab_code|QRLab_name|QRLab_spec|QRLab_type|QRLabel29|QRLabel30|QRLabel31|QRLabel11";
const char16_t* const kGoodsFields = u"gods_code|gods_name|gods_spec|gods_type|gods_unit|";
const char16_t* const kGoodsRuntime = u"QRLab_code|QRLab_name|QRLab_spec|QRLab_type";
const char16_t* const kSettledFields =
    u"bill_no|bill_date|oper_name|comp_code|comp_name|shou_tota|fact_tota|margin";
const char16_t* const kSettlementRuntime =
    u"khbm|khmc|lsdh|rqfw1|rqfw2|ysjea|ysjeb|qkje|sqjy|skdh|skri|skje|zhje|kdr|skr|fhr|pzh|bz";
const char16_t* const kStatementRuntime = u"khbm|khmc|rqfw1|rqfw2|ysjea|ysjeb|qkje";
const char16_t* const kLineFields =
    u"bill_no|comp_name|gods_code|gods_name|gods_spec|gods_unit|unit_pric|sub_amou|sub_tota";
const char16_t* const kLineHeadings =
    u"流水号|客户|QRLabel9|QRLabel10|QRLabel11|单位|单价|数量|小计";

const std::vector<K> kList{K::PageHeader, K::SubDetail, K::Summary, K::PageFooter};

const Expected kLayouts[] = {
    {u"QRoutlist", u"TQRoutlist", u"OutListQ", kList, u"出货统计", kLineHeadings, kLineFields,
     u"gods_code|gods_name|datea|dateb|comp_no|comp_name|QRLabel5|QRLabel9|QRLabel10|QRLabel11|"
     u"hjsl|hjje"},
    {u"Qgath",
     u"TQgath",
     u"GathQ",
     {K::Title, K::SubDetail},
     u"收款单",
     u"流水单号|开单日期|操作人|公司编码|公司名|应收金额|已收金 额|欠款金额",
     kSettledFields,
     kSettlementRuntime},
    {u"Qincost",
     u"TQincost",
     u"PayQ",
     {K::Title, K::SubDetail},
     u"进货对帐单",
     u"流水单号|开单日期|操作人|公司编码|公司名|应付金额|已付金额|欠付金额",
     kSettledFields,
     kStatementRuntime},
    {u"QRiss",
     u"TQRiss",
     u"MiosQ",
     {K::Title, K::SubDetail},
     u"进销存表",
     u"商品编码|商品名称|规格|单位|上月结存|本月进货|本月出货|本月结存",
     u"gods_code|gods_name|gods_spec|gods_unit|last_amou|in_amou|out_amou|now_amou",
     u""},
    {u"QRinstat", u"TQRinstat", u"InListQ", kList, u"进  货  统  计", kLineHeadings, kLineFields,
     u"gods_code|gods_name|datea|dateb|comp_no|comp_name|list_type|QRLabel9|QRLabel10|QRLabel11|"
     u"hjsl|hjje"},
    {u"Qoutcost",
     u"TQoutcost",
     u"GathQ",
     {K::Title, K::SubDetail},
     u"出货对帐单",
     u"流水单号|开单日期|操作人|公司编码|公司名|应收金额|已收金额|欠收金额",
     kSettledFields,
     kStatementRuntime},
    {u"Rptstore",
     u"TRptstore",
     u"StoreQ",
     {K::Title, K::SubDetail, K::PageFooter},
     u"库存报表",
     u"商品编码|商品名称|规格|型号|单位|数量|成本|小计",
     u"gods_code|gods_name|gods_spec|gods_type|gods_unit|gods_amou|cost_pric|cost_tota",
     u"zsl|zcb|QRLab_code|QRLab_name|QRLab_spec|QRLab_type"},
    {u"QRpd",
     u"TQRpd",
     u"ChektempQ",
     {K::Title, K::SubDetail},
     u"盘 点 表",
     u"商品编码|商品名称|规格|型号|单位|库存数量|实盘数量|盈亏数量",
     u"gods_code|gods_name|gods_spec|gods_type|gods_unit|gods_amou|chek_amou|lost_amou",
     kGoodsRuntime},
    {u"Qpay",
     u"TQpay",
     u"PayQ",
     {K::Title, K::SubDetail},
     u"付款单",
     u"流水单号|开单日期|操作人|公司编码|公司名|应付金额|已付金额|欠付金额",
     kSettledFields,
     kSettlementRuntime},
    {u"QRcheck",
     u"TQRcheck",
     u"ChektempQ",
     {K::Title, K::SubDetail},
     u"库存调整表",
     u"商品编码|商品名称|规格|型号|单位|库存数量|调整数量",
     u"gods_code|gods_name|gods_spec|gods_type|gods_unit|gods_amou|chek_amou",
     kGoodsRuntime},
    {u"QRout",
     u"TQRout",
     u"OutTempQ",
     {K::PageHeader, K::SubDetail, K::Summary},
     u"QRLabel1",
     kBillHeadings,
     kBillFields,
     kBillRuntime},
    {u"QRin", u"TQRin", u"InGoodsQ", kList, u"QRLabel1", kBillHeadings, kBillFields, kBillRuntime},
    {u"Qalarm",
     u"TQalarm",
     u"AlarmQ",
     {K::Title, K::SubDetail, K::PageFooter},
     u"库存报警",
     u"商品编码|商品名称|规格|型号|单位|数量|库存上限|库存下限",
     u"gods_code|gods_name|gods_spec|gods_type|gods_unit|gods_amou|max_amou|min_amou",
     u"zsl|QRLab_code|QRLab_name|QRLab_spec|QRLab_type"},
    {u"QRoutSortG", u"TQRoutSortG", u"OutSortQ", kList, u"出货排行-按货品",
     u"商品编码|商品名称|规格|单位|单价|数量|小计",
     u"gods_code|gods_name|gods_spec|gods_unit|unit_pric|sub_amou|sub_tota",
     u"sort_type|out_type|datea|dateb|QRLabel9|QRLabel10|QRLabel11|hjsl|hjje"},
    {u"QRoutSortC", u"TQRoutSortC", u"OutSortCQ", kList, u"出货排行-按客户",
     u"公司编码|公司名称|负责人|数量|金额", u"comp_code|comp_name|head_name|sub_amou|sub_tota",
     u"sort_type|out_type|datea|dateb|hjsl|hjje"},
};

// The statements the printing screens open their datasets with, enough to bind every field.
const std::pair<const char16_t*, const char16_t*> kStatements[] = {
    {u"InGoodsQ", u"select * from ingoods"},
    {u"InMainQ", u"select * from inmain"},
    {u"OutTempQ", u"select * from outtemp"},
    {u"OutMainQ", u"select * from outmain"},
    {u"StoreQ", u"select * from storemain"},
    {u"AlarmQ", u"select * from storemain"},
    {u"ChektempQ", u"select * from chektemp"},
    {u"MiosQ", u"select * from mios"},
    {u"GathQ", u"select bill_no,bill_date,oper_name,comp_code,shou_tota,fact_tota from outmain"},
    {u"PayQ", u"select bill_no,bill_date,oper_name,comp_code,shou_tota,fact_tota from inmain"},
    {u"InListQ",
     u"select comp_code,b.bill_no,gods_code,unit_pric,sub_amou,a.bill_date from inmain a "
     u"inner join ingoods b on a.bill_no=b.bill_no"},
    {u"OutListQ",
     u"select comp_code,b.bill_no,gods_code,unit_pric,sub_amou,a.bill_date from outmain a "
     u"inner join outgoods b on a.bill_no=b.bill_no"},
    {u"OutSortQ",
     u"select b.gods_code,sum(b.sub_amou) as sub_amou,avg(unit_pric) as unit_pric,"
     u"sum(b.unit_pric*b.sub_amou) as sub_tota from outmain a inner join outgoods b "
     u"on a.bill_no=b.bill_no group by gods_code"},
    {u"OutSortCQ",
     u"select comp_code,sum(b.sub_amou) as sub_amou,sum(b.unit_pric*b.sub_amou) as "
     u"sub_tota from outmain a inner join outgoods b on a.bill_no=b.bill_no "
     u"group by comp_code"},
};

QString joined(const std::vector<QString>& parts) {
    return QStringList(parts.begin(), parts.end()).join(u'|');
}

std::vector<const Control*> leftToRight(const Band& band, ControlKind kind) {
    std::vector<const Control*> out;
    for (const Control& c : band.controls)
        if (c.kind == kind) out.push_back(&c);
    std::stable_sort(out.begin(), out.end(), [](const Control* a, const Control* b) {
        return a->rectMm.left() < b->rectMm.left();
    });
    return out;
}

// The page's texts in reading order: line by line, each from left to right.
QString readingOrder(const PreparedPage& page) {
    std::vector<PreparedText> texts = page.texts;
    std::stable_sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) {
        if (std::abs(a.rectMm.top() - b.rectMm.top()) > 0.01)
            return a.rectMm.top() < b.rectMm.top();
        return a.rectMm.left() < b.rectMm.left();
    });
    QStringList list;
    for (const PreparedText& t : texts) list.append(t.text);
    return list.join(u'|');
}

class LayoutsTest : public ::testing::Test {
  protected:
    TestDatabase t;
    TFrmDataMod& m = *t.module;
    ReportLayouts layouts{m};

    void openDatasets() {
        for (const auto& [name, sql] : kStatements) {
            Dataset* d = m.dataset(QString::fromUtf16(name));
            d->setSql(QString::fromUtf16(sql));
            d->open();
        }
    }
};

TEST_F(LayoutsTest, FifteenLayoutsAreCreatedInStartUpOrderAndReachableByName) {
    ASSERT_EQ(layouts.all().size(), std::size(kLayouts));
    for (size_t i = 0; i < std::size(kLayouts); ++i) {
        const QString name = QString::fromUtf16(kLayouts[i].name);
        EXPECT_EQ(layouts.all()[i]->name(), name);
        EXPECT_EQ(layouts.layout(name), layouts.all()[i].get());
    }
    EXPECT_EQ(layouts.QRin->name(), u"QRin"_s);
    EXPECT_EQ(layouts.QRout->name(), u"QRout"_s);
    EXPECT_EQ(layouts.QRoutSortC->name(), u"QRoutSortC"_s);
    EXPECT_EQ(Reports(), &layouts);
}

TEST_F(LayoutsTest, EachLayoutHasItsClassDatasetBandsAndColumnsLeftToRight) {
    for (const Expected& e : kLayouts) {
        const LayoutDefinition& d = layouts.layout(QString::fromUtf16(e.name))->definition();
        SCOPED_TRACE(d.instanceName.toStdString());
        EXPECT_EQ(d.className, QString::fromUtf16(e.className));
        EXPECT_EQ(d.dataset, QString::fromUtf16(e.dataset));
        std::vector<K> kinds;
        for (const Band& b : d.bands) kinds.push_back(b.kind);
        EXPECT_EQ(kinds, e.bands);
        std::vector<QString> fields;
        for (const Control* c : leftToRight(*d.find(K::SubDetail), ControlKind::DataField))
            fields.push_back(c->field);
        EXPECT_EQ(joined(fields), QString::fromUtf16(e.fields));
        std::vector<QString> runtime;
        for (const Band& b : d.bands)
            for (const Control& c : b.controls)
                if (c.kind == ControlKind::RuntimeLabel) runtime.push_back(c.name);
        std::sort(runtime.begin(), runtime.end());
        QStringList expected = QString::fromUtf16(e.runtime).split(u'|', Qt::SkipEmptyParts);
        expected.sort();
        EXPECT_EQ(joined(runtime), expected.join(u'|'));
    }
}

TEST_F(LayoutsTest, EachLayoutPrintsAgainstItsDatasetWithTitleAndHeadings) {
    openDatasets();
    for (const Expected& e : kLayouts) {
        ReportLayout& layout = *layouts.layout(QString::fromUtf16(e.name));
        SCOPED_TRACE(layout.name().toStdString());
        const PreparedReport r = layout.prepare();
        ASSERT_EQ(r.pageCount(), 1);
        const QString text = readingOrder(r.pages[0]);
        EXPECT_TRUE(text.startsWith(QString::fromUtf16(e.title) + u'|')) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf16(e.headings))) << text.toStdString();
    }
}

TEST_F(LayoutsTest, CaptionsStandBeforeTheirValues) {
    openDatasets();
    const std::pair<ReportLayout*, const char16_t*> cases[] = {
        {layouts.Qgath,
         u"收款单|客户编码|khbm|客户名称|khmc|流水单号|lsdh|日期范围|rqfw1|rqfw2|应收金额|ysjea|"
         u"已收金额|ysjeb|欠款金额|qkje|上期节余|sqjy|收款单号|skdh|收款日期|skri|收款金额|skje|"
         u"结余金额|zhje|开单人|kdr|收款人|skr|复核人|fhr|凭证号|pzh|备注：|bz|"},
        {layouts.Qpay,
         u"付款单|客户编码|khbm|客户名称|khmc|流水单号|lsdh|日期范围|rqfw1|rqfw2|应付金额|ysjea|"
         u"已付金额|ysjeb|欠款金额|qkje|上期节余|sqjy|付款单号|skdh|付款日期|skri|付款金额|skje|"
         u"结余金额|zhje|开单人|kdr|付款人|skr|复核人|fhr|凭证号|pzh|备注：|bz|"},
        {layouts.Qincost,
         u"进货对帐单|客户编码|khbm|客户名称|khmc|日期范围|rqfw1|rqfw2|"
         u"应付金额|ysjea|已付金额|ysjeb|欠款金额|qkje|"},
        {layouts.Qoutcost,
         u"出货对帐单|客户编码|khbm|客户名称|khmc|日期范围|rqfw1|rqfw2|"
         u"应收金额|ysjea|已收金额|ysjeb|欠收金额|qkje|"},
        {layouts.Rptstore, u"库存报表|总数量|zsl|总成本|zcb|"},
        {layouts.Qalarm, u"库存报警|总数量|zsl|"},
        {layouts.QRoutlist,
         u"出货统计|商品编码|gods_code|商品名称|gods_name|日期范围|datea|dateb|"
         u"客户编号|comp_no|客户|comp_name|QRLabel5|"},
        {layouts.QRinstat,
         u"进  货  统  计|商品编码|gods_code|商品名称|gods_name|日期范围|datea|"
         u"dateb|客户编码|comp_no|客户|comp_name|list_type|"},
        {layouts.QRoutSortG,
         u"出货排行-按货品|排序方式：|sort_type|out_type|日期范围|datea|dateb|"},
        {layouts.QRoutSortC,
         u"出货排行-按客户|排序方式：|sort_type|out_type|日期范围|datea|dateb|"},
    };
    for (const auto& [layout, start] : cases) {
        const QString text = readingOrder(layout->prepare().pages[0]);
        EXPECT_TRUE(text.startsWith(QString::fromUtf16(start))) << text.toStdString();
    }
    for (ReportLayout* list : {layouts.QRoutlist, layouts.QRinstat, layouts.QRoutSortG})
        EXPECT_TRUE(
            readingOrder(list->prepare().pages[0]).endsWith(u"合计数量|hjsl|合计金额|hjje"));
}

TEST_F(LayoutsTest, PaperOfEachLayoutAndItsSwitchesKeptBetweenPreviews) {
    EXPECT_EQ(layouts.QRout->page(), PageSetup::custom(218, 140));
    EXPECT_EQ(layouts.Qgath->page().paper, Paper::PrinterDefault);
    EXPECT_EQ(layouts.Qgath->page().sizeMm, QSizeF(210, 297));
    for (const auto& l : layouts.all()) {
        if (l.get() != layouts.QRout && l.get() != layouts.Qgath) {
            EXPECT_EQ(l->page(), PageSetup::a4()) << l->name().toStdString();
        }
    }
    layouts.QRout->setPaperCustom(210, 140);
    EXPECT_EQ(layouts.QRout->prepare().page, PageSetup::custom(210, 140));
    layouts.QRout->setPaperCustom(0, 0);
    EXPECT_EQ(layouts.QRout->page(), PageSetup::custom(210, 140)) << "no room inside the margins";
    layouts.QRout->setPaperA4();
    EXPECT_EQ(layouts.QRout->page(), PageSetup::a4());
}

TEST_F(LayoutsTest, CaptionsAreKeptAndOnlyRuntimeLabelsTakeThem) {
    EXPECT_EQ(layouts.Rptstore->caption(u"QRLab_code"_s), u"商品编码"_s);
    layouts.Rptstore->setCaption(u"QRLab_code"_s, u"货号"_s);
    EXPECT_EQ(layouts.Rptstore->caption(u"QRLab_code"_s), u"货号"_s);
    EXPECT_THROW(layouts.Rptstore->setCaption(u"hjsl"_s, u"1"_s), ReportError);
    EXPECT_THROW(layouts.QRin->centre(u"nothing"_s), ReportError);
}

// The heading row closes its band and the ruled summary lines open theirs, so the grid runs on
// without a gap from the headings through the rows to the totals.
TEST_F(LayoutsTest, TablesRunOnWithoutGapsAndFitWithinA4Margins) {
    for (const auto& l : layouts.all()) {
        SCOPED_TRACE(l->name().toStdString());
        for (const Band& b : l->definition().bands) {
            double top = b.heightMm, bottom = 0;
            for (const Control& c : b.controls) {
                EXPECT_LE(c.rectMm.right(), 190 + 1e-6);
                EXPECT_LE(c.rectMm.bottom(), b.heightMm + 1e-6);
                if (c.kind != ControlKind::Shape) continue;
                top = std::min(top, c.rectMm.top());
                bottom = std::max(bottom, c.rectMm.bottom());
            }
            if (bottom == 0) continue;
            if (b.kind == K::Summary) {
                EXPECT_NEAR(top, 0, 1e-6);
            }
            if (b.kind == K::Title || b.kind == K::PageHeader) {
                EXPECT_NEAR(bottom, b.heightMm, 1e-6);
            }
        }
    }
}

TEST_F(LayoutsTest, PreviewHandsThePreparedPagesToThePresenter) {
    openDatasets();
    std::optional<PreparedReport> shown;
    const Presenter old = setPresenter([&](const PreparedReport& r) { shown = r; });
    layouts.QRiss->preview();
    setPresenter(old);
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, layouts.QRiss->prepare());
}

}  // namespace
}  // namespace talvor::report
