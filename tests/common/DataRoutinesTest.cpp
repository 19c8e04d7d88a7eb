#include <gtest/gtest.h>

#include "common/core/DataRoutines.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

TEST(LookupValueTest, FindsTheRowByABoundKey) {
    test::TestDatabase t;
    t.exec(QStringLiteral(
        "insert into goods (gods_code,gods_name,valu_in) values ('A\"1','引号',7.5)"));
    t.exec(QStringLiteral(
        "insert into goods (gods_code,gods_name,valu_in) values ('B''2','单引号',3)"));
    t.exec(
        QStringLiteral("insert into goods (gods_code,gods_name,valu_in) values ('C3','普通',1)"));
    Dataset& temp = *t.module->TempQ;
    const struct {
        const char* table;
        QString key;
        const char* result;
        QString expected;
    } cases[] = {
        {"goods", QStringLiteral("C3"), "gods_name", QStringLiteral("普通")},
        {"goods", QStringLiteral("  c3 "), "gods_name",
         QStringLiteral("普通")},  // trimmed, no letter case
        {"goods", QStringLiteral("A\"1"), "valu_in", QStringLiteral("7.5")},
        {"goods", QStringLiteral("B'2"), "gods_name", QStringLiteral("单引号")},
        {"goods", QStringLiteral("x\" or \"1\"=\"1"), "gods_name", QString()},
        {"goods", QStringLiteral("nothing"), "gods_name", QString()},
        {"no_such_table", QStringLiteral("C3"), "gods_name", QString()},
        {"goods", QStringLiteral("C3"), "gods_name from goods; --", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LookupValue(temp, QLatin1String(c.table), QStringLiteral("gods_code"), c.key,
                              QString::fromUtf8(c.result)),
                  c.expected)
            << c.key.toStdString();
}

TEST(DistinctColumnValuesTest, ReturnsEveryDistinctValueIncludingNull) {
    test::TestDatabase t;
    int code = 0;
    for (const char* unit : {"'箱'", "' 箱'", "null", "'箱'"})
        t.exec(QStringLiteral("insert into goods (gods_code,gods_unit) values ('U%1',%2)")
                   .arg(++code)
                   .arg(QString::fromUtf8(unit)));
    const QList<QVariant> values = distinctColumnValues(*t.module->TempQ, QStringLiteral("goods"),
                                                        QStringLiteral("gods_unit"));
    EXPECT_EQ(values.size(), 3);
    EXPECT_TRUE(values.contains(QVariant(QStringLiteral(" 箱"))));
}

}  // namespace
}  // namespace talvor
