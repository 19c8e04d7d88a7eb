#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "datamodel/db/SqliteEngine.h"
#include "maintenance/core/DatabaseCopy.h"
#include "support/TestDatabase.h"

namespace talvor {
namespace {

// Cancels the work at its `at`-th report, in the middle of a copy.
struct CancelAt : Progress {
    int at;
    int reports = 0;
    explicit CancelAt(int n) : at(n) {}
    void setLabel(const QString&) override {}
    void advance(long long, long long) override {
        if (++reports == at) throw Cancelled();
    }
};

// Runs on the engine the suite runs on: a backup of the working database is a file either way.
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
    // The working database's goods, read by a connection of its own: the module may be
    // disconnected for a restore.
    int workingGoods() const {
        return t.anotherCopy()
            ->AdoConn()
            .query(QStringLiteral("select count(*) from goods"))
            .rows[0][0]
            .toInt();
    }
    QString backupPath() const { return QDir(elsewhere.path()).filePath(kBackupFileName); }
    QString backup() { return backupDatabase(t.engine(), elsewhere.path()); }
    QStringList mdbFiles(const QString& dir) const {
        return QDir(dir).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
    }
};

TEST_F(DatabaseCopyTest, TwoBackupsInARowLeaveBothCopies) {
    addGoods(3);
    backup();
    addGoods(2, QStringLiteral("H"));
    backup();
    const QStringList files = mdbFiles(elsewhere.path());
    ASSERT_EQ(files.size(), 2) << files.join(u' ').toStdString();
    EXPECT_EQ(goodsIn(backupPath()), 5);
    EXPECT_TRUE(files[0].startsWith(u"talvor-"));
    EXPECT_EQ(goodsIn(QDir(elsewhere.path()).filePath(files[0])), 3);
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files).size(), 2) << "no journal beside";
}

// Another connection commits a goods and its stock row together between the steps of the
// copy: the copy holds the state it began with, in every table alike, and passes the check.
TEST_F(DatabaseCopyTest, ABackupTakenWhileAnotherConnectionWritesIsWhole) {
    addGoods(12000);
    struct WriteBetweenSteps : Progress {
        std::unique_ptr<TFrmDataMod> copy;
        int steps = 0;
        void setLabel(const QString&) override {}
        void advance(long long done, long long total) override {
            EXPECT_LE(done, total);
            const QVariantMap code{{QStringLiteral("c"), QStringLiteral("W%1").arg(steps++)}};
            db::Engine& writer = copy->AdoConn();
            db::Transaction tx(writer);
            writer.execute(QStringLiteral("insert into goods (gods_code) values (:c)"), code);
            writer.execute(QStringLiteral("insert into storemain (gods_code) values (:c)"), code);
            tx.commit();
        }
    } progress;
    progress.copy = t.anotherCopy();
    backupDatabase(t.engine(), elsewhere.path(), progress);
    const int steps = progress.steps;
    EXPECT_GT(steps, 2) << "the copy should take several steps";
    EXPECT_EQ(restoreRefusal(backupPath()), QString());
    EXPECT_EQ(goodsIn(backupPath()), 12000);
    EXPECT_EQ(scalarOf(backupPath(), QStringLiteral("select count(*) from storemain")).toInt(), 0);
    EXPECT_EQ(workingGoods(), 12000 + steps);
}

TEST_F(DatabaseCopyTest, AFailedOrCancelledBackupKeepsTheFormerCopy) {
    backup();
    addGoods(6000);
    CancelAt cancelling(3);
    EXPECT_THROW(backupDatabase(t.engine(), elsewhere.path(), cancelling), Cancelled);
    // A target that cannot be written: the copy's place is taken by a directory.
    const QString blocked = backupPath() + QStringLiteral(".part");
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    EXPECT_THROW(backup(), CopyError);
    ASSERT_TRUE(QDir(blocked).removeRecursively());
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{kBackupFileName});
    EXPECT_EQ(goodsIn(backupPath()), 0);
}

TEST_F(DatabaseCopyTest, RefusedCandidatesLeaveTheWorkingDatabaseAlone) {
    addGoods(400);
    backup();
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
    const QString safetyDir = safetyCopyDirectory(t.engine(), candidate);
    for (const Case& c : cases) {
        c.make();
        const QStringList before = mdbFiles(safetyDir);
        try {
            restoreDatabase(candidate, t.engine());
            ADD_FAILURE() << c.what << " was restored";
        } catch (const CopyError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason)))
                << c.what << ": " << e.message().toStdString();
        }
        EXPECT_EQ(workingGoods(), 400) << c.what;
        EXPECT_EQ(mdbFiles(safetyDir), before) << c.what << ": no safety copy";
    }
}

// Every table comes back as it was backed up, and new rows are numbered after the restored
// ones; what the restore replaced is kept where the dialog says.
TEST_F(DatabaseCopyTest, ARestoreBringsBackTheBackedUpStateAndKeepsTheReplacedOne) {
    addGoods(2);
    t.exec(
        QStringLiteral("insert into inmain (bill_no,bill_date,shou_tota) "
                       "values ('20240131120000',#2024-1-31#,12.5)"));
    t.exec(
        QStringLiteral("insert into storchek (gods_code,chek_amou,chek_date) "
                       "values ('G1',3,#2024-1-31#)"));
    const QStringList tables{
        QStringLiteral("select * from goods order by in_id"),
        QStringLiteral("select * from inmain order by in_id"),
        QStringLiteral("select * from storchek"),
        QStringLiteral("select user_id,password,pow_use from powers"),
    };
    std::vector<db::ResultSet> backedUp;
    for (const QString& sql : tables) backedUp.push_back(t.engine().query(sql));
    backup();
    addGoods(5, QStringLiteral("H"));
    t.exec(QStringLiteral("delete from inmain"));
    t.exec(QStringLiteral("update storchek set chek_amou=4"));

    t.module->disconnect();
    EXPECT_FALSE(t.engine().isOpen());
    const QString safety = restoreDatabase(backupPath(), t.engine());
    EXPECT_FALSE(t.engine().isOpen()) << "left as it was found";
    EXPECT_EQ(QFileInfo(safety).absolutePath(),
              QFileInfo(safetyCopyDirectory(t.engine(), backupPath())).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(safety).fileName().startsWith(u"talvor-"));
    EXPECT_EQ(goodsIn(safety), 7);
    EXPECT_EQ(restoreRefusal(safety), QString());

    t.module->connectTo(t.path);
    for (qsizetype i = 0; i < tables.size(); ++i)
        EXPECT_EQ(t.engine().query(tables[i]).rows, backedUp[size_t(i)].rows)
            << tables[i].toStdString();
    t.exec(QStringLiteral("insert into goods (gods_code) values ('NEW')"));
    EXPECT_EQ(t.engine().lastInsertId(), 3);
}

// Stopped half-way through writing the working database, a restore has changed nothing of it.
TEST_F(DatabaseCopyTest, ACancelledRestoreLeavesTheWorkingDatabaseAsItWas) {
    addGoods(6000);
    backup();
    addGoods(5, QStringLiteral("H"));
    t.exec(QStringLiteral("delete from goods where gods_code='G7'"));
    t.module->disconnect();
    // Past the safety copy (which a server's restore reports first under its own label).
    struct CancelWhileWriting : Progress {
        QString label;
        bool cancelled = false;
        void setLabel(const QString& text) override { label = text; }
        void advance(long long done, long long total) override {
            if (done > 0 && done < total && !label.startsWith(u"正在另存")) {
                cancelled = true;
                throw Cancelled();
            }
        }
    } cancelling;
    EXPECT_THROW(restoreDatabase(backupPath(), t.engine(), cancelling), Cancelled);
    EXPECT_TRUE(cancelling.cancelled);
    EXPECT_EQ(workingGoods(), 6004);
}

}  // namespace
}  // namespace talvor
