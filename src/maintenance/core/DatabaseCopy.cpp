#include "maintenance/core/DatabaseCopy.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "datamodel/db/DatabaseCopy.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"

namespace talvor {

namespace {

constexpr int kPagesPerStep = 256;
constexpr int kBusyTimeoutMs = 5000;

struct CloseConnection {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

QString lastError(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

Connection openConnection(const QString& path, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        throw CopyError(QStringLiteral("%1 无法打开：%2")
                            .arg(QDir::toNativeSeparators(path),
                                 raw ? lastError(raw) : QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    return db;
}

void run(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw CopyError(lastError(db));
}

// The rows of a one-column statement, as texts.
QStringList column(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw CopyError(lastError(db));
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) throw CopyError(lastError(db));
    return values;
}

// Copies every page of `from` into `to` in steps. The source is read inside one read
// transaction, so writers of other connections neither restart the copy nor mix two states
// into it.
struct FinishBackup {
    void operator()(sqlite3_backup* backup) const { sqlite3_backup_finish(backup); }
};

void copyPages(sqlite3* from, sqlite3* to, Progress& progress) {
    run(from, "BEGIN");
    try {
        column(from, "SELECT count(*) FROM sqlite_schema");
        // Finished early, the backup rolls back what it wrote into `to`.
        std::unique_ptr<sqlite3_backup, FinishBackup> backup(
            sqlite3_backup_init(to, "main", from, "main"));
        if (!backup) throw CopyError(lastError(to));
        // Progress is told before each step, so a cancel never follows a finished copy. A
        // lock that outlasts the busy timeout ends the copy like any other failure.
        int rc;
        do {
            const int total = sqlite3_backup_pagecount(backup.get());
            progress.advance(total - sqlite3_backup_remaining(backup.get()), total);
            rc = sqlite3_backup_step(backup.get(), kPagesPerStep);
        } while (rc == SQLITE_OK);
        if (rc != SQLITE_DONE) throw CopyError(QString::fromUtf8(sqlite3_errstr(rc)));
    } catch (...) {
        sqlite3_exec(from, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    run(from, "COMMIT");
}

// Runs `write`, which makes a new file at `target`; nothing is left there when it fails.
template <typename Write>
void makeNewFile(const QString& target, const Write& write) {
    QFile::remove(target);
    try {
        write();
    } catch (...) {
        QFile::remove(target);
        throw;
    }
}

// A new file of one piece (no journal beside it) with the content of the database at `source`.
void copyToNewFile(const QString& source, const QString& target, Progress& progress) {
    makeNewFile(target, [&] {
        Connection from = openConnection(source, SQLITE_OPEN_READONLY);
        Connection to = openConnection(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        copyPages(from.get(), to.get(), progress);
        run(to.get(), "PRAGMA journal_mode=DELETE");
    });
}

// The working database's file, or null when it is a server's.
const db::SqliteEngine* workingFile(const db::Engine& working) {
    return dynamic_cast<const db::SqliteEngine*>(&working);
}

// One bar over the rows of every table.
db::CopyProgress reportingTo(Progress& progress) {
    return [&progress](const db::CopyStep& step) { progress.advance(step.done, step.rows); };
}

// A database failure of a copy, in the words the screens show under their own message.
template <typename Work>
void asCopyError(const Work& work) {
    try {
        work();
    } catch (const db::DbError& e) {
        throw CopyError(e.message());
    }
}

// A new file of one piece with the tables of `source`, a database of any engine.
void copyTablesToNewFile(db::Engine& source, const QString& target, Progress& progress) {
    makeNewFile(target, [&] {
        asCopyError([&] {
            db::SqliteEngine file;
            file.create(target);
            db::copyDatabase(source, file, reportingTo(progress));
            file.runScript(QStringLiteral("PRAGMA journal_mode=DELETE"));
        });
    });
}

void copyWorkingDatabase(db::Engine& working, const QString& target, Progress& progress) {
    if (const db::SqliteEngine* file = workingFile(working))
        copyToNewFile(file->path(), target, progress);
    else
        copyTablesToNewFile(working, target, progress);
}

// Copied page by page into the working database's own connection, the restore is one
// transaction of it: its journal and other copies of the program see either the old or the
// new content, never a file swapped under them.
void restoreFile(const QString& candidate, const QString& working, const QString& safety,
                 Progress& progress) {
    copyToNewFile(working, safety, unwatched());
    Connection from = openConnection(candidate, SQLITE_OPEN_READONLY);
    Connection to = openConnection(working, SQLITE_OPEN_READWRITE);
    copyPages(from.get(), to.get(), progress);
}

// Closes a connection this operation opened, however the operation ends.
struct Disconnection {
    db::Engine& engine;
    ~Disconnection() { engine.close(); }
};

// The candidate's rows replace the server's in one transaction of the server, which other
// counters see whole or not at all. The candidate is read from a copy of its own: opened as
// the program's database, a file is prepared for the program's use and would change.
void restoreServer(const QString& candidate, db::Engine& server, const QString& safety,
                   Progress& progress) {
    const QTemporaryDir scratch;
    const QString source = QDir(scratch.path()).filePath(kBackupFileName);
    copyToNewFile(candidate, source, unwatched());
    asCopyError([&] { server.open(server.path()); });
    const Disconnection disconnection{server};
    progress.setLabel(QStringLiteral("正在另存恢复前的数据"));
    copyTablesToNewFile(server, safety, progress);
    progress.setLabel(QStringLiteral("正在恢复数据"));
    asCopyError([&] {
        db::SqliteEngine file;
        file.open(source);
        db::replaceDatabase(file, server, reportingTo(progress));
    });
}

QString integrityProblem(sqlite3* db) {
    QStringList problems;
    try {
        problems = column(db, "PRAGMA integrity_check");
    } catch (const CopyError& e) {
        problems = QStringList{e.message()};
    }
    if (problems == QStringList{QStringLiteral("ok")}) return {};
    return QStringLiteral("数据库已损坏：%1").arg(problems.value(0));
}

void keepAside(const QString& path, const QString& datedPath) {
    if (!QFile::rename(path, datedPath))
        throw CopyError(
            QStringLiteral("%1 无法改名为 %2")
                .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(datedPath)));
}

}  // namespace

QString datedCopyPath(const QString& directory, const QDateTime& when) {
    const QDir dir(directory);
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = dir.filePath(QStringLiteral("talvor-%1.mdb").arg(stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("talvor-%1-%2.mdb").arg(stamp).arg(n));
    return path;
}

QString backupDatabase(db::Engine& working, const QString& directory, Progress& progress) {
    const QDir dir(directory);
    const QString target = dir.filePath(kBackupFileName);
    // The copy is made under a name of its own, so a failure leaves the former backup alone.
    const QString partial = target + QStringLiteral(".part");
    copyWorkingDatabase(working, partial, progress);
    if (QFileInfo::exists(target))
        keepAside(target, datedCopyPath(directory, QFileInfo(target).lastModified()));
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw CopyError(QStringLiteral("%1 无法写入").arg(QDir::toNativeSeparators(target)));
    }
    return target;
}

QString restoreRefusal(const QString& candidate) {
    if (!QFileInfo(candidate).isFile())
        return QStringLiteral("%1 不存在").arg(QDir::toNativeSeparators(candidate));
    Connection db;
    QStringList tables;
    try {
        db = openConnection(candidate, SQLITE_OPEN_READONLY);
        tables = column(db.get(), "SELECT lower(name) FROM sqlite_schema WHERE type='table'");
    } catch (const CopyError& e) {
        const bool damaged = db && (sqlite3_errcode(db.get()) & 0xff) == SQLITE_CORRUPT;
        return (damaged ? QStringLiteral("数据库已损坏：%1")
                        : QStringLiteral("文件不是可用的数据库：%1"))
            .arg(e.message());
    }
    for (const db::TableDef& t : db::schemaTables())
        if (!t.scratch && !tables.contains(QString::fromLatin1(t.name)))
            return QStringLiteral("文件不是本系统的数据库：没有表 %1").arg(QLatin1String(t.name));
    return integrityProblem(db.get());
}

QString safetyCopyDirectory(const db::Engine& working, const QString& candidate) {
    const db::SqliteEngine* file = workingFile(working);
    return QFileInfo(file ? file->path() : candidate).absolutePath();
}

QString restoreDatabase(const QString& candidate, db::Engine& working, Progress& progress) {
    const QString refusal = restoreRefusal(candidate);
    if (!refusal.isEmpty()) throw CopyError(refusal);
    const QString safety =
        datedCopyPath(safetyCopyDirectory(working, candidate), QDateTime::currentDateTime());
    if (const db::SqliteEngine* file = workingFile(working))
        restoreFile(candidate, file->path(), safety, progress);
    else
        restoreServer(candidate, working, safety, progress);
    return safety;
}

}  // namespace talvor
