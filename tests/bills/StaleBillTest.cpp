#include <gtest/gtest.h>

#include "BillFixture.h"

namespace talvor {
namespace {

using test::BillEntry;
using test::LedgerDatabase;

QString str(const char* text) { return QString::fromUtf8(text); }

// Two copies of the program on one database file, each with its own connection and datasets.
struct TwoCopies {
    LedgerDatabase db;
    std::unique_ptr<TFrmDataMod> otherModule = db.anotherCopy();
};

struct StaleCase {
    const char* name;
    const BillKind* kind;
    // What copy B does to the bill copy A shows.
    std::function<BillResult(BillEntry& b)> otherCopy;
    // What copy A then tries on the bill as it showed it.
    std::function<BillResult(BillEntry& a)> thisCopy;
};

BillResult changeQuantity(BillEntry& s, double amount) {
    s.beginEdit();
    s.setLine(0, "sub_amou", amount);
    return s.save();
}

const StaleCase staleCases[] = {
    {"DeletedTwice", &BillKind::Sale, [](BillEntry& b) { return b.remove(); },
     [](BillEntry& a) { return a.remove(); }},
    {"DeletedAfterAChangedQuantity", &BillKind::Purchase,
     [](BillEntry& b) { return changeQuantity(b, 5); }, [](BillEntry& a) { return a.remove(); }},
    {"EditedAfterAChangedQuantity", &BillKind::Purchase,
     [](BillEntry& b) { return changeQuantity(b, 5); },
     [](BillEntry& a) { return changeQuantity(a, 4); }},
    {"PriceEditedAfterAChangedQuantity", &BillKind::Purchase,
     [](BillEntry& b) { return changeQuantity(b, 5); },
     [](BillEntry& a) {
         a.beginEdit();
         a.setLine(0, "unit_pric", 9.0);
         return a.save();
     }},
    {"EditedAfterADeletion", &BillKind::Sale, [](BillEntry& b) { return b.remove(); },
     [](BillEntry& a) { return changeQuantity(a, 4); }},
    {"EditedAfterAnAddedLine", &BillKind::Sale,
     [](BillEntry& b) {
         b.beginEdit();
         b.addLine(str("B"), 1);
         return b.save();
     },
     [](BillEntry& a) { return changeQuantity(a, 4); }},
};

class StaleBillTest : public ::testing::TestWithParam<StaleCase> {};

TEST_P(StaleBillTest, IsRefusedWithNothingWrittenAndTheLedgerMatchesTheBills) {
    const StaleCase& c = GetParam();
    TwoCopies copies;
    copies.db.setStock({str("A"), 10, 5});
    BillEntry a(*copies.db.module, *c.kind);
    a.begin(str("20240305100000"));
    a.addLine(str("A"), 3, 2);
    a.addLine(str("B"), 1, 4);
    ASSERT_TRUE(a.save().written());

    BillEntry b(*copies.otherModule, *c.kind);
    b.open(str("20240305100000"));
    ASSERT_EQ(b.lines->recordCount(), 2);
    ASSERT_TRUE(c.otherCopy(b).written());
    const auto before = copies.db.dump();

    const BillResult result = c.thisCopy(a);
    EXPECT_EQ(result.outcome, BillResult::Outcome::Stale);
    EXPECT_EQ(result.message, str("本单已被其他用户修改或删除，请重新打开。"));
    EXPECT_EQ(copies.db.dump(), before);

    // The ledger still equals opening stock plus what the stored lines say.
    const double sign = c.kind->receiving ? 1 : -1;
    const double storedA =
        copies.db
            .scalar(QStringLiteral("select sum(sub_amou) from %1 where gods_code='A'")
                        .arg(c.kind->lineTable))
            .toDouble();
    EXPECT_DOUBLE_EQ(copies.db.stock(str("A"))->amount, 10 + sign * storedA);
}

INSTANTIATE_TEST_SUITE_P(Bills, StaleBillTest, ::testing::ValuesIn(staleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StaleBillTest, AnUnchangedBillIsEditedAndDeletedAsBefore) {
    TwoCopies copies;
    BillEntry a(*copies.db.module, BillKind::Purchase);
    a.begin(str("20240305100000"));
    a.addLine(str("A"), 3, 2);
    ASSERT_TRUE(a.save().written());
    BillEntry b(*copies.otherModule, BillKind::Purchase);
    b.open(str("20240305100000"));
    // Reading the bill in another copy changes nothing of it.
    EXPECT_TRUE(changeQuantity(a, 4).written());
    EXPECT_DOUBLE_EQ(copies.db.stock(str("A"))->amount, 4);
    b.open(str("20240305100000"));
    b.lines->reopen();  // the same number: the header alone does not read the lines again
    EXPECT_TRUE(b.remove().written());
    EXPECT_DOUBLE_EQ(copies.db.stock(str("A"))->amount, 0);
    EXPECT_EQ(copies.db.count(QStringLiteral("ingoods")), 0);
}

}  // namespace
}  // namespace talvor
