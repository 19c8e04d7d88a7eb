#include <gtest/gtest.h>

#include "datamodel/db/DbError.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

namespace talvor {
namespace {

using test::TestDatabase;

struct RefusedText {
    const char* name;
    QString code;
    const char* reason;  // a word the message must hold
};

const RefusedText refusedTexts[] = {
    // length() would stop at the NUL and pass 10,243 characters as 3.
    {"NulInsideALongCode", u"abc"_s + QChar(0) + QString(10240, u'x'), "NUL"},
    {"NulAlone", QString(QChar(0)), "NUL"},
    {"LoneHighSurrogate", u"A"_s + QChar(0xD800), "代理项"},
    {"LoneLowSurrogate", QString(QChar(0xDC00)) + u"B"_s, "代理项"},
    {"WiderThanTheColumn", QString(21, u'x'), "超过 20 个字符"},
    {"WideChineseText", QString(21, QChar(0x6C34)), "超过 20 个字符"},
};

class RefusedTextTest : public ::testing::TestWithParam<RefusedText> {};

TEST_P(RefusedTextTest, IsNotStoredAndTheMessageSaysWhy) {
    const RefusedText& c = GetParam();
    TestDatabase t;
    try {
        t.exec(u"insert into goods (gods_code) values (:c)"_s, {{u"c"_s, c.code}});
        FAIL() << "stored";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << e.message().toStdString();
    }
    EXPECT_EQ(t.scalar(u"select count(*) from goods"_s).toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, RefusedTextTest, ::testing::ValuesIn(refusedTexts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoredTextTest, ANulWrittenByTheStatementItselfIsRefusedByTheTable) {
    TestDatabase t;
    EXPECT_THROW(t.exec(u"insert into goods (gods_code) values ('ab' || char(0) || 'cd')"_s),
                 db::DbError);
    EXPECT_THROW(t.exec(u"insert into goods (gods_code) values ('A"_s + QChar(0xD800) + u"')"_s),
                 db::DbError);
    EXPECT_EQ(t.scalar(u"select count(*) from goods"_s).toInt(), 0);
}

TEST(StoredTextTest, CodesDifferingInLetterCaseAreOneCodeInEveryScript) {
    TestDatabase t;
    const auto add = [&](const QString& code) {
        t.exec(u"insert into goods (gods_code) values (:c)"_s, {{u"c"_s, code}});
    };
    add(u"Äpfel"_s);
    EXPECT_THROW(add(u"äpfel"_s), db::DbError);
    add(u"Σ1"_s);
    EXPECT_THROW(add(u"σ1"_s), db::DbError);
    // Full-width and half-width letters are different characters, not a case.
    add(u"A1"_s);
    add(u"Ａ1"_s);
    EXPECT_THROW(add(u"ａ1"_s), db::DbError);
    EXPECT_EQ(t.scalar(u"select count(*) from goods"_s).toInt(), 4);
    EXPECT_EQ(t.scalar(u"select gods_code from goods where gods_code='ÄPFEL'"_s).toString(),
              u"Äpfel"_s);
    EXPECT_EQ(t.scalar(u"select count(*) from goods where gods_code='a1'"_s).toInt(), 1);
}

}  // namespace
}  // namespace talvor
