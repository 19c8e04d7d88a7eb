#include "datamodel/db/PostgresEngine.h"

#include <libpq-fe.h>

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <memory>

#include "datamodel/db/DbError.h"
#include "datamodel/db/EngineWording.h"
#include "datamodel/db/JetDialect.h"
#include "datamodel/db/NameIndex.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/TextRules.h"

namespace talvor::db {

namespace {

constexpr int kWriteAttempts = 5;

// Type identities of PostgreSQL's built-in types (pg_type.oid), fixed since its first releases.
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
};

// A failure the server asks to be retried: the transaction met a concurrent one.
class RetriableError : public DbError {
  public:
    using DbError::DbError;
};

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

Result own(PGresult* r) { return Result(r, &PQclear); }

QString field(const PGresult* r, int code) {
    const char* value = PQresultErrorField(r, code);
    return value ? QString::fromUtf8(value) : QString();
}

ServerFailure failureOf(const PGresult* r, pg_conn* conn) {
    ServerFailure f{.state = field(r, PG_DIAG_SQLSTATE),
                    .message = field(r, PG_DIAG_MESSAGE_PRIMARY),
                    .column = field(r, PG_DIAG_COLUMN_NAME),
                    .constraint = field(r, PG_DIAG_CONSTRAINT_NAME),
                    .detail = field(r, PG_DIAG_MESSAGE_DETAIL)};
    if (f.message.isEmpty()) f.message = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    return f;
}

[[noreturn]] void failWith(const PGresult* r, pg_conn* conn) {
    const ServerFailure failure = failureOf(r, conn);
    const QString text = serverFailureText(failure);
    if (failure.state == u"40001" || failure.state == u"40P01") throw RetriableError(text);
    throw DbError(text);
}

Result checked(PGresult* raw, pg_conn* conn) {
    Result r = own(raw);
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) failWith(r.get(), conn);
    return r;
}

void ignoreNotice(void*, const char*) {}

QVariant dateValue(const QString& text) {
    if (text.size() <= 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid()) return date;
    }
    const QDateTime stamp = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!stamp.isValid()) return text;
    if (stamp.time() == QTime(0, 0)) return stamp.date();
    return stamp;
}

QByteArray dateText(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate).toUtf8();
    const QDateTime stamp = v.toDateTime();
    if (stamp.time() == QTime(0, 0)) return stamp.date().toString(Qt::ISODate).toUtf8();
    return stamp.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
}

bool isNull(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return true;
    // An empty date picker gives an invalid date: that is no value, not an empty text.
    if (v.typeId() == QMetaType::QDate) return !v.toDate().isValid();
    if (v.typeId() == QMetaType::QDateTime) return !v.toDateTime().isValid();
    return false;
}

QByteArray parameterText(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return QByteArray::number(v.toDouble(), 'g', 17);
        case QMetaType::Bool:
            return v.toBool() ? "1" : "0";
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            return dateText(v);
        default: {
            const QString text = v.toString();
            requireStorableText(text);
            return text.toUtf8();
        }
    }
}

ColumnType typeOfOid(Oid type) {
    switch (type) {
        case kBool:
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            return ColumnType::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return ColumnType::Float;
        default:
            return ColumnType::Text;
    }
}

QVariant columnValue(const PGresult* r, int row, int i, ColumnType type) {
    if (PQgetisnull(r, row, i)) return {};
    const char* raw = PQgetvalue(r, row, i);
    switch (PQftype(r, i)) {
        case kBool:
            return qint64(raw[0] == 't' ? 1 : 0);
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            if (type == ColumnType::Float) return QByteArray(raw).toDouble();
            return QByteArray(raw).toLongLong();
        case kFloat4:
        case kFloat8:
            return QByteArray(raw).toDouble();
        case kNumeric: {
            // A whole decimal reads as an integer, as SQLite stores it.
            const QByteArray text(raw);
            if (type != ColumnType::Float && !text.contains('.') && !text.contains('e'))
                return text.toLongLong();
            return text.toDouble();
        }
        default: {
            const QString text = QString::fromUtf8(raw, PQgetlength(r, row, i));
            return type == ColumnType::DateTime ? dateValue(text) : QVariant(text);
        }
    }
}

// The identity column an insert into `statement`'s table fills, or empty.
QString autoColumnOfInsert(const QString& statement) {
    static const QRegularExpression insert(QStringLiteral(R"(^\s*insert\s+into\s+\[?(\w+)\]?)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = insert.match(statement);
    if (!m.hasMatch()) return {};
    const TableDef* table = findTable(m.captured(1));
    if (!table) return {};
    for (const ColumnDef& c : table->columns)
        if (c.type == ColumnType::Auto) return QString::fromLatin1(c.name);
    return {};
}

QString withoutTrailingSemicolons(QString sql) {
    while (!sql.isEmpty() && (sql.back().isSpace() || sql.back() == u';')) sql.chop(1);
    return sql;
}

}  // namespace

PostgresEngine::PostgresEngine() = default;

PostgresEngine::~PostgresEngine() { close(); }

QString PostgresEngine::hostOf(const QString& connection) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(connection.toUtf8().constData(), &error);
    PQfreemem(error);
    QString host;
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        const QByteArray keyword(o->keyword);
        if ((keyword == "host" || (keyword == "hostaddr" && host.isEmpty())) && o->val && *o->val)
            host = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return host.isEmpty() ? QStringLiteral("localhost") : host;
}

void PostgresEngine::open(const QString& connection) {
    close();
    pg_conn* conn = PQconnectdb(connection.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString reason = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        PQfinish(conn);
        throw DbError(
            QStringLiteral("无法连接数据库服务器 %1：%2").arg(hostOf(connection), reason));
    }
    conn_ = conn;
    connection_ = connection;
    PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
    try {
        if (PQsetClientEncoding(conn_, "UTF8") != 0)
            throw DbError(QString::fromUtf8(PQerrorMessage(conn_)).trimmed());
        // As long as SQLite waits for another copy's write lock.
        runScript(QStringLiteral("SET lock_timeout = '10s'"));
        // A year's lines grouped or sorted in memory rather than on the server's disk: a few
        // counters, each with one statement at a time, keep this well within a server's memory.
        runScript(QStringLiteral("SET work_mem = '64MB'"));
        if (!isEmpty()) {
            createScratchTables();
            keepNameIndex(prepareNameIndex);
        }
    } catch (...) {
        close();
        throw;
    }
}

void PostgresEngine::close() {
    if (conn_) PQfinish(conn_);
    conn_ = nullptr;
    cache_.clear();
    origins_.clear();
    holdsWriteLock_ = false;
}

void PostgresEngine::requireOpen() const {
    if (!conn_) throw DbError(QStringLiteral("数据库没有打开"));
}

bool PostgresEngine::isEmpty() {
    Result r = checked(runNative(QStringLiteral("SELECT to_regclass('goods') IS NULL")), conn_);
    return PQgetvalue(r.get(), 0, 0)[0] == 't';
}

// Names written by any copy of the program wait for their initials, which only a client can
// compute; the work of settling them reads the table itself and so must not settle again.
void PostgresEngine::keepNameIndex(void (*work)(Engine&)) {
    if (keepingNameIndex_) return;
    const QScopedValueRollback keeping(keepingNameIndex_, true);
    work(*this);
}

void PostgresEngine::createScratchTables() {
    for (const QString& sql : scratchTableStatements(SqlDialect::Postgres)) runScript(sql);
}

PGresult* PostgresEngine::runNative(const QString& sql) {
    requireOpen();
    return PQexec(conn_, sql.toUtf8().constData());
}

void PostgresEngine::runScript(const QString& sql) { checked(runNative(sql), conn_); }

QString PostgresEngine::completeDistinctOrder(const QString& sql, qsizetype at) {
    checked(PQprepare(conn_, "", sql.toUtf8().constData(), 0, nullptr), conn_);
    Result described = checked(PQdescribePrepared(conn_, ""), conn_);
    QStringList positions;
    for (int i = 1; i <= PQnfields(described.get()); ++i) positions << QString::number(i);
    return sql.left(at) + QStringLiteral(" order by ") + positions.join(u',') + sql.mid(at);
}

// Each statement's text is checked once, as it is translated.
QString PostgresEngine::translate(const QString& statement, QStringList& parameters) {
    requireStorableText(statement);
    const JetTranslation t = translateJet(statement, SqlDialect::Postgres);
    parameters = t.parameters;
    return t.distinctOrderAt >= 0 ? completeDistinctOrder(t.sql, t.distinctOrderAt) : t.sql;
}

const PostgresEngine::Prepared& PostgresEngine::prepare(const QString& statement) {
    const auto found = cache_.constFind(statement);
    if (found != cache_.constEnd()) return *found;
    Prepared p;
    p.name = "talvor_" + QByteArray::number(cache_.size() + 1);
    p.readsNameIndex = readsNameIndex(statement);
    QString sql = translate(statement, p.parameters);
    p.autoColumn = autoColumnOfInsert(statement);
    if (!p.autoColumn.isEmpty())
        sql = withoutTrailingSemicolons(sql) + QStringLiteral(" RETURNING ") + p.autoColumn;
    checked(PQprepare(conn_, p.name.constData(), sql.toUtf8().constData(), int(p.parameters.size()),
                      nullptr),
            conn_);
    return *cache_.insert(statement, p);
}

PGresult* PostgresEngine::runOnce(const Prepared& p, const QVariantMap& params) {
    std::vector<QByteArray> texts(size_t(p.parameters.size()));
    std::vector<const char*> values(size_t(p.parameters.size()), nullptr);
    for (qsizetype i = 0; i < p.parameters.size(); ++i) {
        const auto it = params.constFind(p.parameters[i]);
        if (it == params.constEnd())
            throw DbError(QStringLiteral("参数 :%1 没有值").arg(p.parameters[i]));
        if (isNull(it.value())) continue;
        texts[size_t(i)] = parameterText(it.value());
        values[size_t(i)] = texts[size_t(i)].constData();
    }
    return PQexecPrepared(conn_, p.name.constData(), int(values.size()), values.data(), nullptr,
                          nullptr, 0);
}

PGresult* PostgresEngine::run(const QString& statement, const QVariantMap& params) {
    requireOpen();
    beforeStatement(statement);
    if (prepare(statement).readsNameIndex) keepNameIndex(settlePendingInitials);
    // Looked up again: settling prepares statements of its own, which may move the cache.
    const Prepared& p = prepare(statement);
    Result r = checked(runOnce(p, params), conn_);
    if (!p.autoColumn.isEmpty() && PQntuples(r.get()) > 0)
        lastInsertId_ = QByteArray(PQgetvalue(r.get(), PQntuples(r.get()) - 1, 0)).toLongLong();
    return r.release();
}

const PostgresEngine::OriginColumns& PostgresEngine::originOf(Oid tableOid) {
    const auto found = origins_.constFind(tableOid);
    if (found != origins_.constEnd()) return *found;
    const QByteArray oid = QByteArray::number(tableOid);
    const char* values[] = {oid.constData()};
    Result r = checked(PQexecParams(conn_,
                                    "SELECT c.relname, a.attnum, a.attname FROM pg_class c "
                                    "JOIN pg_attribute a ON a.attrelid = c.oid "
                                    "WHERE c.oid = $1::oid AND a.attnum > 0",
                                    1, nullptr, values, nullptr, nullptr, 0),
                       conn_);
    OriginColumns origin;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        origin.table = QString::fromUtf8(PQgetvalue(r.get(), row, 0));
        origin.columns.insert(QByteArray(PQgetvalue(r.get(), row, 1)).toInt(),
                              QString::fromUtf8(PQgetvalue(r.get(), row, 2)));
    }
    return *origins_.insert(tableOid, origin);
}

ResultColumn PostgresEngine::describeColumn(PGresult* result, int i) {
    ResultColumn c;
    c.name = QString::fromUtf8(PQfname(result, i));
    c.type = typeOfOid(PQftype(result, i));
    const Oid tableOid = PQftable(result, i);
    if (tableOid == InvalidOid) return c;
    const OriginColumns& origin = originOf(tableOid);
    c.table = origin.table;
    c.origin = origin.columns.value(PQftablecol(result, i));
    if (const TableDef* table = findTable(c.table))
        for (const ColumnDef& column : table->columns)
            if (c.origin.compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0)
                c.type = column.type;
    return c;
}

ResultSet PostgresEngine::resultOf(pg_result* r) {
    ResultSet result;
    const int count = PQnfields(r);
    result.columns.reserve(size_t(count));
    for (int i = 0; i < count; ++i) result.columns.push_back(describeColumn(r, i));
    const int rows = PQntuples(r);
    result.rows.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        ResultRow values(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            values[size_t(i)] = columnValue(r, row, i, result.columns[size_t(i)].type);
        result.rows.push_back(std::move(values));
    }
    return result;
}

ResultSet PostgresEngine::query(const QString& statement, const QVariantMap& params) {
    Result r = own(run(statement, params));
    return resultOf(r.get());
}

// Through a cursor of the server, inside a snapshot (a cursor lives in a transaction).
void PostgresEngine::queryInChunks(const QString& statement, int chunk, const ChunkReader& take) {
    requireOpen();
    if (chunk < 1) throw DbError(QStringLiteral("每次读取的行数必须大于 0"));
    beforeStatement(statement);
    Transaction snapshot(*this, Transaction::Snapshot);
    QStringList parameters;
    runScript(QStringLiteral("DECLARE talvor_chunks NO SCROLL CURSOR FOR ") +
              translate(statement, parameters));
    const QString fetch = QStringLiteral("FETCH FORWARD %1 FROM talvor_chunks").arg(chunk);
    const auto closeCursor = [this] { runScript(QStringLiteral("CLOSE talvor_chunks")); };
    try {
        for (bool more = true; more;) {
            Result r = checked(runNative(fetch), conn_);
            more = PQntuples(r.get()) == chunk;
            take(resultOf(r.get()));
        }
    } catch (...) {
        // Within a transaction of the caller's the cursor would outlive this call.
        try {
            closeCursor();
        } catch (const DbError&) {
        }
        throw;
    }
    closeCursor();
    snapshot.commit();
}

long long PostgresEngine::execute(const QString& statement, const QVariantMap& params) {
    requireOpen();
    if (!inTransaction()) return executeInTransaction(statement, params);
    Result r = own(run(statement, params));
    return QByteArray(PQcmdTuples(r.get())).toLongLong();
}

long long PostgresEngine::executeInTransaction(const QString& statement,
                                               const QVariantMap& params) {
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction tx(*this);
            Result r = own(run(statement, params));
            tx.commit();
            return QByteArray(PQcmdTuples(r.get())).toLongLong();
        } catch (const RetriableError&) {
            if (attempt == kWriteAttempts) throw;
        }
    }
}

void PostgresEngine::beginWrite() {
    requireOpen();
    // The lock comes before the transaction, so its snapshot holds every earlier writer's work.
    if (!holdsWriteLock_) {
        runScript(QStringLiteral("SELECT pg_advisory_lock(hashtext(current_schema()))"));
        holdsWriteLock_ = true;
    }
    try {
        runScript(QStringLiteral("BEGIN ISOLATION LEVEL SERIALIZABLE"));
    } catch (...) {
        rollback();
        throw;
    }
}

void PostgresEngine::beginSnapshot() {
    requireOpen();
    runScript(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    // The snapshot is taken by the first statement, not by BEGIN.
    try {
        runScript(QStringLiteral("SELECT 1"));
    } catch (...) {
        rollback();
        throw;
    }
}

void PostgresEngine::commit() {
    try {
        runScript(QStringLiteral("COMMIT"));
    } catch (...) {
        releaseWriteLock();
        throw;
    }
    releaseWriteLock();
}

void PostgresEngine::rollback() {
    if (!conn_) return;
    if (inTransaction()) runScript(QStringLiteral("ROLLBACK"));
    releaseWriteLock();
}

void PostgresEngine::releaseWriteLock() {
    if (!holdsWriteLock_ || !conn_) return;
    holdsWriteLock_ = false;
    runScript(QStringLiteral("SELECT pg_advisory_unlock(hashtext(current_schema()))"));
}

bool PostgresEngine::inTransaction() const {
    if (!conn_) return false;
    const PGTransactionStatusType status = PQtransactionStatus(conn_);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

std::vector<TableColumn> PostgresEngine::tableColumns(const QString& table) {
    requireOpen();
    const TableDef* def = findTable(table);
    if (!def) throw DbError(QStringLiteral("no such table: %1").arg(table));
    std::vector<TableColumn> columns;
    for (const ColumnDef& c : def->columns)
        columns.push_back({QString::fromLatin1(c.name), c.type, c.width});
    return columns;
}

}  // namespace talvor::db
