#include <gtest/gtest.h>

#include <cmath>

#include "BillFixture.h"
#include "bills/core/StockLedger.h"

namespace talvor {
namespace {

using test::BillEntry;
using test::LedgerDatabase;
using test::Stock;

QString str(const char* text) { return QString::fromUtf8(text); }

struct Line {
    const char* code;
    double amount;
    double price = 0;
    const char* remark = "";
};

void fill(BillEntry& screen, const char* billNo, std::initializer_list<Line> lines) {
    screen.begin(str(billNo));
    for (const Line& l : lines) screen.addLine(str(l.code), l.amount, l.price, str(l.remark));
}

void expectSaved(BillEntry& screen) {
    const BillResult result = screen.save();
    ASSERT_TRUE(result.written()) << result.message.toStdString();
}

void saveBill(LedgerDatabase& db, const BillKind& kind, std::initializer_list<Line> lines) {
    BillEntry screen(*db.module, kind);
    fill(screen, "20240305100000", lines);
    expectSaved(screen);
}

struct LedgerCase {
    const char* name;
    std::vector<Stock> before;
    std::function<void(LedgerDatabase&)> run;
    std::vector<Stock> after;
    std::vector<const char*> noRow = {};
};

const double c1 = (5.0 * 10 + 9.0 * 2) / 12;  // 10 at 5 after receiving 2 at 9

const LedgerCase ledgerCases[] = {
    {"PurchaseAveragesTheCost",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"A", 5, 8}});
     },
     {{str("A"), 15, 6}}},
    {"SavingAnEditedPurchaseUnchangedMovesTheAverage",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::Purchase);
         fill(s, "B1", {{"A", 5, 8}});
         expectSaved(s);
         s.beginEdit();
         expectSaved(s);
     },
     {{str("A"), 15, (6.0 * 10 + 8.0 * 5) / 15}}},
    {"SaleOfACodeWithoutRowCreatesItNegativeWithoutCost",
     {},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Sale, {{"B", 3}});
     },
     {{str("B"), -3, std::nullopt}}},
    {"PurchaseOnStockSoldBeforeReceivedUsesTheFormula",
     {},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Sale, {{"B", 3}});
         saveBill(db, BillKind::Purchase, {{"B", 5, 10}});
     },
     {{str("B"), 2, 25}}},
    {"NegativeStockWithACostRecoversByTheFormula",
     {{str("A"), -3, 4}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"A", 5, 10}});
     },
     {{str("A"), 2, (4.0 * -3 + 10.0 * 5) / 2}}},
    {"SaleBeyondStockGoesNegativeAndKeepsTheCost",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Sale, {{"A", 15, 99}});
     },
     {{str("A"), -5, 5}}},
    {"LinesOfOneCodeApplyEachOnTheResultBefore",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"A", 5, 8}, {"A", 5, 10}});
     },
     {{str("A"), 20, 7}}},
    {"ReceiptLeavingStockBelowZeroTakesTheUnitPrice",
     {{str("A"), -5, 4}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"A", 3, 7}});
     },
     {{str("A"), -2, 7}}},
    {"ReceiptBringingStockToZeroTakesTheUnitPrice",
     {{str("A"), -5, 4}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"A", 5, 7}});
     },
     {{str("A"), 0, 7}}},
    {"NegativeReceiptBelowZeroTakesTheUnitPrice",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"A", -12, 6}, {"B", 20, 1}});
     },
     {{str("A"), -2, 6}, {str("B"), 20, 1}}},
    {"CustomerReturnReceivesAllButNotIntoStockLines",
     {{str("A"), 10, 5}, {str("B"), 10, 5}, {str("C"), 10, 5}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::CustomerReturn,
                  {{"A", 2, 9, "不入库"}, {"B", 2, 9, ""}, {"C", 2, 9, "入库"}});
     },
     {{str("A"), 10, 5}, {str("B"), 12, c1}, {str("C"), 12, c1}}},
    {"EditedCustomerReturnSkipsNotIntoStockLinesBothWays",
     {{str("A"), 10, 5}, {str("B"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::CustomerReturn);
         fill(s, "B1", {{"A", 2, 9, "不入库"}, {"B", 2, 9}});
         expectSaved(s);
         s.beginEdit();
         s.setLine(0, "sub_amou", 4.0);
         s.setLine(1, "sub_amou", 3.0);
         expectSaved(s);
     },
     {{str("A"), 10, 5}, {str("B"), 13, (c1 * 10 + 9.0 * 3) / 13}}},
    {"CustomerReturnLineNoLongerNotIntoStockIsReceivedOnEdit",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::CustomerReturn);
         fill(s, "B1", {{"A", 2, 9, "不入库"}});
         expectSaved(s);
         s.beginEdit();
         s.setLine(0, "remark", str("入库"));
         expectSaved(s);
     },
     {{str("A"), 12, c1}}},
    {"DeletedCustomerReturnSkipsNotIntoStockLines",
     {{str("A"), 10, 5}, {str("B"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::CustomerReturn);
         fill(s, "B1", {{"A", 2, 9, "不入库"}, {"B", 2, 9}});
         expectSaved(s);
         ASSERT_TRUE(s.remove().written());
     },
     {{str("A"), 10, 5}, {str("B"), 10, c1}}},
    {"ReturnToSupplierIssuesNotIntoStockLines",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::ReturnToSupplier, {{"A", 4, 1, "不入库"}});
     },
     {{str("A"), 6, 5}}},
    {"LineRemovedFromAnEditedPurchaseLeavesTheStock",
     {{str("A"), 10, 5}, {str("B"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::Purchase);
         fill(s, "B1", {{"A", 5, 8}, {"B", 2, 3}});
         expectSaved(s);
         s.beginEdit();
         s.removeLine(1);
         expectSaved(s);
     },
     {{str("A"), 15, (6.0 * 10 + 8.0 * 5) / 15}, {str("B"), 10, (5.0 * 10 + 3.0 * 2) / 12}}},
    {"LineRemovedFromAnEditedSaleReturnsToStock",
     {{str("A"), 10, 5}, {str("B"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::Sale);
         fill(s, "B1", {{"A", 3}, {"B", 2}});
         expectSaved(s);
         s.beginEdit();
         s.removeLine(1);
         expectSaved(s);
     },
     {{str("A"), 7, 5}, {str("B"), 10, 5}}},
    {"ChangedCodeMovesTheQuantityToTheNewCode",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::Purchase);
         fill(s, "B1", {{"A", 5, 8}});
         expectSaved(s);
         s.beginEdit();
         s.setLine(0, "gods_code", str("B"));
         expectSaved(s);
     },
     {{str("A"), 10, 6}, {str("B"), 5, 8}}},
    {"DeletedSaleReturnsItsQuantity",
     {{str("A"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::Sale);
         fill(s, "B1", {{"A", 3}, {"A", 4}});
         expectSaved(s);
         ASSERT_TRUE(s.remove().written());
     },
     {{str("A"), 10, 5}}},
    {"DeletionPassesOverACodeWithoutRow",
     {{str("A"), 10, 5}, {str("B"), 10, 5}},
     [](LedgerDatabase& db) {
         BillEntry s(*db.module, BillKind::Purchase);
         fill(s, "B1", {{"B", 5, 8}, {"A", 5, 8}});
         expectSaved(s);
         db.exec(QStringLiteral("delete from storemain where gods_code='B'"));
         ASSERT_TRUE(s.remove().written());
         EXPECT_EQ(db.count(QStringLiteral("inmain")), 0);
         EXPECT_EQ(db.count(QStringLiteral("ingoods")), 0);
     },
     {{str("A"), 10, 6}},
     {"B"}},
    {"LineWithoutCodeGetsARowWithAnEmptyCode",
     {},
     [](LedgerDatabase& db) {
         saveBill(db, BillKind::Purchase, {{"", 2, 3}});
     },
     {{str(""), 2, 3}}},
};

void PrintTo(const LedgerCase& c, std::ostream* os) { *os << c.name; }

class LedgerCaseTest : public ::testing::TestWithParam<LedgerCase> {};

TEST_P(LedgerCaseTest, LedgerEndsAsExpected) {
    const LedgerCase& c = GetParam();
    LedgerDatabase db;
    for (const Stock& s : c.before) db.setStock(s);
    c.run(db);
    for (const Stock& want : c.after) {
        const std::optional<Stock> got = db.stock(want.code);
        ASSERT_TRUE(got) << "no row for " << want.code.toStdString();
        EXPECT_DOUBLE_EQ(got->amount, want.amount) << want.code.toStdString();
        if (want.cost)
            EXPECT_DOUBLE_EQ(got->cost.value_or(NAN), *want.cost) << want.code.toStdString();
        else
            EXPECT_FALSE(got->cost) << want.code.toStdString();
    }
    for (const char* code : c.noRow) EXPECT_FALSE(db.stock(str(code))) << code;
    EXPECT_EQ(db.count(QStringLiteral("storemain")), int(c.after.size()))
        << "a row was added for another code";
}

INSTANTIATE_TEST_SUITE_P(Ledger, LedgerCaseTest, ::testing::ValuesIn(ledgerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LedgerTest, EmptyQuantityAndCostCountAsZero) {
    LedgerDatabase db;
    db.exec(QStringLiteral("insert into storemain (gods_code) values ('A')"));
    ReceiveIntoStock(db.engine(), str("A"), 4, 3);
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, 4);
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->cost.value(), 3);
    db.exec(QStringLiteral("insert into storemain (gods_code) values ('B')"));
    IssueFromStock(db.engine(), str("B"), 2);
    EXPECT_DOUBLE_EQ(db.stock(str("B"))->amount, -2);
}

TEST(LedgerTest, MonthIsTakenByAnyCountInItsCalendarMonth) {
    LedgerDatabase db;
    for (const char* date : {"2024-02-29", "2024-04-01 09:30:00", "2024-06-01"})
        db.exec(QStringLiteral("insert into storchek (gods_code,chek_date) values ('A',:d)"),
                {{QStringLiteral("d"), str(date)}});
    const std::pair<QDate, bool> cases[] = {
        {{2024, 2, 1}, true},   {{2024, 2, 29}, true}, {{2024, 1, 31}, false},
        {{2024, 3, 15}, false}, {{2024, 4, 30}, true}, {{2023, 2, 10}, false},
        {{2024, 5, 31}, false}, {{2024, 6, 30}, true},
    };
    for (const auto& [date, taken] : cases)
        EXPECT_EQ(IsMonthStockTaken(db.engine(), date), taken) << date.toString().toStdString();
}

TEST(LedgerTest, BillOfAStockTakenMonthSavesButIsNotDeleted) {
    LedgerDatabase db;
    db.setStock({str("A"), 10, 5});
    BillEntry s(*db.module, BillKind::Sale);
    fill(s, "B1", {{"A", 3}});
    expectSaved(s);
    db.exec(QStringLiteral("insert into storchek (gods_code,chek_date) values ('A','2024-03-31')"));

    s.beginEdit();
    s.setLine(0, "sub_amou", 4.0);
    expectSaved(s);
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, 6);

    bool asked = false;
    const BillResult result = s.remove([&] { return asked = true; });
    EXPECT_EQ(result.outcome, BillResult::Outcome::Refused);
    EXPECT_EQ(result.message, u"本单所在月份已经盘点，不可删除");
    EXPECT_FALSE(asked);
    EXPECT_EQ(db.count(QStringLiteral("outmain")), 1);
    EXPECT_EQ(db.count(QStringLiteral("outgoods")), 1);
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, 6);
}

TEST(LedgerTest, StockTakingSavedWhileTheDeletionIsAskedLocksTheBill) {
    LedgerDatabase db;
    BillEntry s(*db.module, BillKind::Purchase);
    fill(s, "B1", {{"A", 3, 2}});
    expectSaved(s);
    const BillResult result = s.remove([&] {
        db.exec(
            QStringLiteral("insert into storchek (gods_code,chek_date) values ('A','2024-03-01')"));
        return true;
    });
    EXPECT_EQ(result.outcome, BillResult::Outcome::Refused);
    EXPECT_EQ(db.count(QStringLiteral("ingoods")), 1);
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, 3);
}

TEST(LedgerTest, DeletionWritesNothingUnlessConfirmedOrNumbered) {
    LedgerDatabase db;
    BillEntry s(*db.module, BillKind::Purchase);
    fill(s, "B1", {{"A", 3, 2}});
    expectSaved(s);
    const auto before = db.dump();
    EXPECT_EQ(s.remove([] { return false; }).outcome, BillResult::Outcome::NothingDone);
    const auto never = [] {
        ADD_FAILURE() << "asked for a bill without number";
        return true;
    };
    s.header->setValue(QStringLiteral("bill_no"), str("  "));
    EXPECT_EQ(s.remove(never).outcome, BillResult::Outcome::NothingDone);
    s.header->cancel();
    EXPECT_EQ(db.dump(), before);
}

TEST(LedgerTest, TotalQuantityMustBeAboveZero) {
    LedgerDatabase db;
    db.setStock({str("A"), 10, 5});
    BillEntry s(*db.module, BillKind::Purchase);
    fill(s, "B1", {{"A", 2, 8}, {"A", -2, 8}});
    const auto before = db.dump();
    for (double total : {0.0, -1.0, double(NAN)}) {
        const BillResult result = s.save(total);
        EXPECT_EQ(result.outcome, BillResult::Outcome::Refused) << total;
        EXPECT_EQ(result.message, u"数量不能为0");
    }
    EXPECT_EQ(db.dump(), before);
    EXPECT_TRUE(s.header->hasPendingChanges());
    EXPECT_EQ(s.lines->recordCount(), 2);

    s.setLine(1, "sub_amou", -1.5);
    EXPECT_TRUE(s.save().written());
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, 10.5);
}

// Lines of a receiving kind go in, of an issuing kind go out, into the kind's own tables.
TEST(LedgerTest, EachKindWritesItsTablesAndType) {
    const std::tuple<const BillKind*, const char*, double> kinds[] = {
        {&BillKind::Purchase, "in", 12},
        {&BillKind::CustomerReturn, "retu", 12},
        {&BillKind::Sale, "out", 8},
        {&BillKind::ReturnToSupplier, "retu", 8},
    };
    for (const auto& [kind, type, amount] : kinds) {
        SCOPED_TRACE(type);
        LedgerDatabase db;
        db.setStock({str("A"), 10, 5});
        BillEntry s(*db.module, *kind);
        fill(s, "B1", {{"A", 2, 5}});
        expectSaved(s);
        const QString where = QStringLiteral("bill_no='B1' and bill_type='%1'").arg(str(type));
        EXPECT_EQ(db.count(kind->headerTable, where), 1);
        EXPECT_EQ(db.count(kind->receiving ? QStringLiteral("outmain") : QStringLiteral("inmain")),
                  0);
        EXPECT_EQ(db.count(kind->lineTable, QStringLiteral("bill_no='B1'")), 1);
        EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, amount);
    }
}

TEST(LedgerTest, SavedHeaderHoldsTheDateOnlyAndTheRoundedTotal) {
    LedgerDatabase db;
    BillEntry s(*db.module, BillKind::Purchase);
    s.begin(str("B1"), QDateTime(QDate(2024, 3, 5), QTime(15, 30, 12)));
    s.addLine(str("A"), 1, 12.3456);
    s.addLine(str("B"), 0.5, 0.01);
    s.lines->append();  // the grid's empty line past the last one
    expectSaved(s);
    EXPECT_EQ(db.scalar(QStringLiteral("select bill_date from inmain")).toString(), u"2024-03-05");
    EXPECT_DOUBLE_EQ(db.scalar(QStringLiteral("select shou_tota from inmain")).toDouble(), 12.35);
    EXPECT_EQ(db.count(QStringLiteral("ingoods"), QStringLiteral("bill_no='B1'")), 2);
    EXPECT_EQ(db.count(QStringLiteral("ingoods")), 2);
    EXPECT_FALSE(s.header->hasPendingChanges());
    EXPECT_FALSE(s.lines->hasPendingChanges());
}

TEST(BillNumberTest, NextFreeSecondOfTheSameHeaderTable) {
    LedgerDatabase db;
    const QDateTime moment(QDate(2024, 3, 5), QTime(23, 59, 58));
    EXPECT_EQ(NewBillNo(db.engine(), BillKind::Purchase, moment), u"20240305235958");
    for (const char* taken : {"20240305235958", "20240305235959"})
        db.exec(QStringLiteral("insert into inmain (bill_no,bill_type) values (:b,'retu')"),
                {{QStringLiteral("b"), str(taken)}});
    EXPECT_EQ(NewBillNo(db.engine(), BillKind::Purchase, moment), u"20240306000000");
    EXPECT_EQ(NewBillNo(db.engine(), BillKind::Sale, moment), u"20240305235958");
}

TEST(BillNumberTest, NewBillWhoseNumberWasTakenMeanwhileGetsTheNextFreeOne) {
    LedgerDatabase db;
    BillEntry s(*db.module, BillKind::Purchase);
    fill(s, "20240305100000", {{"A", 2, 8}, {"B", 1, 3}});
    // Another copy saves a bill begun in the same second.
    db.exec(
        QStringLiteral("insert into inmain (bill_no,bill_type) values ('20240305100000','in')"));
    db.exec(
        QStringLiteral("insert into ingoods (bill_no,gods_code,sub_amou) values "
                       "('20240305100000','X',1)"));
    expectSaved(s);
    EXPECT_EQ(s.billNo(), u"20240305100001");
    EXPECT_EQ(db.count(QStringLiteral("ingoods"), QStringLiteral("bill_no='20240305100001'")), 2);
    EXPECT_EQ(db.count(QStringLiteral("ingoods"), QStringLiteral("bill_no='20240305100000'")), 1);
    EXPECT_EQ(s.lines->recordCount(), 2);
    EXPECT_DOUBLE_EQ(db.stock(str("A"))->amount, 2);
}

}  // namespace
}  // namespace talvor
