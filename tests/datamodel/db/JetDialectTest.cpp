#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <random>

#include "datamodel/db/JetDialect.h"

using namespace Qt::StringLiterals;

// Readable texts in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
using talvor::db::translateJet;

namespace {

struct Translation {
    const char16_t* input;
    const char16_t* expected;
};

// Statements in the program's dialect and the SQLite SQL they must become.
const Translation kTranslations[] = {
    // top N, in either spelling, becomes a limit at the end of its own select
    {u"select top 1 * from userinfo", u"select * from userinfo limit 1"},
    {u"select Top 1 * from outgoods", u"select * from outgoods limit 1"},
    {u"select top 1 * from userinfo ", u"select * from userinfo limit 1 "},
    {u"select distinct top 2 a from t order by a", u"select distinct a from t order by a limit 2"},
    {u"select top 1 * from storchek \nwhere year(chek_date)=:cyear and \nmonth(chek_date)=:cmonth "
     u"\norder by gods_code ",
     u"select * from storchek \nwhere year(chek_date)=:cyear and \nmonth(chek_date)=:cmonth "
     u"\norder by gods_code limit 1 "},
    {u"select top 1 * from inmain where bill_type='in' \n and bill_date=:date1",
     u"select * from inmain where bill_type='in' \n and bill_date=:date1 limit 1"},
    {u"select top 1 * from t;", u"select * from t limit 1;"},
    // inside a subquery the limit closes with the parenthesis; each level keeps its own
    {u"select * from t where id in (select top 1 id from u order by id desc)",
     u"select * from t where id in (select id from u order by id desc limit 1)"},
    {u"select top 3 * from (select top 1 * from u) x order by 1",
     u"select * from (select * from u limit 1) x order by 1 limit 3"},
    {u"select top 2 count(*) from t where a in (1,2)",
     u"select count(*) from t where a in (1,2) limit 2"},
    // "top" that is no top clause stays
    {u"select top from t", u"select top from t"},
    {u"select top x from t", u"select top x from t"},
    {u"select a from t where top = 1", u"select a from t where top = 1"},

    // delete * from
    {u"delete * from outtemp ", u"delete from outtemp "},
    {u"delete * from  chektemp", u"delete from  chektemp"},
    {u"DELETE * FROM mios", u"DELETE FROM mios"},
    {u"delete*from mios", u"delete from mios"},
    {u"delete from powers where user_id=:id", u"delete from powers where user_id=:id"},
    {u"select a*b from t", u"select a*b from t"},

    // quoted texts are never rewritten, whatever they hold
    {u"select * from t where a='select top 1 * from x'",
     u"select * from t where a='select top 1 * from x'"},
    {u"select * from t where a=':name' and b=:name",
     u"select * from t where a=':name' and b=:name"},
    {u"delete from t where a='delete * from t'", u"delete from t where a='delete * from t'"},
    {u"select * from t where a='it''s [x] #1# a/b & c'",
     u"select * from t where a='it''s [x] #1# a/b & c'"},
    {u"select 'unterminated top 1", u"select 'unterminated top 1"},

    // double quotes delimit a text literal
    {u"select distinct mone_type,mone_rate from baseitem where mone_type=\"美元\"",
     u"select distinct mone_type,mone_rate from baseitem where mone_type='美元'"},
    {u"select * from t where a=\"it's\"", u"select * from t where a='it''s'"},
    {u"select * from t where a=\"say \"\"hi\"\"\"", u"select * from t where a='say \"hi\"'"},
    {u"select * from t where a=\"select top 1 * from :x\"",
     u"select * from t where a='select top 1 * from :x'"},
    {u"select * from t where a=\"open", u"select * from t where a=\"open"},

    // [name] is an identifier
    {u"select [gods name] from [goods]", u"select \"gods name\" from \"goods\""},
    {u"select [a\"b] from t", u"select \"a\"\"b\" from t"},

    // #date# in the stored form
    {u"select * from t where d=#2024-01-31#", u"select * from t where d='2024-01-31'"},
    {u"select * from t where d=#2024-1-5#", u"select * from t where d='2024-01-05'"},
    {u"select * from t where d=#1/5/2024#", u"select * from t where d='2024-01-05'"},
    {u"select * from t where d=# 2024-01-05 08:30 #",
     u"select * from t where d='2024-01-05 08:30:00'"},
    {u"select * from t where d=#2024-01-05 00:00:00#", u"select * from t where d='2024-01-05'"},
    {u"select * from t where d=#no date#", u"select * from t where d='no date'"},

    // division is never an integer division; & joins texts
    {u"select a/b from t", u"select a*1.0/b from t"},
    {u"update t set x=(a+b)/2", u"update t set x=(a+b)*1.0/2"},
    {u"select gods_code & gods_name from goods", u"select gods_code || gods_name from goods"},

    // what needs no translation comes back as it was
    {u"select distinct  bill_no,bill_date,\noper_name,comp_code,shou_tota,fact_tota \nfrom "
     u"OutMain ",
     u"select distinct  bill_no,bill_date,\noper_name,comp_code,shou_tota,fact_tota \nfrom "
     u"OutMain "},
    {u"update storemain set gods_amou='12' where gods_code='G001'",
     u"update storemain set gods_amou='12' where gods_code='G001'"},
    {u"insert into miostemp (gods_code,last_amou)\n values(:gods_code,:last_amou)",
     u"insert into miostemp (gods_code,last_amou)\n values(:gods_code,:last_amou)"},
    {u"", u""},
    {u"   ", u"   "},
};

TEST(JetDialect, TranslatesEachCase) {
    for (const Translation& t : kTranslations) {
        const QString input = QString::fromUtf16(t.input);
        EXPECT_EQ(translateJet(input).sql, QString::fromUtf16(t.expected)) << input.toStdString();
    }
}

// The engine completes "insert into t select" by position and orders "select distinct";
// the translator tells it where.
TEST(JetDialect, ReportsInsertSelectTarget) {
    const struct {
        const char16_t* input;
        const char16_t* target;
        qsizetype selectOffset;
    } cases[] = {
        {u"insert into chektemp select gods_code,gods_amou from storemain \norder by gods_code",
         u"chektemp", 21},
        {u"insert into outtemp  select * from outgoods where bill_no='1'", u"outtemp", 21},
        {u"insert into [outtemp] select * from outgoods", u"outtemp", 22},
        {u"INSERT INTO storchek SELECT * FROM chektemp ", u"storchek", 21},
        {u"insert into miostemp (gods_code,in_amou) values(:gods_code,:in_amou)", u"", -1},
        {u"insert into t (a) select a from u", u"", -1},
        {u"select * from t", u"", -1},
    };
    for (const auto& c : cases) {
        const auto t = translateJet(QString::fromUtf16(c.input));
        EXPECT_EQ(t.insertTarget, QString::fromUtf16(c.target))
            << QString::fromUtf16(c.input).toStdString();
        EXPECT_EQ(t.selectOffset, c.selectOffset) << QString::fromUtf16(c.input).toStdString();
        if (c.selectOffset >= 0) {
            EXPECT_TRUE(t.sql.mid(t.selectOffset).startsWith(u"select", Qt::CaseInsensitive));
        }
    }
}

TEST(JetDialect, ReportsWhereDistinctRowsNeedAnOrder) {
    const struct {
        const char16_t* input;
        const char16_t* beforeOrder;  // the translated text up to the order's place; null: no order
    } cases[] = {
        {u"select distinct a,b from t", u"select distinct a,b from t"},
        {u"select distinct  bill_no from OutMain \nwhere bill_date between :date1 and :date2 \n",
         u"select distinct  bill_no from OutMain \nwhere bill_date between :date1 and :date2"},
        {u"select distinct top 1 a from t", u"select distinct a from t"},
        {u"select distinct a from t where x in (select b from u order by b)",
         u"select distinct a from t where x in (select b from u order by b)"},
        {u"select distinct a from t;", u"select distinct a from t"},
        {u"select distinct a from t order by a", nullptr},
        {u"select distinct b.gods_code,sum(b.sub_amou) from t b group by gods_code \norder by 2 "
         u"desc",
         nullptr},
        {u"select a from t", nullptr},
        {u"select a from t where b in (select distinct c from u)", nullptr},
        {u"insert into t select distinct a from u", nullptr},
    };
    for (const auto& c : cases) {
        const QString input = QString::fromUtf16(c.input);
        const auto t = translateJet(input);
        if (!c.beforeOrder) {
            EXPECT_EQ(t.distinctOrderAt, -1) << input.toStdString();
        } else {
            ASSERT_GE(t.distinctOrderAt, 0) << input.toStdString();
            EXPECT_EQ(t.sql.left(t.distinctOrderAt), QString::fromUtf16(c.beforeOrder))
                << input.toStdString();
        }
    }
}

// Random statements: the translator must survive anything, and leave alone what holds none
// of the tokens it rewrites.
class Generator {
  public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    QString anything() {
        static const QStringList pieces = {
            u"select"_s, u"SELECT"_s, u"distinct"_s,   u"top"_s,   u"Top"_s,    u"1"_s,
            u"10"_s,     u"delete"_s, u"*"_s,          u"from"_s,  u"insert"_s, u"into"_s,
            u"where"_s,  u"order"_s,  u"by"_s,         u"and"_s,   u"("_s,      u")"_s,
            u","_s,      u";"_s,      u"'"_s,          u"''"_s,    u"\""_s,     u"["_s,
            u"]"_s,      u"#"_s,      u"#2024-1-5#"_s, u":"_s,     u":name"_s,  u"--"_s,
            u"/"_s,      u"&"_s,      u"year("_s,      u"trim("_s, u" "_s,      u"\n"_s,
            u"\t"_s,     u"goods"_s,  u"gods_code"_s,  u"="_s,     u"<>"_s,     u"1.5"_s,
            u".5"_s,     u"名称"_s};
        QString s;
        const int count = pick(0, 24);
        for (int i = 0; i < count; ++i) {
            switch (pick(0, 9)) {
                case 0:
                    s += randomChars(pick(1, 4));
                    break;
                case 1:
                    s += u' ';
                    break;
                default:
                    s += pieces[pick(0, int(pieces.size()) - 1)];
                    if (pick(0, 2) == 0) s += u' ';
            }
        }
        return s;
    }

    // A statement of words, numbers, parameters, operators and single-quoted texts (which may
    // hold every special token) but none of the tokens the translator rewrites.
    QString plain() {
        static const QStringList words = {
            u"select"_s,    u"distinct"_s,   u"from"_s,   u"where"_s,  u"and"_s,
            u"or"_s,        u"order"_s,      u"by"_s,     u"insert"_s, u"into"_s,
            u"update"_s,    u"set"_s,        u"values"_s, u"group"_s,  u"year(bill_date)"_s,
            u"gods_code"_s, u"a.bill_no"_s,  u"名称"_s,   u"1"_s,      u"2.5"_s,
            u"*"_s,         u"="_s,          u"<>"_s,     u"+"_s,      u"-"_s,
            u","_s,         u"("_s,          u")"_s,      u":date1"_s, u":cyear"_s,
            u"between"_s,   u"is not null"_s};
        static const QStringList quoted = {u"top 1"_s, u"delete * from"_s, u":name"_s, u"\""_s,
                                           u"[x]"_s,   u"#1/5/2024#"_s,    u"a/b"_s,   u"&"_s,
                                           u"''"_s,    u"select top 2"_s};
        QString s;
        const int count = pick(0, 20);
        for (int i = 0; i < count; ++i) {
            if (pick(0, 5) == 0) {
                s += u'\'';
                const int parts = pick(0, 3);
                for (int k = 0; k < parts; ++k)
                    s += pick(0, 1) ? quoted[pick(0, int(quoted.size()) - 1)]
                                    : randomChars(pick(1, 3)).remove(u'\'');
                s += u'\'';
            } else {
                s += words[pick(0, int(words.size()) - 1)];
            }
            s += pick(0, 3) ? QStringLiteral(" ") : QStringLiteral("\n");
        }
        return s;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  private:
    // Any code point, lone surrogates and characters beyond the basic plane included.
    QString randomChars(int n) {
        QString s;
        for (int i = 0; i < n; ++i) {
            switch (pick(0, 3)) {
                case 0:
                    s += QChar(char16_t(pick(0x20, 0x7e)));
                    break;
                case 1:
                    s += QChar(char16_t(pick(0, 0xffff)));
                    break;
                case 2:
                    s += QString::fromUcs4(
                        std::u32string(1, char32_t(pick(0x10000, 0x10ffff))).data(), 1);
                    break;
                default:
                    s += QChar(char16_t(pick(0x4e00, 0x9fff)));
            }
        }
        return s;
    }

    std::mt19937 rng_;
};

TEST(JetDialect, FuzzNeverFailsAndLeavesPlainStatementsAlone) {
    const QStringList statements = {
        u"select top 1 * from storchek \nwhere year(chek_date)=:cyear and \nmonth(chek_date)=:cmonth \norder by gods_code "_s,
        u"select distinct mone_type,mone_rate from baseitem where mone_type=\"美元\""_s,
        u"insert into outtemp  select * from outgoods where bill_no='20240110110000'"_s,
        u"select * from t where id in (select top 1 id from [u v] where d=#2024-01-05#)"_s,
        u"delete * from  chektemp"_s,
    };
    Generator gen(20240131);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 300000; ++i) {
        QString input;
        switch (i % 3) {
            case 0:
                input = gen.anything();
                break;
            case 1: {
                const QString& whole = statements[i % statements.size()];
                input = whole.left(gen.pick(0, int(whole.size())));
                break;
            }
            default: {
                input = gen.plain();
                ASSERT_EQ(translateJet(input).sql, input);
                continue;
            }
        }
        const auto t = translateJet(input);
        // The rewrites only ever add a few characters per token.
        ASSERT_LE(t.sql.size(), input.size() * 5 + 32) << input.toStdString();
        ASSERT_LE(t.selectOffset, t.sql.size());
        ASSERT_LE(t.distinctOrderAt, t.sql.size());
    }
    EXPECT_LT(timer.elapsed(), 20000);
}

}  // namespace

TEST(JetDialect, NumbersParametersAndLowersBracketedNamesForPostgres) {
    using talvor::db::SqlDialect;
    const struct {
        const char16_t* input;
        const char16_t* sql;
        QStringList parameters;
    } cases[] = {
        {u"select * from goods where gods_code=:code",
         u"select * from goods where gods_code=$1",
         {u"code"_s}},
        // one name used twice is one parameter
        {u"select top 1 * from t where a>=:from and b<=:to and c<>:from",
         u"select * from t where a>=$1 and b<=$2 and c<>$1 limit 1",
         {u"from"_s, u"to"_s}},
        // a parameter's look-alike inside a quoted text is text
        {u"select [Gods_Code] from goods where remark=':code' and x=:x",
         u"select \"gods_code\" from goods where remark=':code' and x=$1",
         {u"x"_s}},
    };
    for (const auto& c : cases) {
        const talvor::db::JetTranslation t =
            translateJet(QString::fromUtf16(c.input), SqlDialect::Postgres);
        EXPECT_EQ(t.sql, QString::fromUtf16(c.sql));
        EXPECT_EQ(t.parameters, c.parameters) << t.sql.toStdString();
    }
    // The SQLite form keeps names as written and parameters by name.
    EXPECT_EQ(translateJet(u"select [Gods_Code] from t where a=:a"_s).sql,
              u"select \"Gods_Code\" from t where a=:a"_s);
}
