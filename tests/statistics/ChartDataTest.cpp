#include <gtest/gtest.h>

#include "StatisticsFixture.h"
#include "datamodel/Dataset.h"
#include "statistics/core/ChartData.h"
#include "statistics/core/ChartPage.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class ChartDataTest : public ::testing::Test {
  protected:
    test::TestDatabase db;
    test::BillRows t{db};
    TFrmDataMod& m = *db.module;

    void sale(const QString& billNo, const QDate& date, const QString& goods, double price,
              double quantity) {
        t.sale(billNo, date, u"C1"_s, goods, price, quantity);
    }

    std::vector<ChartBar> amounts(const QDate& from, const QDate& to) {
        QueryLines(*m.OutListQ, kOutgoing, {from, to, BillChoice::All, {}, {}});
        return AmountChart(*m.OutListQ, from, to).bars;
    }
};

TEST_F(ChartDataTest, RankingChartShowsTheFirstTwentyRowsByTheRankedMeasure) {
    for (int i = 1; i <= 25; ++i)
        sale(u"B%1"_s.arg(i), QDate(2024, 3, 1), u"K%1"_s.arg(i, 2, 10, QChar(u'0')), i, 30 - i);
    sale(u"B26"_s, QDate(2024, 3, 1), u"G1"_s, 1000, 1);
    for (const RankBy by : {RankBy::Amount, RankBy::Quantity}) {
        QueryRanking(*m.OutSortQ, RankKey::Goods,
                     {QDate(2024, 3, 1), QDate(2024, 3, 1), BillChoice::All, by});
        const ChartData chart = RankingChart(*m.OutSortQ, RankKey::Goods, by);
        ASSERT_EQ(chart.bars.size(), size_t(kRankingBars));
        for (int row = 0; row < kRankingBars; ++row) {
            const QString field = by == RankBy::Amount ? u"sub_tota"_s : u"sub_amou"_s;
            EXPECT_DOUBLE_EQ(chart.bars[size_t(row)].value,
                             m.OutSortQ->value(row, field).toDouble());
        }
    }
    // Named by the goods name where there is one, by the code where there is none.
    EXPECT_EQ(RankingChart(*m.OutSortQ, RankKey::Goods, RankBy::Quantity).bars[0].label, u"K01"_s);
    QueryRanking(*m.OutSortQ, RankKey::Goods,
                 {QDate(2024, 3, 1), QDate(2024, 3, 1), BillChoice::All, RankBy::Amount});
    EXPECT_EQ(RankingChart(*m.OutSortQ, RankKey::Goods, RankBy::Amount).bars[0].label, u"保温杯"_s);

    // A name two goods share is told apart by the second one's code.
    db.exec(u"update goods set gods_name='保温杯' where gods_code='G2'"_s);
    m.GoodsQ->reopen();
    sale(u"B27"_s, QDate(2024, 3, 1), u"G2"_s, 900, 1);
    QueryRanking(*m.OutSortQ, RankKey::Goods,
                 {QDate(2024, 3, 1), QDate(2024, 3, 1), BillChoice::All, RankBy::Amount});
    const ChartData shared = RankingChart(*m.OutSortQ, RankKey::Goods, RankBy::Amount);
    EXPECT_EQ(shared.bars[0].label, u"保温杯"_s);
    EXPECT_EQ(shared.bars[1].label, u"保温杯（G2）"_s);
}

TEST_F(ChartDataTest, ListingChartAddsUpDaysUpToSixtyTwoDaysAndMonthsBeyond) {
    sale(u"A"_s, QDate(2024, 3, 1), u"G1"_s, 10, 2);
    sale(u"B"_s, QDate(2024, 3, 1), u"G2"_s, 5, 1);
    sale(u"C"_s, QDate(2024, 3, 3), u"G1"_s, 7, 3);
    sale(u"D"_s, QDate(2024, 5, 1), u"G1"_s, 1, 1);

    const std::vector<ChartBar> days = amounts(QDate(2024, 3, 1), QDate(2024, 5, 1));
    ASSERT_EQ(days.size(), size_t(kDailyChartDays));
    EXPECT_EQ(days[0], (ChartBar{u"3-1"_s, 25}));
    EXPECT_EQ(days[1], (ChartBar{u"3-2"_s, 0}));
    EXPECT_EQ(days[2], (ChartBar{u"3-3"_s, 21}));
    EXPECT_EQ(days.back(), (ChartBar{u"5-1"_s, 1}));

    const std::vector<ChartBar> months = amounts(QDate(2024, 3, 1), QDate(2024, 5, 2));
    EXPECT_EQ(months,
              (std::vector<ChartBar>{{u"2024-3"_s, 46}, {u"2024-4"_s, 0}, {u"2024-5"_s, 1}}));

    EXPECT_TRUE(amounts(QDate(2024, 5, 2), QDate(2024, 3, 1)).empty());
}

TEST(ChartPageTest, PrintsBarsInProportionOnPagesOfTheirOwn) {
    report::PreparedReport printed;
    printed.pages.resize(2);
    ChartData chart{u"前20名"_s, u"金额"_s, {{u"甲"_s, 100}, {u"乙"_s, 25}, {u"丙"_s, 0}}};
    AppendChartPages(printed, u"出货排行-按货品"_s, chart);
    ASSERT_EQ(printed.pageCount(), 3);
    const report::PreparedPage& page = printed.pages[2];
    ASSERT_EQ(page.shapes.size(), size_t(2));  // a bar of 0 draws nothing
    EXPECT_DOUBLE_EQ(page.shapes[1].rectMm.width() * 4, page.shapes[0].rectMm.width());
    EXPECT_EQ(page.textList(), (QStringList{u"出货排行-按货品  前20名（金额）"_s, u"甲"_s, u"100"_s,
                                            u"乙"_s, u"25"_s, u"丙"_s, u"0"_s}));

    chart.bars.assign(100, {u"日"_s, 1});
    report::PreparedReport longChart;
    AppendChartPages(longChart, u"出货统计"_s, chart);
    ASSERT_GT(longChart.pageCount(), 1);
    int bars = 0;
    for (const report::PreparedPage& p : longChart.pages) {
        EXPECT_EQ(p.texts[0].text, u"出货统计  前20名（金额）"_s);
        bars += int(p.shapes.size());
    }
    EXPECT_EQ(bars, 100);
}

}  // namespace
}  // namespace talvor
