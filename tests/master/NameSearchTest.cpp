#include <gtest/gtest.h>

#include <future>
#include <latch>

#include "datamodel/db/Pinyin.h"
#include "datamodel/db/SqliteEngine.h"
#include "master/core/NameSearch.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

TEST(PinyinInitials, TakeTheFirstLetterOfEachReading) {
    const std::pair<const char*, const char*> cases[] = {
        {"华东贸易公司", "hdmygs"},
        {"重庆百货", "cqbh"},      // 重 read in its place, not zhòng
        {"重量", "zl"},            // alone, the common reading: zhòng
        {"快乐", "kl"},            // lè
        {"A4纸(70克)", "a4z70k"},  // Latin and digits stay, brackets go
        {"ＡＢ公司", "abgs"},      // full-width letters fold
        {"", ""},
    };
    for (const auto& [name, initials] : cases)
        EXPECT_EQ(db::pinyinInitials(QString::fromUtf8(name)), QLatin1String(initials)) << name;
}

class NameSearchTest : public ::testing::Test {
  protected:
    test::TestDatabase t;

    void addGoods(const QString& code, const QString& name) {
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values (:c,:n)"),
               {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}});
    }
    QStringList goodsFound(const char* typed) {
        return matchingNames(t.engine(), NamedTable::Goods, QString::fromUtf8(typed), 50);
    }
};

TEST_F(NameSearchTest, FindsByInitialsOrAnyPartOfTheName) {
    const QString east = QStringLiteral("华东贸易公司");
    const QString west = QStringLiteral("华西电器");
    const QString pen = QStringLiteral("Pen笔");
    for (const QString& name : {east, west, pen}) addGoods(name.left(2), name);
    const struct {
        const char* typed;
        QStringList found;
    } cases[] = {
        {"hdmy", {east}}, {"hd", {east}},
        {"HD", {east}},   {"my", {east}},
        {"hx", {west}},   {"h", {west, east}},
        {"贸易", {east}}, {"华", {west, east}},
        {"pen", {pen}},   {"penb", {pen}},
        {" hd ", {east}}, {"hdx", {}},
        {"%", {}},        {"", {}},
    };
    for (const auto& c : cases) {
        QStringList expected = c.found;
        expected.sort();
        QStringList found = goodsFound(c.typed);
        found.sort();
        EXPECT_EQ(found, expected) << c.typed;
    }
}

TEST_F(NameSearchTest, RenamedAndNewNamesAreFoundAtOnce) {
    addGoods(QStringLiteral("G1"), QStringLiteral("绿茶"));
    t.exec(QStringLiteral("update goods set gods_name = '红茶' where gods_code = 'G1'"));
    EXPECT_EQ(goodsFound("hc"), QStringList{QStringLiteral("红茶")});
    EXPECT_EQ(goodsFound("lc"), QStringList{}) << "the old name belongs to no goods";

    t.exec(
        QStringLiteral("insert into company (comp_code,comp_name) values ('C1','华东贸易公司')"));
    EXPECT_EQ(matchingNames(t.engine(), NamedTable::Company, QStringLiteral("hdmy"), 50),
              QStringList{QStringLiteral("华东贸易公司")});
    EXPECT_EQ(goodsFound("hdmy"), QStringList{}) << "a company is no goods";
}

// Past a couple of hundred matching names the search walks the codes instead of looking the
// names up; both ways must give the same next code.
TEST_F(NameSearchTest, NextMatchingCodeGoesOnByCodeAndWrapsAround) {
    for (int i = 0; i < 250; ++i)
        addGoods(QStringLiteral("A%1").arg(i, 3, 10, QChar(u'0')), QStringLiteral("红茶%1").arg(i));
    addGoods(QStringLiteral("B1"), QStringLiteral("绿茶"));
    addGoods(QStringLiteral("B2"), QStringLiteral("绿豆"));
    const struct {
        const char* typed;
        const char* after;
        std::optional<QString> next;
    } cases[] = {
        {"hc", "A000", QStringLiteral("A001")},  {"hc", "A249", QStringLiteral("A000")},
        {"hc1", "A100", QStringLiteral("A101")}, {"ld", "A000", QStringLiteral("B2")},
        {"l", "B1", QStringLiteral("B2")},       {"l", "B2", QStringLiteral("B1")},
        {"xyz", "A000", std::nullopt},           {"", "A000", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nextMatchingCode(t.engine(), NamedTable::Goods, QString::fromUtf8(c.typed),
                                   QLatin1String(c.after)),
                  c.next)
            << c.typed << " after " << c.after;
}

// What a database made before the index, or copied to a server without it, holds: goods and
// no name_pinyin, nor triggers that fill it.
TEST_F(NameSearchTest, ADatabaseWithoutTheIndexGetsItAtOpen) {
    addGoods(QStringLiteral("G1"), QStringLiteral("绿茶"));
    t.module->disconnect();
    {
        const auto copy = t.anotherCopy();
        db::Engine& plain = copy->AdoConn();
        plain.runScript(QStringLiteral("DROP TABLE name_pinyin"));
        if (t.server) {
            for (const char* table : {"goods", "company"})
                plain.runScript(
                    QStringLiteral("DROP TRIGGER %1_pinyin ON %1").arg(QLatin1String(table)));
        } else {
            plain.runScript(QStringLiteral("DROP TRIGGER temp.goods_pinyin_ins"));
        }
        plain.execute(
            QStringLiteral("insert into goods (gods_code,gods_name) values ('G2','红茶')"));
    }
    t.module->connectTo(t.path);
    EXPECT_EQ(goodsFound("lc"), QStringList{QStringLiteral("绿茶")});
    EXPECT_EQ(goodsFound("hc"), QStringList{QStringLiteral("红茶")});
    addGoods(QStringLiteral("G3"), QStringLiteral("花茶"));
    EXPECT_EQ(goodsFound("hc"), (QStringList{QStringLiteral("红茶"), QStringLiteral("花茶")}))
        << "names written after the open are found too";
}

// Another counter adds and renames goods and companies while this one has the database open.
TEST_F(NameSearchTest, NamesWrittenByAnotherCopyAreFoundByTheirInitials) {
    addGoods(QStringLiteral("G1"), QStringLiteral("绿茶"));
    EXPECT_EQ(goodsFound("lc"), QStringList{QStringLiteral("绿茶")});
    const auto copy = t.anotherCopy();
    db::Engine& other = copy->AdoConn();
    other.execute(
        QStringLiteral("insert into goods (gods_code,gods_name) values ('G2','重庆火锅')"));
    other.execute(QStringLiteral("update goods set gods_name = '红茶' where gods_code = 'G1'"));
    other.execute(
        QStringLiteral("insert into company (comp_code,comp_name) values ('C1','华东贸易公司')"));

    EXPECT_EQ(goodsFound("cqhg"), QStringList{QStringLiteral("重庆火锅")});
    EXPECT_EQ(goodsFound("hc"), QStringList{QStringLiteral("红茶")});
    EXPECT_EQ(goodsFound("lc"), QStringList{});
    EXPECT_EQ(nextMatchingCode(t.engine(), NamedTable::Company, QStringLiteral("hdmy"),
                               QStringLiteral("C0")),
              QStringLiteral("C1"));
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from goods where ") +
                           nameMatches(NamedTable::Goods),
                       namedParams(QStringLiteral("cq")))
                  .toInt(),
              1);
}

// Two counters start at once after a third wrote many names: both settle the same names, in
// several batches, and neither fails.
TEST_F(NameSearchTest, TwoCopiesSettlingTheSameNamesAtOnceBothFindThem) {
    {
        const auto copy = t.anotherCopy();
        db::Engine& writer = copy->AdoConn();
        db::Transaction transaction(writer);
        for (int i = 0; i < 600; ++i)
            writer.execute(QStringLiteral("insert into goods (gods_code,gods_name) values (:c,:n)"),
                           {{QStringLiteral("c"), QStringLiteral("G%1").arg(i)},
                            {QStringLiteral("n"), QStringLiteral("测试商品%1").arg(i)}});
        transaction.commit();
    }
    std::latch start(2);
    const auto counter = [&] {
        start.arrive_and_wait();
        const auto copy = t.anotherCopy();
        return matchingNames(copy->AdoConn(), NamedTable::Goods, QStringLiteral("cssp59"), 50)
            .size();
    };
    auto first = std::async(std::launch::async, counter);
    auto second = std::async(std::launch::async, counter);
    EXPECT_EQ(first.get(), 11);  // 59 and 590 to 599
    EXPECT_EQ(second.get(), 11);
}

}  // namespace
}  // namespace talvor
