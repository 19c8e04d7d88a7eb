#pragma once

#include <QHash>

#include "datamodel/db/Engine.h"

struct pg_conn;
struct pg_result;

namespace talvor::db {

// The engine for several counters on one database server: one libpq connection to
// PostgreSQL. Statements keep the program's dialect; each is prepared once per connection.
//
// Write transactions of every copy of the program on one database run one after another:
// each waits for a lock of its database before it begins, then runs serializable, so that what
// it reads (the stock and cost of a goods) is what the previous writer left. A statement run
// outside a transaction is its own write transaction, retried when the server reports a
// serialization failure.
//
// Before a statement reads the names found by their pinyin initials, the names any copy wrote
// since get their initials (see NameIndex).
class PostgresEngine final : public Engine {
  public:
    PostgresEngine();
    ~PostgresEngine() override;

    // Connects with a libpq connection string ("host=... dbname=..."); the password may come
    // from ~/.pgpass. A server that cannot be reached is an error naming its host.
    void open(const QString& connection) override;
    void close() override;
    bool isOpen() const override { return conn_ != nullptr; }
    QString path() const override { return connection_; }

    // True while the database holds none of the program's tables: a first start.
    bool isEmpty();

    ResultSet query(const QString& statement, const QVariantMap& params = {}) override;
    long long execute(const QString& statement, const QVariantMap& params = {}) override;
    long long lastInsertId() const override { return lastInsertId_; }
    void queryInChunks(const QString& statement, int chunk, const ChunkReader& take) override;

    void beginWrite() override;
    // Repeatable read: other counters write on without waiting for the reader.
    void beginSnapshot() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

    std::vector<TableColumn> tableColumns(const QString& table) override;

    SqlDialect dialect() const override { return SqlDialect::Postgres; }
    void runScript(const QString& sql) override;

    StatementStats stats() const override { return stats_; }
    void resetStats() override { stats_ = {}; }

    // The host a connection string names, for messages; "localhost" when it names none.
    static QString hostOf(const QString& connection);

  private:
    struct Prepared {
        QByteArray name;
        QStringList parameters;
        QString autoColumn;           // an insert returns this column's new value
        bool readsNameIndex = false;  // waiting initials are settled before it runs
    };
    struct OriginColumns {
        QString table;
        QHash<int, QString> columns;  // by attribute number
    };

    QString translate(const QString& statement, QStringList& parameters);
    const Prepared& prepare(const QString& statement);
    QString completeDistinctOrder(const QString& sql, qsizetype at);
    pg_result* run(const QString& statement, const QVariantMap& params);
    pg_result* runOnce(const Prepared& p, const QVariantMap& params);
    pg_result* runNative(const QString& sql);
    long long executeInTransaction(const QString& statement, const QVariantMap& params);
    void createScratchTables();
    void keepNameIndex(void (*work)(Engine&));
    void releaseWriteLock();
    const OriginColumns& originOf(unsigned int tableOid);
    ResultColumn describeColumn(pg_result* result, int i);
    ResultSet resultOf(pg_result* result);
    void requireOpen() const;

    pg_conn* conn_ = nullptr;
    QString connection_;
    QHash<QString, Prepared> cache_;
    QHash<unsigned int, OriginColumns> origins_;
    long long lastInsertId_ = 0;
    bool holdsWriteLock_ = false;
    bool keepingNameIndex_ = false;
    StatementStats stats_;
};

}  // namespace talvor::db
