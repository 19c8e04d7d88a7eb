#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "datamodel/db/SqliteEngine.h"
#include "maintenance/core/DatabaseCopy.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

class DatabaseCopyTest : public ::testing::Test {
  protected:
    test::TestDatabase t;
    QTemporaryDir elsewhere;

    void addGoods(int count, const QString& prefix = QStringLiteral("G")) {
        db::Transaction tx(t.engine());
        for (int i = 0; i < count; ++i)
            t.exec(QStringLiteral("insert into goods (gods_code,gods_name,gods_note) "
                                  "values (:c,:n,:n)"),
                   {{QStringLiteral("c"), prefix + QString::number(i)},
                    {QStringLiteral("n"), QString(40, u'货')}});
        tx.commit();
    }
    static QVariant scalarOf(const QString& path, const QString& sql) {
        db::SqliteEngine engine;
        engine.open(path);
        return engine.query(sql).rows[0][0];
    }
    static int goodsIn(const QString& path) {
        return scalarOf(path, QStringLiteral("select count(*) from goods")).toInt();
    }
    QString backupPath() const { return QDir(elsewhere.path()).filePath(kBackupFileName); }
    QStringList mdbFiles(const QString& dir) const {
        return QDir(dir).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
    }
};

TEST_F(DatabaseCopyTest, TwoBackupsInARowLeaveBothCopies) {
    addGoods(3);
    backupDatabase(t.path, elsewhere.path());
    addGoods(2, QStringLiteral("H"));
    backupDatabase(t.path, elsewhere.path());
    const QStringList files = mdbFiles(elsewhere.path());
    ASSERT_EQ(files.size(), 2) << files.join(u' ').toStdString();
    EXPECT_EQ(goodsIn(backupPath()), 5);
    EXPECT_TRUE(files[0].startsWith(u"talvor-"));
    EXPECT_EQ(goodsIn(QDir(elsewhere.path()).filePath(files[0])), 3);
    EXPECT_FALSE(QFile::exists(backupPath() + QStringLiteral("-wal")));
}

// Another connection commits between the steps of the copy: the copy holds the state it
// began with and passes the integrity check.
TEST_F(DatabaseCopyTest, ABackupTakenWhileAnotherConnectionWritesIsWhole) {
    addGoods(12000);
    db::SqliteEngine writer;
    writer.open(t.path);
    struct WriteBetweenSteps : Progress {
        db::SqliteEngine& writer;
        int steps = 0;
        explicit WriteBetweenSteps(db::SqliteEngine& w) : writer(w) {}
        void setLabel(const QString&) override {}
        void advance(long long done, long long total) override {
            EXPECT_LE(done, total);
            writer.execute(QStringLiteral("insert into goods (gods_code) values (:c)"),
                           {{QStringLiteral("c"), QStringLiteral("W%1").arg(steps++)}});
        }
    } progress(writer);
    backupDatabase(t.path, elsewhere.path(), progress);
    const int steps = progress.steps;
    EXPECT_GT(steps, 2) << "the copy should take several steps";
    EXPECT_EQ(restoreRefusal(backupPath()), QString());
    EXPECT_EQ(goodsIn(backupPath()), 12000);
    EXPECT_EQ(goodsIn(t.path), 12000 + steps);
}

TEST_F(DatabaseCopyTest, AFailedBackupKeepsTheFormerCopy) {
    backupDatabase(t.path, elsewhere.path());
    EXPECT_THROW(backupDatabase(t.path + QStringLiteral(".missing"), elsewhere.path()), CopyError);
    struct Cancelling : Progress {
        void setLabel(const QString&) override {}
        void advance(long long, long long) override { throw Cancelled(); }
    } cancelling;
    addGoods(3000);
    EXPECT_THROW(backupDatabase(t.path, elsewhere.path(), cancelling), Cancelled);
    EXPECT_EQ(mdbFiles(elsewhere.path()), QStringList{kBackupFileName});
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(goodsIn(backupPath()), 0);
}

TEST_F(DatabaseCopyTest, RefusedCandidatesLeaveTheWorkingDatabaseAlone) {
    addGoods(400);
    backupDatabase(t.path, elsewhere.path());
    QFile whole(backupPath());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();
    const auto write = [](const QString& path, const QByteArray& content) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    };
    const QString other = QDir(elsewhere.path()).filePath(QStringLiteral("other.mdb"));
    {
        db::SqliteEngine foreign;
        foreign.create(other);
        foreign.execute(QStringLiteral("create table notes (line text)"));
    }
    const QString candidate = QDir(elsewhere.path()).filePath(QStringLiteral("candidate.mdb"));
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;
    };
    const Case cases[] = {
        {"truncated", [&] { write(candidate, bytes.left(bytes.size() / 2)); }, "损坏"},
        {"text", [&] { write(candidate, "这不是数据库\n"); }, "不是可用的数据库"},
        {"another program's",
         [&] {
             QFile::remove(candidate);
             QFile::copy(other, candidate);
         },
         "不是本系统的数据库"},
    };
    t.module->disconnect();
    for (const Case& c : cases) {
        c.make();
        try {
            restoreDatabase(candidate, t.path);
            ADD_FAILURE() << c.what << " was restored";
        } catch (const CopyError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason)))
                << c.what << ": " << e.message().toStdString();
        }
        EXPECT_EQ(goodsIn(t.path), 400) << c.what;
        EXPECT_EQ(mdbFiles(QFileInfo(t.path).absolutePath()), QStringList{kBackupFileName})
            << c.what;
    }
}

TEST_F(DatabaseCopyTest, ARestoreKeepsTheReplacedDatabaseBesideIt) {
    addGoods(2);
    backupDatabase(t.path, elsewhere.path());
    addGoods(5, QStringLiteral("H"));
    t.module->disconnect();
    const QString safety = restoreDatabase(backupPath(), t.path);
    EXPECT_EQ(goodsIn(t.path), 2);
    EXPECT_EQ(goodsIn(safety), 7);
    EXPECT_EQ(QFileInfo(safety).absolutePath(), QFileInfo(t.path).absolutePath());
    EXPECT_TRUE(QFileInfo(safety).fileName().startsWith(u"talvor-"));
}

}  // namespace
}  // namespace talvor
