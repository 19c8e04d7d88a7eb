#include <QDateEdit>
#include <random>

#include "bills/core/StockLedger.h"
#include "warehouse/TFrmMios.h"
#include "warehouse/WarehouseFixture.h"
#include "warehouse/core/MonthlyMovement.h"
#include "warehouse/core/StockTaking.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class MovementTest : public test::WarehouseFixture {
  protected:
    MovementTest() {
        goods(u"A1"_s, u"螺丝"_s);
        goods(u"A2"_s, u"螺母"_s);
        goods(u"A3"_s, u"垫片"_s);
    }
    void count(const QString& code, QVariant counted, const QDate& day) {
        t.exec(
            u"insert into storchek (gods_code,gods_amou,chek_amou,chek_date) "
            "values (:c,0,:a,:d)"_s,
            {{u"c"_s, code}, {u"a"_s, counted}, {u"d"_s, day}});
    }
    // A bill of one side: inmain/ingoods or outmain/outgoods.
    void bill(bool in, const QString& no, const QDate& day, const QString& type,
              const std::vector<std::pair<QString, QVariant>>& lines, const QString& remark = {}) {
        const QString header = in ? u"inmain"_s : u"outmain"_s;
        const QString table = in ? u"ingoods"_s : u"outgoods"_s;
        t.exec(u"insert into %1 (bill_no,bill_date,bill_type) values (:n,:d,:t)"_s.arg(header),
               {{u"n"_s, no}, {u"d"_s, day}, {u"t"_s, type}});
        for (const auto& [code, amount] : lines)
            t.exec(
                u"insert into %1 (bill_no,gods_code,sub_amou,unit_pric,remark) "
                "values (:n,:c,:a,1,:r)"_s.arg(table),
                {{u"n"_s, no}, {u"c"_s, code}, {u"a"_s, amount}, {u"r"_s, remark}});
    }
    void build(TFrmMios& screen, const QDate& month) {
        child<QDateEdit>(screen, "DateTimePicker1")->setDate(month);
        click(screen, "cmd_find");
    }
    // last, in, out, now of a goods in the list; empty when it is not listed.
    std::vector<double> row(const QString& code) {
        Dataset& list = *t.module->MiosQ;
        const int at = list.findFirst(u"gods_code"_s, code);
        if (at < 0) return {};
        std::vector<double> values;
        for (const char* f : {"last_amou", "in_amou", "out_amou", "now_amou"})
            values.push_back(list.value(at, QLatin1String(f)).toDouble());
        return values;
    }
};

TEST_F(MovementTest, JanuaryOpensWithDecemberAndEveryLineCounts) {
    count(u"A1"_s, 10, QDate(2023, 12, 15));
    count(u"A2"_s, 3.4, QDate(2023, 12, 15));  // a fractional closing is stored whole
    count(u"A3"_s, 99, QDate(2023, 11, 30));   // not the month before
    const QDate day(2024, 1, 9);
    // Two alike lines of one bill, as a scanner read twice gives, and a return not into stock.
    bill(true, u"1"_s, day, u"in"_s, {{u"A1"_s, 5}, {u"A1"_s, 5}, {u"A1"_s, 2}});
    bill(true, u"2"_s, day, u"retu"_s, {{u"A3"_s, 1}}, u"不入库"_s);
    bill(false, u"3"_s, day, u"out"_s, {{u"A1"_s, 4}, {u"A2"_s, 1}});
    bill(false, u"4"_s, QDate(2024, 2, 1), u"out"_s, {{u"A1"_s, 100}});  // next month
    TFrmMios screen;
    EXPECT_FALSE(enabled(screen, "cmd_prin"));
    build(screen, QDate(2024, 1, 31));
    EXPECT_EQ(row(u"A1"_s), (std::vector<double>{10, 12, 4, 18}));
    EXPECT_EQ(row(u"A2"_s), (std::vector<double>{3.4, 0, 1, 2}));
    EXPECT_EQ(row(u"A3"_s), (std::vector<double>{0, 1, 0, 1}));
    EXPECT_EQ(t.module->MiosQ->recordCount(), 3);
    EXPECT_EQ(boxText(screen, "Edit_in"), u"13"_s);
    EXPECT_EQ(boxText(screen, "Edit_out"), u"5"_s);
    EXPECT_EQ(boxText(screen, "Edit_now"), u"21"_s);
    EXPECT_TRUE(enabled(screen, "cmd_prin"));
    click(screen, "cmd_prin");
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_TRUE(previews[0].pages[0].textList().contains(u"进销存表"_s));
}

// An empty counted quantity once ended the opening reading half-way without a word.
TEST_F(MovementTest, AnEmptyCountOpensWithZeroAndTheRestStillCounts) {
    count(u"A1"_s, {}, QDate(2024, 2, 29));
    count(u"A2"_s, 7, QDate(2024, 2, 29));
    TFrmMios screen;
    build(screen, QDate(2024, 3, 1));
    EXPECT_EQ(row(u"A1"_s), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(row(u"A2"_s), (std::vector<double>{7, 0, 0, 7}));
}

TEST_F(MovementTest, AnEmptyMonthListsNothingAndPrintingNeedsRowsAndTheRight) {
    bill(true, u"1"_s, QDate(2024, 3, 3), u"in"_s, {{u"A1"_s, 2}});
    TFrmMios screen;
    build(screen, QDate(2024, 4, 1));
    EXPECT_TRUE(t.module->MiosQ->isEmpty());
    EXPECT_EQ(boxText(screen, "Edit_now"), u"0"_s);
    EXPECT_FALSE(enabled(screen, "cmd_prin"));
    EXPECT_TRUE(enabled(screen, "cmd_find"));

    CurrentUser().rights[size_t(Right::Print)] = QString(kModuleCount, u'0');
    TFrmMios denied;
    EXPECT_TRUE(t.module->MiosQ->isEmpty());  // opening empties the table
    build(denied, QDate(2024, 3, 1));
    EXPECT_EQ(t.module->MiosQ->recordCount(), 1);
    EXPECT_FALSE(enabled(denied, "cmd_prin"));
    click(denied, "cmd_prin");
    EXPECT_TRUE(previews.empty());
}

// Bills of every kind move the ledger by its rules; after a count at the end of the month
// before, each goods' closing quantity is its opening plus in minus out, and the ledger's.
TEST_F(MovementTest, TheMovementOfAMonthReconcilesWithTheLedger) {
    std::mt19937 random(20240301);
    const QStringList codes = {u"A1"_s, u"A2"_s, u"A3"_s, u"B1"_s, u"B2"_s, u"B3"_s};
    for (const QString& code : codes.mid(3)) goods(code, u"商品"_s + code);
    for (const QString& code : codes) stock(code, int(random() % 50), 2);
    StartStockTaking(t.engine(), QDate(2024, 2, 29));
    SaveStockTaking(t.engine(), QDate(2024, 2, 29));

    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int b = 0; b < 60; ++b) {
        const bool in = pick(2) == 0;
        const QString type = pick(3) == 0 ? u"retu"_s : (in ? u"in"_s : u"out"_s);
        std::vector<std::pair<QString, QVariant>> lines;
        for (int l = 0, n = 1 + pick(4); l < n; ++l) {
            lines.emplace_back(codes[pick(int(codes.size()))], 1 + pick(20));
            if (pick(5) == 0) lines.push_back(lines.back());  // read twice
        }
        bill(in, QString::number(b), QDate(2024, 3, 1 + pick(31)), type, lines);
        for (const auto& [code, amount] : lines) {
            if (in)
                ReceiveIntoStock(t.engine(), code, amount.toDouble(), 1);
            else
                IssueFromStock(t.engine(), code, amount.toDouble());
        }
    }
    TFrmMios screen;
    build(screen, QDate(2024, 3, 10));
    ASSERT_EQ(t.module->MiosQ->recordCount(), codes.size());
    for (const QString& code : codes) {
        const std::vector<double> r = row(code);
        EXPECT_EQ(r[3], r[0] + r[1] - r[2]) << code.toStdString();
        EXPECT_EQ(r[3], amount(code)) << code.toStdString();
    }
}

}  // namespace
}  // namespace talvor
