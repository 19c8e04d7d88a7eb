#include "datamodel/db/SqliteEngine.h"

#include <sqlite3.h>
#include <sys/vfs.h>

#include <QDate>
#include <QDateTime>
#include <QFileInfo>

#include "datamodel/db/DbError.h"
#include "datamodel/db/EngineWording.h"
#include "datamodel/db/JetDialect.h"
#include "datamodel/db/NameIndex.h"
#include "datamodel/db/Pinyin.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/TextRules.h"

namespace talvor::db {

namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr int kStatementCacheLimit = 200;

// The failure in the user's words; a statement's values name what it tried to write.
QString engineMessage(sqlite3* db, sqlite3_stmt* stmt = nullptr) {
    QString statement;
    if (char* expanded = stmt ? sqlite3_expanded_sql(stmt) : nullptr) {
        statement = QString::fromUtf8(expanded);
        sqlite3_free(expanded);
    }
    return engineFailureText(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)),
                             statement);
}

// year() and month() of a stored date text "yyyy-mm-dd[ hh:mm:ss]".
void datePart(sqlite3_context* ctx, int argc, sqlite3_value** argv, int from, int length) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QDate date = QDate::fromString(QString::fromLatin1(text).left(10), Qt::ISODate);
    if (!date.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    Q_UNUSED(length);
    sqlite3_result_int(ctx, from == 0 ? date.year() : date.month());
}

void yearFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    datePart(ctx, argc, argv, 0, 4);
}
void monthFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    datePart(ctx, argc, argv, 1, 2);
}

void pinyinInitialsFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    // No exception may cross SQLite's C frames.
    try {
        const QByteArray initials =
            pinyinInitials(QString::fromUtf8(text, sqlite3_value_bytes(argv[0]))).toUtf8();
        sqlite3_result_text(ctx, initials.constData(), int(initials.size()), SQLITE_TRANSIENT);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

int nocaseCollation(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return compareIgnoringCase(static_cast<const char*>(a), aBytes, static_cast<const char*>(b),
                               bBytes);
}

ColumnType typeFromDeclaration(const char* declared) {
    if (!declared) return ColumnType::Unknown;
    const QString d = QString::fromLatin1(declared).toUpper();
    if (d.startsWith(u"TEXT")) return ColumnType::Text;
    if (d.startsWith(u"FLOAT") || d.startsWith(u"REAL") || d.startsWith(u"DOUBLE"))
        return ColumnType::Float;
    if (d.startsWith(u"DATETIME")) return ColumnType::DateTime;
    if (d.startsWith(u"DECIMAL")) return ColumnType::Decimal;
    if (d.startsWith(u"INTEGER PRIMARY")) return ColumnType::Auto;
    if (d.startsWith(u"INT")) return ColumnType::Integer;
    return ColumnType::Unknown;
}

QVariant dateValue(const QString& text) {
    if (text.size() <= 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid()) return date;
    }
    QDateTime stamp = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!stamp.isValid()) stamp = QDateTime::fromString(text, Qt::ISODate);
    if (!stamp.isValid()) return text;
    if (stamp.time() == QTime(0, 0)) return stamp.date();
    return stamp;
}

QVariant columnValue(sqlite3_stmt* stmt, int i, ColumnType type) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            if (type == ColumnType::Float) return double(sqlite3_column_int64(stmt, i));
            return qint64(sqlite3_column_int64(stmt, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, i);
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            const QString value = QString::fromUtf8(text, sqlite3_column_bytes(stmt, i));
            return type == ColumnType::DateTime ? dateValue(value) : QVariant(value);
        }
    }
}

QString dateText(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate);
    const QDateTime stamp = v.toDateTime();
    if (stamp.time() == QTime(0, 0)) return stamp.date().toString(Qt::ISODate);
    return stamp.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int bindValue(sqlite3_stmt* stmt, int index, const QVariant& v) {
    if (!v.isValid() || v.isNull()) return sqlite3_bind_null(stmt, index);
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(stmt, index, v.toDouble());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Bool:
            return sqlite3_bind_int64(stmt, index, v.toLongLong());
        case QMetaType::QDate:
        case QMetaType::QDateTime: {
            // An empty date picker gives an invalid date: that is no value, not an empty text.
            if (v.typeId() == QMetaType::QDate ? !v.toDate().isValid() : !v.toDateTime().isValid())
                return sqlite3_bind_null(stmt, index);
            const QByteArray text = dateText(v).toUtf8();
            return sqlite3_bind_text(stmt, index, text.constData(), int(text.size()),
                                     SQLITE_TRANSIENT);
        }
        default: {
            const QString value = v.toString();
            requireStorableText(value);
            const QByteArray text = value.toUtf8();
            return sqlite3_bind_text(stmt, index, text.constData(), int(text.size()),
                                     SQLITE_TRANSIENT);
        }
    }
}

}  // namespace

SqliteEngine::SqliteEngine() = default;

SqliteEngine::~SqliteEngine() { close(); }

bool SqliteEngine::isNetworkFileSystem(const QString& path) {
    struct statfs info {};
    const QString dir = QFileInfo(path).absolutePath();
    if (statfs(dir.toLocal8Bit().constData(), &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0x6969:      // NFS
        case 0x517B:      // SMB
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
        case 0x65735546:  // FUSE (sshfs and the like)
        case 0x01021997:  // 9P
            return true;
        default:
            return false;
    }
}

void SqliteEngine::open(const QString& path) {
    // SQLite takes an empty file for an empty database and would quietly write one there.
    if (QFileInfo(path).isFile() && QFileInfo(path).size() == 0)
        throw DbError(openFailureText(SQLITE_NOTADB, {}, path));
    openFile(path, false);
}

void SqliteEngine::create(const QString& path) {
    if (QFileInfo::exists(path)) throw DbError(QStringLiteral("数据库文件已存在：%1").arg(path));
    openFile(path, true);
}

void SqliteEngine::openFile(const QString& path, bool create) {
    close();
    // One thread uses a connection, so SQLite need not lock it around every call.
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        const int code = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close(db);
        throw DbError(openFailureText(code, message, path));
    }
    db_ = db;
    path_ = path;
    try {
        configureConnection();
        chooseJournal(path);
        // A new file has no tables yet: createDatabase prepares the index after them.
        if (!create) prepareNameIndex(*this);
    } catch (const DbError& e) {
        close();
        throw DbError(e.message() + QStringLiteral("\n数据库文件：") + path);
    } catch (...) {
        close();
        throw;
    }
}

void SqliteEngine::configureConnection() {
    // The busy timeout comes first: every later statement may meet another copy's lock.
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    run("PRAGMA synchronous=FULL");
    run("PRAGMA foreign_keys=OFF");
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db_, "year", 1, flags, nullptr, yearFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db_, "month", 1, flags, nullptr, monthFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db_, "pinyin_initials", 1, flags, nullptr, pinyinInitialsFunction,
                               nullptr, nullptr, nullptr);
    // Every text column compares with NOCASE; letters beyond ASCII have case too.
    sqlite3_create_collation_v2(db_, "NOCASE", SQLITE_UTF8, nullptr, nocaseCollation, nullptr);
    // Reading the schema now turns a file that is no database into an error at open.
    run("SELECT count(*) FROM sqlite_schema");
    for (const QString& sql : scratchTableStatements()) runScript(sql);
}

// WAL needs memory shared on one host; a file on a network share keeps the rollback journal.
// The mode is chosen at every open, because a file may have been moved since it was made.
void SqliteEngine::chooseJournal(const QString& path) {
    const bool network = isNetworkFileSystem(path);
    const QString current = scalarText("PRAGMA main.journal_mode").toLower();
    if (network && current == u"wal") {
        run("PRAGMA main.journal_mode=DELETE");
    } else if (!network && current != u"wal") {
        // Another copy holding the file in the other mode keeps it there; that is safe.
        try {
            run("PRAGMA main.journal_mode=WAL");
        } catch (const DbError&) {
        }
    }
}

void SqliteEngine::close() {
    for (sqlite3_stmt* stmt : std::as_const(cache_)) sqlite3_finalize(stmt);
    cache_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteEngine::run(const char* sql) {
    if (!db_) throw DbError(QStringLiteral("数据库没有打开"));
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw DbError(engineFailureText(sqlite3_extended_errcode(db_), message));
    }
}

void SqliteEngine::runScript(const QString& sql) { run(sql.toUtf8().constData()); }

QString SqliteEngine::scalarText(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) fail(SQLITE_ERROR);
    QString value;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    const QString message = engineMessage(db_);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw DbError(message);
    return value;
}

void SqliteEngine::checkpoint() {
    if (!db_) throw DbError(QStringLiteral("数据库没有打开"));
    int logFrames = 0;
    int copiedFrames = 0;
    const int rc =
        sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_FULL, &logFrames, &copiedFrames);
    if (rc != SQLITE_OK) fail(rc);
    if (logFrames != copiedFrames)
        throw DbError(QStringLiteral("数据库正被其他用户使用，请稍后再试"));
}

void SqliteEngine::fail(int rc) const {
    throw DbError(db_ ? engineMessage(db_)
                      : engineFailureText(rc, QString::fromUtf8(sqlite3_errstr(rc))));
}

sqlite3_stmt* SqliteEngine::prepareNative(const QString& sql) {
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, &tail) != SQLITE_OK)
        fail(SQLITE_ERROR);
    if (!stmt) throw DbError(QStringLiteral("空语句"));
    // A second statement after ";" would be dropped without a word.
    for (const char* p = tail; p && p < utf8.constData() + utf8.size(); ++p) {
        if (*p == ';' || QChar::isSpace(uchar(*p))) continue;
        sqlite3_finalize(stmt);
        throw DbError(QStringLiteral("一次只能执行一条语句：%1").arg(sql));
    }
    return stmt;
}

int SqliteEngine::resultColumnCount(const QString& sql) {
    sqlite3_stmt* probe = prepareNative(sql);
    const int count = sqlite3_column_count(probe);
    sqlite3_finalize(probe);
    return count;
}

QString SqliteEngine::completeInsertSelect(const QString& sql, const QString& table,
                                           qsizetype selectOffset) {
    const int count = resultColumnCount(sql.mid(selectOffset));
    const std::vector<TableColumn> columns = tableColumns(table);
    if (count >= int(columns.size())) return sql;
    QStringList names;
    for (int i = 0; i < count; ++i) names << columns[size_t(i)].name;
    return sql.left(selectOffset) + u'(' + names.join(u',') + QStringLiteral(") ") +
           sql.mid(selectOffset);
}

QString SqliteEngine::completeDistinctOrder(const QString& sql, qsizetype at) {
    const int count = resultColumnCount(sql);
    QStringList positions;
    for (int i = 1; i <= count; ++i) positions << QString::number(i);
    return sql.left(at) + QStringLiteral(" order by ") + positions.join(u',') + sql.mid(at);
}

sqlite3_stmt* SqliteEngine::prepare(const QString& statement, const QVariantMap& params) {
    if (!db_) throw DbError(QStringLiteral("数据库没有打开"));
    beforeStatement(statement);
    sqlite3_stmt* stmt = cache_.value(statement);
    if (!stmt) {
        requireStorableText(statement);
        const JetTranslation t = translateJet(statement);
        QString sql = t.sql;
        if (!t.insertTarget.isEmpty())
            sql = completeInsertSelect(sql, t.insertTarget, t.selectOffset);
        if (t.distinctOrderAt >= 0) sql = completeDistinctOrder(sql, t.distinctOrderAt);
        stmt = prepareNative(sql);
        if (cache_.size() >= kStatementCacheLimit) {
            for (sqlite3_stmt* old : std::as_const(cache_)) sqlite3_finalize(old);
            cache_.clear();
        }
        cache_.insert(statement, stmt);
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
        const char* raw = sqlite3_bind_parameter_name(stmt, i);
        if (!raw) throw DbError(QStringLiteral("不支持无名参数"));
        const QString name = QString::fromUtf8(raw + 1);
        auto it = params.constFind(name);
        if (it == params.constEnd()) {
            for (auto p = params.constBegin(); p != params.constEnd(); ++p)
                if (p.key().compare(name, Qt::CaseInsensitive) == 0) it = p;
        }
        if (it == params.constEnd()) throw DbError(QStringLiteral("参数 :%1 没有值").arg(name));
        if (bindValue(stmt, i, it.value()) != SQLITE_OK) fail(SQLITE_ERROR);
    }
    return stmt;
}

int SqliteEngine::step(sqlite3_stmt* stmt, QString& message) {
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) message = engineMessage(db_, stmt);
    return rc;
}

void SqliteEngine::finish(sqlite3_stmt* stmt) {
    stats_.fullScanSteps += sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_FULLSCAN_STEP, 1);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
}

ColumnType SqliteEngine::resultColumnType(sqlite3_stmt* stmt, int i) const {
    const ColumnType declared = typeFromDeclaration(sqlite3_column_decltype(stmt, i));
    if (declared != ColumnType::Integer) return declared;
    // An integer primary key is the row identity the database assigns on insert.
    const char* database = sqlite3_column_database_name(stmt, i);
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* column = sqlite3_column_origin_name(stmt, i);
    int primaryKey = 0;
    if (database && table && column &&
        sqlite3_table_column_metadata(db_, database, table, column, nullptr, nullptr, nullptr,
                                      &primaryKey, nullptr) == SQLITE_OK &&
        primaryKey)
        return ColumnType::Auto;
    return declared;
}

namespace {

// Expressions have no declared type: take it from the values.
void typeExpressionsByValue(ResultSet& result) {
    for (size_t i = 0; i < result.columns.size(); ++i) {
        ResultColumn& c = result.columns[i];
        if (c.type != ColumnType::Unknown) continue;
        for (const ResultRow& row : result.rows) {
            const QVariant& v = row[i];
            if (v.isNull()) continue;
            c.type = v.typeId() == QMetaType::Double     ? ColumnType::Float
                     : v.typeId() == QMetaType::LongLong ? ColumnType::Integer
                                                         : ColumnType::Text;
            break;
        }
    }
}

}  // namespace

std::vector<ResultColumn> SqliteEngine::resultColumns(sqlite3_stmt* stmt) const {
    std::vector<ResultColumn> columns(size_t(sqlite3_column_count(stmt)));
    for (int i = 0; i < int(columns.size()); ++i) {
        ResultColumn& c = columns[size_t(i)];
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        c.table = QString::fromUtf8(sqlite3_column_table_name(stmt, i));
        c.origin = QString::fromUtf8(sqlite3_column_origin_name(stmt, i));
        c.type = resultColumnType(stmt, i);
    }
    return columns;
}

void SqliteEngine::readRows(sqlite3_stmt* stmt, size_t chunk,
                            const std::function<void(ResultSet&)>& take) {
    const std::vector<ResultColumn> columns = resultColumns(stmt);
    ResultSet result{columns, {}};
    const auto handOver = [&] {
        typeExpressionsByValue(result);
        take(result);
        result = ResultSet{columns, {}};
    };
    int rc;
    QString message;
    try {
        while ((rc = step(stmt, message)) == SQLITE_ROW) {
            ResultRow row(columns.size());
            for (size_t i = 0; i < columns.size(); ++i)
                row[i] = columnValue(stmt, int(i), columns[i].type);
            result.rows.push_back(std::move(row));
            if (result.rows.size() == chunk) handOver();
        }
    } catch (...) {
        finish(stmt);
        throw;
    }
    finish(stmt);
    if (rc != SQLITE_DONE) throw DbError(message);
    handOver();
}

ResultSet SqliteEngine::query(const QString& statement, const QVariantMap& params) {
    ResultSet result;
    readRows(prepare(statement, params), 0, [&](ResultSet& all) { result = std::move(all); });
    return result;
}

void SqliteEngine::queryInChunks(const QString& statement, int chunk, const ChunkReader& take) {
    if (chunk < 1) throw DbError(QStringLiteral("每次读取的行数必须大于 0"));
    readRows(prepare(statement, {}), size_t(chunk), [&](ResultSet& rows) { take(rows); });
}

long long SqliteEngine::execute(const QString& statement, const QVariantMap& params) {
    sqlite3_stmt* stmt = prepare(statement, params);
    int rc;
    QString message;
    while ((rc = step(stmt, message)) == SQLITE_ROW) {
    }
    finish(stmt);
    if (rc != SQLITE_DONE) throw DbError(message);
    return sqlite3_changes64(db_);
}

long long SqliteEngine::lastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

void SqliteEngine::beginWrite() { run("BEGIN IMMEDIATE"); }

void SqliteEngine::beginSnapshot() {
    run("BEGIN");
    // A deferred transaction takes its snapshot at its first read.
    try {
        run("SELECT count(*) FROM sqlite_schema");
    } catch (...) {
        rollback();
        throw;
    }
}

void SqliteEngine::commit() { run("COMMIT"); }

void SqliteEngine::rollback() {
    if (inTransaction()) run("ROLLBACK");
}

bool SqliteEngine::inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

std::vector<TableColumn> SqliteEngine::tableColumns(const QString& table) {
    if (!db_) throw DbError(QStringLiteral("数据库没有打开"));
    QString quoted = table;
    quoted.replace(u'"', QStringLiteral("\"\""));
    sqlite3_stmt* stmt = prepareNative(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted));
    std::vector<TableColumn> columns;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        TableColumn c;
        c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        QString declared =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
        if (sqlite3_column_int(stmt, 5)) declared += QStringLiteral(" PRIMARY");
        c.type = typeFromDeclaration(declared.toLatin1().constData());
        const qsizetype open = declared.indexOf(u'(');
        if (c.type == ColumnType::Text && open > 0)
            c.width = declared.mid(open + 1).section(u')', 0, 0).toInt();
        columns.push_back(c);
    }
    sqlite3_finalize(stmt);
    if (columns.empty()) throw DbError(QStringLiteral("no such table: %1").arg(table));
    return columns;
}

}  // namespace talvor::db
