#include <gtest/gtest.h>

#include "AccountFixture.h"
#include "accounts/core/Settlement.h"
#include "bills/BillFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

const QDate kDay(2024, 3, 5);

// ---- the allocation walk over a list of bills ----

struct AllocationCase {
    const char* name;
    std::vector<ListedBill> bills;
    double money;
    std::vector<double> received;  // every bill's received amount afterwards
    double leftover;
};

class AllocationTest : public ::testing::TestWithParam<AllocationCase> {};

TEST_P(AllocationTest, RaisesBillsInListOrder) {
    const AllocationCase& c = GetParam();
    const Allocation a = AllocateMoney(c.bills, c.money);
    std::vector<double> received;
    for (const ListedBill& bill : c.bills) received.push_back(bill.received);
    for (const Allocation::Change& change : a.changes) {
        EXPECT_NE(received[size_t(change.bill)], change.received) << "only changes are listed";
        received[size_t(change.bill)] = change.received;
    }
    EXPECT_EQ(received, c.received);
    EXPECT_DOUBLE_EQ(a.leftover, c.leftover);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AllocationTest,
    ::testing::Values(
        // bills A, B, C; previous balance 30 and receipt 100 make 130
        AllocationCase{"worked_example",
                       {{u"A"_s, 100, 0}, {u"B"_s, 50, 20}, {u"C"_s, 80, 80}},
                       130,
                       {100, 50, 80},
                       0},
        AllocationCase{"exact_amount", {{u"A"_s, 10, 0}, {u"B"_s, 5, 0}}, 15, {10, 5}, 0},
        AllocationCase{"surplus", {{u"A"_s, 10, 0}, {u"B"_s, 5, 1}}, 20, {10, 5}, 6},
        AllocationCase{"short_payment",
                       {{u"A"_s, 10, 0}, {u"B"_s, 10, 0}, {u"C"_s, 10, 2}},
                       14,
                       {10, 4, 2},
                       0},
        AllocationCase{
            "over_received_bill_first", {{u"A"_s, 10, 25}, {u"B"_s, 30, 0}}, 5, {10, 20}, 0},
        // the excess still pays A, which stands before it; nothing vanishes
        AllocationCase{"over_received_bill_after_the_money_ran_out",
                       {{u"A"_s, 100, 0}, {u"B"_s, 10, 60}},
                       30,
                       {80, 10},
                       0},
        AllocationCase{"excess_beyond_every_bill_is_left_over",
                       {{u"A"_s, 10, 0}, {u"B"_s, 10, 30}},
                       0,
                       {10, 10},
                       10},
        AllocationCase{"cents_add_up_without_remainders",
                       {{u"A"_s, 0.1, 0}, {u"B"_s, 0.2, 0}, {u"C"_s, 0.3, 0.1}},
                       0.5,
                       {0.1, 0.2, 0.3},
                       0},
        AllocationCase{"a_paid_bill_takes_its_due_amount_exactly",
                       {{u"A"_s, 10.004, 0}},
                       10.01,
                       {10.004},
                       0.01}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- saving a receipt or payment against a settlement ----

class SettlementSaveTest : public ::testing::Test {
  protected:
    test::LedgerDatabase t;

    void bill(const char* table, const QString& billNo, const QString& company, double due,
              double received) {
        test::insertBill(t, table, billNo, company, due, received, kDay);
    }
    void company(const QString& code, const QString& name, const QVariant& balance) {
        t.exec(u"insert into company (comp_code,comp_name,rest_tota) values (:c,:n,:r)"_s,
               {{u"c"_s, code}, {u"n"_s, name}, {u"r"_s, balance}});
    }
    double received(const char* table, const QString& billNo) {
        return t
            .scalar(u"select fact_tota from %1 where bill_no=:b"_s.arg(QLatin1String(table)),
                    {{u"b"_s, billNo}})
            .toDouble();
    }
    QVariant balance(const QString& code) {
        return t.scalar(u"select rest_tota from company where comp_code=:c"_s, {{u"c"_s, code}});
    }

    Settlement settle(const SettlementSide& side, const QString& code, const QString& billNo = {}) {
        Dataset* list = &side == &SettlementSide::Receipts() ? t.module->GathQ : t.module->PayQ;
        return Settle(*list, side,
                      {.compCode = code,
                       .compName = {},
                       .billNo = billNo,
                       .from = kDay.addDays(-10),
                       .to = kDay});
    }
    ReceiptResult save(const SettlementSide& side, const Settlement& s, const QString& amount) {
        return SaveReceipt(t.engine(), side, s,
                           {.date = kDay,
                            .number = u"R1"_s,
                            .amount = amount,
                            .issuer = u"张三"_s,
                            .collector = u"李四"_s,
                            .checker = u"王五"_s,
                            .voucher = u"V9"_s,
                            .remark = u"备"_s});
    }
    QVariantMap receiptRow(const char* table) {
        const db::ResultSet r = t.engine().query(u"select * from "_s + QLatin1String(table));
        EXPECT_EQ(r.rows.size(), 1u);
        QVariantMap row;
        if (r.rows.empty()) return row;
        for (size_t i = 0; i < r.columns.size(); ++i) row[r.columns[i].name] = r.rows[0][i];
        return row;
    }
};

TEST_F(SettlementSaveTest, TheWorkedExampleSpendsThePreviousBalance) {
    company(u"C1"_s, u"宏达"_s, 30.0);
    bill("outmain", u"20240301000001"_s, u"C1"_s, 100, 0);
    bill("outmain", u"20240301000002"_s, u"C1"_s, 50, 20);
    bill("outmain", u"20240301000003"_s, u"C1"_s, 80, 80);
    bill("outmain", u"20240301000004"_s, u"C2"_s, 70, 0);  // another customer's
    const Settlement s = settle(SettlementSide::Receipts(), u"C1"_s);
    EXPECT_EQ(s.bills.size(), 3u);
    EXPECT_EQ(QStringList({s.due, s.received, s.shortfall, s.previousBalance}),
              QStringList({u"230"_s, u"100"_s, u"130"_s, u"30"_s}));
    EXPECT_EQ(NewBalance(s, u"100"_s), u"0"_s);

    ASSERT_EQ(save(SettlementSide::Receipts(), s, u"100"_s).outcome,
              ReceiptResult::Outcome::Written);
    EXPECT_EQ(received("outmain", u"20240301000001"_s), 100);
    EXPECT_EQ(received("outmain", u"20240301000002"_s), 50);
    EXPECT_EQ(received("outmain", u"20240301000003"_s), 80);
    EXPECT_EQ(received("outmain", u"20240301000004"_s), 0);
    const QVariantMap row = receiptRow("gathmain");
    EXPECT_EQ(row[u"comp_code"_s], u"C1"_s);
    EXPECT_EQ(row[u"shou_tota"_s].toDouble(), 230);
    EXPECT_EQ(row[u"fact_tota"_s].toDouble(), 100);
    EXPECT_EQ(row[u"lack_tota"_s].toDouble(), 130);
    EXPECT_EQ(row[u"last_tota"_s].toDouble(), 30);
    EXPECT_EQ(row[u"fei_tota"_s].toDouble(), 100);
    EXPECT_EQ(row[u"rest_tota"_s].toDouble(), 0);
    EXPECT_EQ(row[u"fei_name"_s], u"李四"_s);
    EXPECT_EQ(row[u"start_date"_s].toDate(), kDay.addDays(-10));
    // The balance this receipt used is spent: the next settlement must not offer it again.
    EXPECT_EQ(balance(u"C1"_s).toDouble(), 0);
    EXPECT_EQ(settle(SettlementSide::Receipts(), u"C1"_s).previousBalance, u"0"_s);
}

TEST_F(SettlementSaveTest, ABalanceIsKeptOrLeftAsTheReceiptLeavesIt) {
    struct Case {
        const char* name;
        QVariant stored;
        QString amount;
        double due;
        QVariant afterwards;
    };
    const Case cases[] = {
        {"surplus becomes the balance", QVariant(), u"150"_s, 100, 50.0},
        {"a short receipt writes nothing", 0.0, u"40"_s, 100, 0.0},
        {"a negative balance is not applied and stays", -5.0, u"40"_s, 100, -5.0},
        {"an unused balance stays", QVariant(), u"100"_s, 100, QVariant()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.exec(u"delete from company"_s);
        t.exec(u"delete from outmain"_s);
        company(u"C1"_s, u"宏达"_s, c.stored);
        bill("outmain", u"20240301000001"_s, u"C1"_s, c.due, 0);
        const Settlement s = settle(SettlementSide::Receipts(), u"C1"_s);
        ASSERT_EQ(save(SettlementSide::Receipts(), s, c.amount).outcome,
                  ReceiptResult::Outcome::Written);
        EXPECT_EQ(balance(u"C1"_s), c.afterwards);
    }
}

TEST_F(SettlementSaveTest, ReceiptsAndPaymentsShareTheCompanysBalance) {
    company(u"C1"_s, u"宏达"_s, QVariant());
    bill("inmain", u"20240301000001"_s, u"C1"_s, 60, 0);
    bill("outmain", u"20240301000002"_s, u"C1"_s, 100, 0);
    const Settlement payment = settle(SettlementSide::Payments(), u"C1"_s);
    ASSERT_EQ(save(SettlementSide::Payments(), payment, u"80"_s).outcome,
              ReceiptResult::Outcome::Written);
    EXPECT_EQ(receiptRow("paymain")[u"rest_tota"_s].toDouble(), 20);

    const Settlement receipt = settle(SettlementSide::Receipts(), u"C1"_s);
    EXPECT_EQ(receipt.previousBalance, u"20"_s);
    ASSERT_EQ(save(SettlementSide::Receipts(), receipt, u"50"_s).outcome,
              ReceiptResult::Outcome::Written);
    EXPECT_EQ(received("outmain", u"20240301000002"_s), 70);
    EXPECT_EQ(balance(u"C1"_s).toDouble(), 0);
}

TEST_F(SettlementSaveTest, SettlingByBillNumberReadsNoBalanceAndNamesNoCompany) {
    company(u"C1"_s, u"宏达"_s, 500.0);
    bill("inmain", u"20240301000001"_s, u"C1"_s, 60, 0);
    bill("inmain", u"20240301000002"_s, u"C1"_s, 40, 0);
    const Settlement s = settle(SettlementSide::Payments(), {}, u"20240301000002"_s);
    ASSERT_EQ(s.bills.size(), 1u);
    EXPECT_EQ(s.previousBalance, u"0"_s);
    ASSERT_EQ(save(SettlementSide::Payments(), s, u"50"_s).outcome,
              ReceiptResult::Outcome::Written);
    EXPECT_EQ(received("inmain", u"20240301000002"_s), 40);
    const QVariantMap row = receiptRow("paymain");
    EXPECT_EQ(row[u"comp_code"_s].toString(), QString());
    EXPECT_EQ(row[u"comp_name"_s].toString(), QString());
    EXPECT_EQ(row[u"bill_no"_s], u"20240301000002"_s);
    EXPECT_EQ(balance(u"C1"_s).toDouble(), 500);
}

TEST_F(SettlementSaveTest, AnAmountThatIsNoPositiveNumberSavesNothing) {
    company(u"C1"_s, u"宏达"_s, QVariant());
    bill("outmain", u"20240301000001"_s, u"C1"_s, 60, 0);
    const Settlement s = settle(SettlementSide::Receipts(), u"C1"_s);
    const auto before = t.dump();
    for (const QString& amount : {u"0"_s, u"-5"_s, u""_s, u"abc"_s})
        EXPECT_EQ(save(SettlementSide::Receipts(), s, amount).outcome,
                  ReceiptResult::Outcome::NothingDone)
            << amount.toStdString();
    EXPECT_EQ(t.dump(), before);
}

// Another copy saved a receipt, or changed the balance, after this settlement was made.
TEST_F(SettlementSaveTest, ASettlementAnotherCopyOvertookWritesNothing) {
    const QString changes[] = {
        u"update outmain set fact_tota=10 where bill_no='20240301000002'"_s,
        u"update company set rest_tota=7 where comp_code='C1'"_s,
        u"delete from outmain where bill_no='20240301000001'"_s,
    };
    for (const QString& change : changes) {
        SCOPED_TRACE(change.toStdString());
        t.exec(u"delete from company"_s);
        t.exec(u"delete from outmain"_s);
        company(u"C1"_s, u"宏达"_s, 5.0);
        bill("outmain", u"20240301000001"_s, u"C1"_s, 60, 0);
        bill("outmain", u"20240301000002"_s, u"C1"_s, 40, 0);
        const Settlement s = settle(SettlementSide::Receipts(), u"C1"_s);
        t.exec(change);
        const auto before = t.dump();
        const ReceiptResult result = save(SettlementSide::Receipts(), s, u"100"_s);
        EXPECT_EQ(result.outcome, ReceiptResult::Outcome::Stale);
        EXPECT_EQ(result.message, u"账单已被其他用户修改，请重新结算。"_s);
        EXPECT_EQ(t.dump(), before);
    }
}

TEST_F(SettlementSaveTest, AFailedSaveLeavesEveryBillAsItWas) {
    company(u"C1"_s, u"宏达"_s, QVariant());
    bill("outmain", u"20240301000001"_s, u"C1"_s, 60, 0);
    const Settlement s = settle(SettlementSide::Receipts(), u"C1"_s);
    t.exec(u"drop table gathmain"_s);
    try {
        save(SettlementSide::Receipts(), s, u"100"_s);
        FAIL() << "the receipt row cannot be written";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(u"保存失败："_s)) << e.message().toStdString();
    }
    EXPECT_EQ(received("outmain", u"20240301000001"_s), 0);
    EXPECT_TRUE(balance(u"C1"_s).isNull());
}

}  // namespace
}  // namespace talvor
