#include <gtest/gtest.h>

#include "reports/core/Paginator.h"
#include "support/TestDatabase.h"

namespace talvor::report {
namespace {

using namespace Qt::StringLiterals;
using test::TestDatabase;

// A page of 100 mm inside its margins: 378 pixels. With a 40-pixel title, 20-pixel headers,
// a 10-pixel footer and 30-pixel rows, 25 rows take three pages.
LayoutDefinition fiveBandLayout() {
    return {.className = u"TTest"_s,
            .instanceName = u"Test"_s,
            .dataset = u"Rows"_s,
            .page = PageSetup::custom(100, 120),
            .bands = {band(BandKind::Title, 40, {label(u"标题"_s, {0, 0, 200, 20})}),
                      band(BandKind::PageHeader, 20, {runtimeLabel(u"heading"_s, {0, 0, 200, 20})}),
                      band(BandKind::SubDetail, 30, {dataField(u"gods_code"_s, {0, 0, 100, 20})}),
                      band(BandKind::Summary, 30, {label(u"合计"_s, {0, 0, 100, 20})}),
                      band(BandKind::PageFooter, 10)}};
}

class PaginatorTest : public ::testing::Test {
  protected:
    TestDatabase t;
    Dataset rows{&t.engine(), u"Rows"_s};
    LayoutState state{PageSetup::custom(100, 120), {}, {}};

    void addRows(int n) {
        for (int i = 0; i < n; ++i)
            t.exec(u"insert into storemain (gods_code,gods_amou,cost_pric) values (:c,:a,1)"_s,
                   {{u"c"_s, u"G%1"_s.arg(i, 3, 10, QChar(u'0'))}, {u"a"_s, i * 1.25}});
    }
    void openRows(const QString& sql = u"select * from storemain order by gods_code"_s) {
        rows.setSql(sql);
        rows.open();
    }
    PreparedReport run(const LayoutDefinition& layout) {
        return paginate(layout, state, [this](const QString& name) -> const Dataset* {
            return name == u"Rows"_s ? &rows : nullptr;
        });
    }
};

std::vector<BandKind> kindsOn(const PreparedPage& page) {
    std::vector<BandKind> kinds;
    for (const PlacedBand& b : page.bands)
        if (kinds.empty() || kinds.back() != b.kind || b.kind != BandKind::SubDetail)
            kinds.push_back(b.kind);
    return kinds;
}

std::vector<int> recordsOf(const PreparedReport& r) {
    std::vector<int> records;
    for (const PreparedPage& p : r.pages)
        for (const PlacedBand& b : p.bands)
            if (b.kind == BandKind::SubDetail) records.push_back(b.record);
    return records;
}

using K = BandKind;

TEST_F(PaginatorTest, ThreePagesCarryHeaderAndFooterEachTitleAndSummaryOnce) {
    addRows(25);
    openRows();
    const PreparedReport r = run(fiveBandLayout());
    ASSERT_EQ(r.pageCount(), 3);
    using V = std::vector<K>;
    EXPECT_EQ(kindsOn(r.pages[0]), (V{K::PageHeader, K::Title, K::SubDetail, K::PageFooter}));
    EXPECT_EQ(kindsOn(r.pages[1]), (V{K::PageHeader, K::SubDetail, K::PageFooter}));
    EXPECT_EQ(kindsOn(r.pages[2]), (V{K::PageHeader, K::SubDetail, K::Summary, K::PageFooter}));
    std::vector<int> expected(25);
    for (int i = 0; i < 25; ++i) expected[size_t(i)] = i;
    EXPECT_EQ(recordsOf(r), expected);
}

TEST_F(PaginatorTest, BodyBandsStayAboveTheFooterAndFootersSitAtThePageFoot) {
    addRows(25);
    openRows();
    const PreparedReport r = run(fiveBandLayout());
    const double footerTop = 110 - 10 * kMmPerPx;
    for (const PreparedPage& p : r.pages) {
        double y = 10;
        for (const PlacedBand& b : p.bands) {
            if (b.kind == K::PageFooter) {
                EXPECT_NEAR(b.topMm, footerTop, 1e-9);
                continue;
            }
            EXPECT_NEAR(b.topMm, y, 1e-9) << "bands follow each other without gaps";
            y += (b.kind == K::Title ? 40 : b.kind == K::PageHeader ? 20 : 30) * kMmPerPx;
            EXPECT_LE(y, footerTop + 1e-9);
        }
    }
}

TEST_F(PaginatorTest, PixelPositionsBecomeMillimetresInsideTheMargins) {
    addRows(1);
    openRows();
    LayoutDefinition layout = fiveBandLayout();
    layout.bands[2].controls = {dataField(u"gods_code"_s, {96, 0, 48, 20})};
    const PreparedReport r = run(layout);
    const PreparedText& code = r.pages[0].texts.at(2);
    EXPECT_EQ(code.text, u"G000"_s);
    EXPECT_NEAR(code.rectMm.left(), 10 + 25.4, 1e-9);
    EXPECT_NEAR(code.rectMm.width(), 12.7, 1e-9);
    EXPECT_NEAR(code.rectMm.top(), 10 + 60 * kMmPerPx, 1e-9);
}

TEST_F(PaginatorTest, HeaderAndFooterOptionsDecideTheFirstAndLastPage) {
    struct Case {
        bool firstHeader, lastFooter;
        std::vector<K> first, last;
    };
    const Case cases[] = {
        {true,
         true,
         {K::PageHeader, K::Title, K::SubDetail, K::PageFooter},
         {K::PageHeader, K::SubDetail, K::Summary, K::PageFooter}},
        {false,
         true,
         {K::Title, K::SubDetail, K::PageFooter},
         {K::PageHeader, K::SubDetail, K::Summary, K::PageFooter}},
        {true,
         false,
         {K::PageHeader, K::Title, K::SubDetail, K::PageFooter},
         {K::PageHeader, K::SubDetail, K::Summary}},
    };
    addRows(25);
    openRows();
    for (const Case& c : cases) {
        LayoutDefinition layout = fiveBandLayout();
        layout.firstPageHeader = c.firstHeader;
        layout.lastPageFooter = c.lastFooter;
        const PreparedReport r = run(layout);
        EXPECT_EQ(kindsOn(r.pages.front()), c.first) << c.firstHeader << c.lastFooter;
        EXPECT_EQ(kindsOn(r.pages.back()), c.last) << c.firstHeader << c.lastFooter;
    }
}

TEST_F(PaginatorTest, EmptyOrClosedDatasetGivesOnePageWithTitlesAndHeadings) {
    for (bool open : {true, false}) {
        rows.close();
        if (open) openRows();
        const PreparedReport r = run(fiveBandLayout());
        ASSERT_EQ(r.pageCount(), 1);
        EXPECT_EQ(kindsOn(r.pages[0]),
                  (std::vector<K>{K::PageHeader, K::Title, K::Summary, K::PageFooter}));
        EXPECT_EQ(r.pages[0].textList(), (QStringList{u"heading"_s, u"标题"_s, u"合计"_s}));
    }
}

TEST_F(PaginatorTest, RuntimeLabelPrintsItsPlaceholderUntilSetThenItsCaptionAndAlignment) {
    openRows();
    EXPECT_EQ(run(fiveBandLayout()).pages[0].texts[0].text, u"heading"_s);
    state.captions.insert(u"heading"_s, u"禾岚商贸"_s);
    state.alignments.insert(u"heading"_s, Align::Centre);
    const PreparedText& t = run(fiveBandLayout()).pages[0].texts[0];
    EXPECT_EQ(t.text, u"禾岚商贸"_s);
    EXPECT_EQ(t.align, Align::Centre);
}

TEST_F(PaginatorTest, WordsAreElidedToTheirCellButFiguresAreNarrowedWhole) {
    t.exec(u"insert into storemain (gods_code,gods_amou,cost_pric) values (:c,12345678.25,1)"_s,
           {{u"c"_s, u"很长很长很长的商品编码"_s}});
    openRows();
    LayoutDefinition layout = fiveBandLayout();
    layout.bands[2].controls = {dataField(u"gods_code"_s, {0, 0, 60, 20}),
                                dataField(u"gods_amou"_s, {60, 0, 30, 20})};
    const PreparedReport r = run(layout);
    const PreparedText& name = r.pages[0].texts.at(2);
    const PreparedText& amount = r.pages[0].texts.at(3);
    EXPECT_TRUE(name.text.endsWith(QChar(0x2026))) << name.text.toStdString();
    EXPECT_LT(name.text.size(), 11);
    EXPECT_EQ(name.stretch, 1);
    EXPECT_EQ(amount.text, u"12345678.25"_s);
    EXPECT_LT(amount.stretch, 1);
    EXPECT_GT(amount.stretch, 0.3);
}

TEST_F(PaginatorTest, DataFieldsPrintTheirDisplayFormat) {
    t.exec(
        u"insert into storemain (gods_code,gods_amou,cost_pric) values "
        u"('A',2.5,3),('B',1.234,0),('C',-7,null)"_s);
    openRows();
    LayoutDefinition layout = fiveBandLayout();
    layout.bands[2].controls = {dataField(u"gods_amou"_s, {0, 0, 50, 20}),
                                dataField(u"cost_pric"_s, {50, 0, 50, 20})};
    const PreparedReport r = run(layout);
    EXPECT_EQ(r.pages[0].textList(), (QStringList{u"heading"_s, u"标题"_s, u"2.5"_s, u"3"_s,
                                                  u"1.23"_s, u"0"_s, u"-7"_s, u"合计"_s}));
}

TEST_F(PaginatorTest, BandTallerThanThePagePrintsOnePerPageInsteadOfLooping) {
    addRows(3);
    openRows();
    LayoutDefinition layout = fiveBandLayout();
    layout.bands[2].heightMm = 150;
    const PreparedReport r = run(layout);
    ASSERT_EQ(r.pageCount(), 4);
    EXPECT_EQ(recordsOf(r), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(kindsOn(r.pages[3]), (std::vector<K>{K::PageHeader, K::Summary, K::PageFooter}));
}

TEST_F(PaginatorTest, UnknownFieldOrDatasetIsAReportError) {
    openRows();
    LayoutDefinition layout = fiveBandLayout();
    layout.bands[2].controls = {dataField(u"no_such"_s, {0, 0, 50, 20})};
    EXPECT_THROW(run(layout), ReportError);
    layout = fiveBandLayout();
    layout.dataset = u"Missing"_s;
    EXPECT_THROW(run(layout), ReportError);
}

TEST_F(PaginatorTest, OtherDatasetsPrintTheirCurrentRow) {
    addRows(3);
    openRows();
    Dataset header{&t.engine(), u"Header"_s};
    header.setSql(u"select * from storemain order by gods_code desc"_s);
    header.open();
    header.next();
    LayoutDefinition layout = fiveBandLayout();
    layout.bands[1].controls = {dataField(u"Header"_s, u"gods_code"_s, {0, 0, 100, 20})};
    const PreparedReport r = paginate(layout, state, [&](const QString& name) -> const Dataset* {
        return name == u"Rows"_s ? &rows : &header;
    });
    EXPECT_EQ(r.pages[0].texts[0].text, u"G001"_s);
}

}  // namespace
}  // namespace talvor::report
