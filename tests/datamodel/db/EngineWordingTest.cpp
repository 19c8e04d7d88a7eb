#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "datamodel/Dataset.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/EngineWording.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

// The first line is what the user reads; the engine's English may only follow.
QString firstLine(const QString& text) { return text.section(u'\n', 0, 0); }

bool hasLatinWord(const QString& text) {
    int run = 0;
    for (QChar c : text) {
        run = (c.isLetter() && c.unicode() < 0x80) ? run + 1 : 0;
        if (run >= 4) return true;
    }
    return false;
}

QString failureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const db::DbError& e) {
        return e.message();
    }
    ADD_FAILURE() << "no error";
    return {};
}

class EngineWordingTest : public ::testing::Test {
  protected:
    test::TestDatabase t;
    Dataset& goods = *t.module->GoodsQ;

    EngineWordingTest() {
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values ('G001','螺丝')"));
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values ('G002','螺母')"));
        goods.setLockMode(LockMode::Optimistic);
        goods.openWith(QStringLiteral("select * from goods order by gods_code"));
    }
};

// The rows a screen posts: a new goods and a changed code that another goods holds, and a
// name too long for its column.
TEST_F(EngineWordingTest, RefusedPostsSayWhatToChange) {
    const struct {
        const char* what;
        std::function<void()> post;
        QStringList words;
    } cases[] = {
        {"a new goods with a code in use",
         [&] {
             goods.append();
             goods.setValue(QStringLiteral("gods_code"), QStringLiteral("g001"));
             goods.post();
         },
         {QStringLiteral("编码已存在"), QStringLiteral("“g001”")}},
        {"a code changed to one in use",
         [&] {
             goods.first();
             goods.edit();
             goods.setValue(QStringLiteral("gods_code"), QStringLiteral("G'02"));
             goods.post();
             goods.edit();
             goods.setValue(QStringLiteral("gods_code"), QStringLiteral("G002"));
             goods.post();
         },
         {QStringLiteral("编码已存在"), QStringLiteral("“G002”")}},
        {"a name past its width",
         [&] {
             goods.append();
             goods.setValue(QStringLiteral("gods_code"), QStringLiteral("G003"));
             goods.setValue(QStringLiteral("gods_name"), QString(41, u'货'));
             goods.post();
         },
         {QStringLiteral("gods_name"), QStringLiteral("40")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = failureOf(c.post);
        goods.cancel();
        for (const QString& word : c.words)
            EXPECT_TRUE(firstLine(text).contains(word)) << text.toStdString();
        EXPECT_FALSE(hasLatinWord(firstLine(text).remove(QStringLiteral("gods_name"))))
            << text.toStdString();
    }
}

TEST_F(EngineWordingTest, AFullDiskIsSaidSo) {
    if (t.server) GTEST_SKIP() << "a server's disk is filled by the server's own limits";
    t.exec(QStringLiteral("PRAGMA max_page_count=") +
           t.scalar(QStringLiteral("PRAGMA page_count")).toString());
    const QString text = failureOf([&] {
        for (int i = 0; i < 2000; ++i)
            t.exec(QStringLiteral("insert into goods (gods_code,gods_note) values (:c,:n)"),
                   {{QStringLiteral("c"), QStringLiteral("F%1").arg(i)},
                    {QStringLiteral("n"), QString(50, u'满')}});
    });
    EXPECT_TRUE(firstLine(text).startsWith(QStringLiteral("磁盘空间已满"))) << text.toStdString();
}

// What the engine reports for files and locks, read without provoking each on a real disk.
TEST(EngineWordingTable, EachFailureHasItsWords) {
    const struct {
        int code;
        const char* words;
    } cases[] = {
        {SQLITE_FULL, "磁盘空间已满"},
        {SQLITE_IOERR_WRITE, "读写数据库文件时出错"},
        {SQLITE_IOERR_FSYNC, "读写数据库文件时出错"},
        {SQLITE_BUSY, "数据库正被其他用户使用"},
        {SQLITE_BUSY_SNAPSHOT, "数据库正被其他用户使用"},
        {SQLITE_NOTADB, "文件不是本系统的数据库"},
        {SQLITE_CORRUPT, "数据库文件已损坏"},
        {SQLITE_READONLY, "数据库文件是只读的"},
        {SQLITE_CANTOPEN, "无法读写数据库文件"},
        {SQLITE_ERROR, "数据库操作失败"},
    };
    for (const auto& c : cases) {
        const QString text = db::engineFailureText(c.code, QStringLiteral("engine text"));
        EXPECT_TRUE(firstLine(text).startsWith(QString::fromUtf8(c.words))) << text.toStdString();
        EXPECT_FALSE(hasLatinWord(firstLine(text))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("\n详细信息：engine text")));
    }
    const QString open = db::openFailureText(SQLITE_FULL, {}, QStringLiteral("/d/talvor.mdb"));
    EXPECT_EQ(open, QStringLiteral("磁盘空间已满，数据没有保存。请腾出磁盘空间后再试。\n"
                                   "数据库文件：/d/talvor.mdb"));
}

// The same words for what a database server reports, by its SQLSTATE.
TEST(EngineWordingTable, EachServerFailureHasItsWords) {
    const struct {
        const char* state;
        const char* words;
        const char* detail = nullptr;
        const char* constraint = nullptr;
        const char* column = nullptr;
    } cases[] = {
        {"23505", "编码已存在：“G'01”", "Key (gods_code)=(G'01) already exists."},
        {"23505", "编码已存在，", "Key (a, b)=(1, 2) already exists."},
        {"23514", "输入的内容不符合要求：gods_name 超过 40 个字符", nullptr,
         "gods_name 超过 40 个字符"},
        {"23502", "“gods_code”必须填写", nullptr, nullptr, "gods_code"},
        {"53100", "磁盘空间已满"},
        {"40001", "数据库正被其他用户使用"},
        {"55P03", "数据库正被其他用户使用"},
        {"08006", "与数据库服务器的连接已断开"},
        {"", "与数据库服务器的连接已断开"},
        {"28P01", "没有使用服务器上这个数据库的权限"},
        {"XX001", "服务器上的数据库已损坏"},
        {"42601", "数据库操作失败"},
    };
    for (const auto& c : cases) {
        const QString text = db::serverFailureText({.state = QString::fromUtf8(c.state),
                                                    .message = QStringLiteral("server text"),
                                                    .column = QString::fromUtf8(c.column),
                                                    .constraint = QString::fromUtf8(c.constraint),
                                                    .detail = QString::fromUtf8(c.detail)});
        EXPECT_TRUE(firstLine(text).startsWith(QString::fromUtf8(c.words))) << text.toStdString();
        EXPECT_FALSE(hasLatinWord(firstLine(text)
                                      .remove(QStringLiteral("gods_name"))
                                      .remove(QStringLiteral("gods_code"))))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("\n详细信息：server text")));
    }
}

}  // namespace
}  // namespace talvor
