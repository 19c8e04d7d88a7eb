#include <gtest/gtest.h>

#include "StatisticsFixture.h"
#include "datamodel/Dataset.h"
#include "statistics/core/StatisticsQueries.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

const QDate kFrom(2024, 3, 1);
const QDate kTo(2024, 3, 31);

// One month of outgoing bills: a sales bill where the scanner read one line twice, a second
// sale, a return to a supplier, a sale before the month, and a sale to a company and of goods
// that have no master rows.
class StatisticsQueriesTest : public ::testing::Test {
  protected:
    test::TestDatabase db;
    test::BillRows t{db};
    TFrmDataMod& m = *db.module;

    StatisticsQueriesTest() {
        t.bill(u"outmain"_s, u"S1"_s, QDate(2024, 3, 5), u"C1"_s, u"out"_s);
        t.line(u"outgoods"_s, u"S1"_s, u"G1"_s, 10, 2);
        t.line(u"outgoods"_s, u"S1"_s, u"G1"_s, 10, 2);
        t.line(u"outgoods"_s, u"S1"_s, u"G2"_s, 40, 1);
        t.bill(u"outmain"_s, u"S2"_s, QDate(2024, 3, 6), u"C2"_s, u"out"_s);
        t.line(u"outgoods"_s, u"S2"_s, u"G1"_s, 40, 5);
        t.bill(u"outmain"_s, u"R1"_s, QDate(2024, 3, 6), u"C1"_s, u"retu"_s);
        t.line(u"outgoods"_s, u"R1"_s, u"G2"_s, 12, 3);
        t.bill(u"outmain"_s, u"S0"_s, QDate(2024, 2, 28), u"C1"_s, u"out"_s);
        t.line(u"outgoods"_s, u"S0"_s, u"G3"_s, 99, 1);
        t.bill(u"outmain"_s, u"X1"_s, QDate(2024, 3, 31), u"C3"_s, u"out"_s);
        t.line(u"outgoods"_s, u"X1"_s, u"G9"_s, 5, 10);
    }

    // What the screens' total boxes add up: the quantity and line amount of every row.
    std::pair<double, double> totals(const Dataset& d) {
        double quantity = 0, amount = 0;
        for (int row = 0; row < d.recordCount(); ++row) {
            quantity += d.value(row, u"sub_amou"_s).toDouble();
            amount += d.value(row, u"sub_tota"_s).toDouble();
        }
        return {quantity, amount};
    }

    QStringList column(const Dataset& d, const QString& field) {
        QStringList values;
        for (int row = 0; row < d.recordCount(); ++row) values << d.value(row, field).toString();
        return values;
    }
};

struct LineCase {
    const char* name;
    LineCriteria criteria;
    QStringList bills;
    double quantity;
    double amount;
};

TEST_F(StatisticsQueriesTest, ListsEveryLineOfTheChosenBillsAndTotalsThem) {
    const std::vector<LineCase> cases{
        {"all kinds, sorted by company, bill, goods, price, quantity",
         {kFrom, kTo, BillChoice::All, {}, {}},
         {u"R1"_s, u"S1"_s, u"S1"_s, u"S1"_s, u"S2"_s, u"X1"_s},
         23,
         366},
        {"sales ('Out' finds the stored 'out'), the twice-read line counted twice",
         {kFrom, kTo, BillChoice::Trade, {}, {}},
         {u"S1"_s, u"S1"_s, u"S1"_s, u"S2"_s, u"X1"_s},
         20,
         330},
        {"returns to suppliers", {kFrom, kTo, BillChoice::Returns, {}, {}}, {u"R1"_s}, 3, 36},
        {"one goods item",
         {kFrom, kTo, BillChoice::All, u"G1"_s, {}},
         {u"S1"_s, u"S1"_s, u"S2"_s},
         9,
         240},
        {"one company",
         {kFrom, kTo, BillChoice::All, {}, u"C1"_s},
         {u"R1"_s, u"S1"_s, u"S1"_s, u"S1"_s},
         8,
         116},
        {"a goods name without a code narrows to nothing",
         {kFrom, kTo, BillChoice::All, QString(), {}},
         {},
         0,
         0},
        {"both end days included",
         {QDate(2024, 3, 31), kTo, BillChoice::All, {}, {}},
         {u"X1"_s},
         10,
         50},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        QueryLines(*m.OutListQ, kOutgoing, c.criteria);
        EXPECT_EQ(column(*m.OutListQ, u"bill_no"_s), c.bills);
        const auto [quantity, amount] = totals(*m.OutListQ);
        EXPECT_DOUBLE_EQ(quantity, c.quantity);
        EXPECT_DOUBLE_EQ(amount, c.amount);
    }
}

TEST_F(StatisticsQueriesTest, ListedRowsCarryTheirLookedUpNamesAndLineAmount) {
    QueryLines(*m.OutListQ, kOutgoing, {kFrom, kTo, BillChoice::Trade, u"G1"_s, {}});
    ASSERT_EQ(m.OutListQ->recordCount(), 3);
    m.OutListQ->setCurrentRow(2);
    EXPECT_EQ(m.OutListQ->text(u"comp_name"_s), u"城西百货"_s);
    EXPECT_EQ(m.OutListQ->text(u"gods_name"_s), u"保温杯"_s);
    EXPECT_DOUBLE_EQ(m.OutListQ->number(u"sub_tota"_s), 200);
    EXPECT_EQ(m.OutListQ->value(u"bill_date"_s).toDate(), QDate(2024, 3, 6));
}

TEST_F(StatisticsQueriesTest, PurchaseListingReadsTheIncomingBillsByTheirOwnKinds) {
    t.bill(u"inmain"_s, u"I1"_s, QDate(2024, 3, 2), u"C1"_s, u"in"_s);
    t.line(u"ingoods"_s, u"I1"_s, u"G1"_s, 5, 4);
    t.bill(u"inmain"_s, u"I2"_s, QDate(2024, 3, 3), u"C2"_s, u"retu"_s);
    t.line(u"ingoods"_s, u"I2"_s, u"G2"_s, 7, 1);
    const std::vector<LineCase> cases{
        {"purchases and customer returns",
         {kFrom, kTo, BillChoice::All, {}, {}},
         {u"I1"_s, u"I2"_s},
         5,
         27},
        {"purchases", {kFrom, kTo, BillChoice::Trade, {}, {}}, {u"I1"_s}, 4, 20},
        {"customer returns", {kFrom, kTo, BillChoice::Returns, {}, {}}, {u"I2"_s}, 1, 7},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        QueryLines(*m.InListQ, kIncoming, c.criteria);
        EXPECT_EQ(column(*m.InListQ, u"bill_no"_s), c.bills);
        EXPECT_DOUBLE_EQ(totals(*m.InListQ).second, c.amount);
    }
}

struct RankCase {
    const char* name;
    RankKey key;
    RankCriteria criteria;
    QStringList codes;
    QStringList quantities;
    QStringList amounts;
};

TEST_F(StatisticsQueriesTest, RanksLargestFirstByTheChosenMeasure) {
    const std::vector<RankCase> cases{
        {"goods by amount, returns counted like sales",
         RankKey::Goods,
         {kFrom, kTo, BillChoice::All, RankBy::Amount},
         {u"G1"_s, u"G2"_s, u"G9"_s},
         {u"9"_s, u"4"_s, u"10"_s},
         {u"240"_s, u"76"_s, u"50"_s}},
        {"goods by quantity: many cheap units above few dear ones",
         RankKey::Goods,
         {kFrom, kTo, BillChoice::All, RankBy::Quantity},
         {u"G9"_s, u"G1"_s, u"G2"_s},
         {u"10"_s, u"9"_s, u"4"_s},
         {u"50"_s, u"240"_s, u"76"_s}},
        {"goods of returns only",
         RankKey::Goods,
         {kFrom, kTo, BillChoice::Returns, RankBy::Amount},
         {u"G2"_s},
         {u"3"_s},
         {u"36"_s}},
        {"companies by amount",
         RankKey::Company,
         {kFrom, kTo, BillChoice::All, RankBy::Amount},
         {u"C2"_s, u"C1"_s, u"C3"_s},
         {u"5"_s, u"8"_s, u"10"_s},
         {u"200"_s, u"116"_s, u"50"_s}},
        {"companies of sales by quantity, equal ones by code",
         RankKey::Company,
         {kFrom, kTo, BillChoice::Trade, RankBy::Quantity},
         {u"C3"_s, u"C1"_s, u"C2"_s},
         {u"10"_s, u"5"_s, u"5"_s},
         {u"50"_s, u"80"_s, u"200"_s}},
        {"a range without bills",
         RankKey::Goods,
         {QDate(2023, 1, 1), QDate(2023, 1, 31), BillChoice::All, RankBy::Amount},
         {},
         {},
         {}},
    };
    for (const RankCase& c : cases) {
        SCOPED_TRACE(c.name);
        Dataset& ranking = c.key == RankKey::Goods ? *m.OutSortQ : *m.OutSortCQ;
        QueryRanking(ranking, c.key, c.criteria);
        EXPECT_EQ(column(ranking, c.key == RankKey::Goods ? u"gods_code"_s : u"comp_code"_s),
                  c.codes);
        EXPECT_EQ(column(ranking, u"sub_amou"_s), c.quantities);
        EXPECT_EQ(column(ranking, u"sub_tota"_s), c.amounts);
    }
}

TEST_F(StatisticsQueriesTest, AveragePriceIsThePlainAverageOfTheLinePrices) {
    QueryRanking(*m.OutSortQ, RankKey::Goods, {kFrom, kTo, BillChoice::All, RankBy::Amount});
    ASSERT_TRUE(m.OutSortQ->locate(u"gods_code"_s, u"G1"_s));
    // Lines at 10, 10 and 40: 20, not the 240 / 9 that amount over quantity would give.
    EXPECT_DOUBLE_EQ(m.OutSortQ->number(u"unit_pric"_s), 20);
}

TEST_F(StatisticsQueriesTest, CodesWithoutMasterRowsAreRankedWithEmptyNames) {
    QueryRanking(*m.OutSortCQ, RankKey::Company, {kFrom, kTo, BillChoice::All, RankBy::Amount});
    ASSERT_TRUE(m.OutSortCQ->locate(u"comp_code"_s, u"C3"_s));
    EXPECT_EQ(m.OutSortCQ->text(u"comp_name"_s), QString());
    EXPECT_EQ(m.OutSortCQ->text(u"head_name"_s), QString());
    ASSERT_TRUE(m.OutSortCQ->locate(u"comp_code"_s, u"C1"_s));
    EXPECT_EQ(m.OutSortCQ->text(u"head_name"_s), u"王经理"_s);

    QueryRanking(*m.OutSortQ, RankKey::Goods, {kFrom, kTo, BillChoice::All, RankBy::Amount});
    ASSERT_TRUE(m.OutSortQ->locate(u"gods_code"_s, u"G9"_s));
    EXPECT_EQ(m.OutSortQ->text(u"gods_name"_s), QString());
}

}  // namespace
}  // namespace talvor
