#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "accounts/core/Settlement.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

long long cents(double amount) { return std::llround(amount * 100); }

// Every receipt and payment moves money between a company's balance and its bills' settled
// amounts and never makes or loses any: for each company, its starting balance plus all it paid
// in equals the rise of fact_tota over its bills plus its final balance, to the cent.
class MoneyConservationTest : public ::testing::Test {
  protected:
    test::TestDatabase t;
    std::mt19937 random{20240305};
    const QStringList companies = {u"C1"_s, u"C2"_s, u"C3"_s, u"C4"_s, u"C5"_s};
    const QDate start{2024, 1, 1};

    double amount(int maxCents) {
        return double(std::uniform_int_distribution<int>(1, maxCents)(random)) / 100;
    }
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

    void seed() {
        for (const QString& code : companies)
            t.exec(u"insert into company (comp_code,comp_name,rest_tota) values (:c,:c,:r)"_s,
                   {{u"c"_s, code}, {u"r"_s, pick(3) == 0 ? amount(50000) : 0.0}});
        int number = 0;
        for (const char* table : {"outmain", "inmain"})
            for (int i = 0; i < 150; ++i) {
                const double due = amount(200000);
                // Most bills are open, some paid in part, a few over-settled.
                const int kind = pick(10);
                const double received = kind < 6 ? 0 : kind < 9 ? due / 3 : due + amount(5000);
                t.exec(
                    u"insert into %1 (bill_no,bill_date,comp_code,shou_tota,fact_tota) "
                    "values (:b,:d,:c,:s,:f)"_s.arg(QLatin1String(table)),
                    {{u"b"_s, u"2024%1"_s.arg(++number, 10, 10, QChar(u'0'))},
                     {u"d"_s, start.addDays(pick(60))},
                     {u"c"_s, companies[pick(int(companies.size()))]},
                     {u"s"_s, due},
                     {u"f"_s, std::round(received * 100) / 100}});
            }
    }

    // Per company: the balance and the sum of fact_tota over its bills of both tables.
    std::map<QString, std::pair<long long, long long>> books() {
        std::map<QString, std::pair<long long, long long>> b;
        for (const QString& code : companies) {
            const QVariantMap p{{u"c"_s, code}};
            long long settled = 0;
            for (const char* table : {"outmain", "inmain"})
                settled += cents(t.scalar(u"select sum(fact_tota) from %1 where comp_code=:c"_s.arg(
                                              QLatin1String(table)),
                                          p)
                                     .toDouble());
            b[code] = {
                cents(
                    t.scalar(u"select rest_tota from company where comp_code=:c"_s, p).toDouble()),
                settled};
        }
        return b;
    }
};

TEST_F(MoneyConservationTest, AThousandReceiptsAndPaymentsNeitherMakeNorLoseMoney) {
    seed();
    const auto before = books();
    std::map<QString, long long> paidIn;
    for (int i = 0; i < 1000; ++i) {
        const bool receipt = pick(2) == 0;
        const SettlementSide& side =
            receipt ? SettlementSide::Receipts() : SettlementSide::Payments();
        const QString code = companies[pick(int(companies.size()))];
        const QDate from = start.addDays(pick(60));
        const Settlement s = Settle(receipt ? *t.module->GathQ : *t.module->PayQ, side,
                                    {.compCode = code,
                                     .compName = code,
                                     .billNo = {},
                                     .from = from,
                                     .to = from.addDays(pick(30))});
        const QString typed = QString::number(amount(300000), 'f', 2);
        const ReceiptResult result = SaveReceipt(t.engine(), side, s,
                                                 {.date = start,
                                                  .number = QString::number(i),
                                                  .amount = typed,
                                                  .issuer = {},
                                                  .collector = {},
                                                  .checker = {},
                                                  .voucher = {},
                                                  .remark = {}});
        ASSERT_EQ(result.outcome, ReceiptResult::Outcome::Written);
        paidIn[code] += cents(typed.toDouble());
    }
    const auto after = books();
    for (const QString& code : companies) {
        SCOPED_TRACE(code.toStdString());
        const auto [balanceBefore, settledBefore] = before.at(code);
        const auto [balanceAfter, settledAfter] = after.at(code);
        EXPECT_EQ(balanceBefore + paidIn[code], settledAfter - settledBefore + balanceAfter);
    }
    // A bill paid in full reads as settled: no remainders of a cent's fraction.
    EXPECT_EQ(t.scalar(u"select count(*) from outmain where abs(shou_tota-fact_tota)>0 "
                       "and abs(shou_tota-fact_tota)<0.005"_s)
                  .toInt(),
              0);
}

}  // namespace
}  // namespace talvor
