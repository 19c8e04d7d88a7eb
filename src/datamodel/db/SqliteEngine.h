#pragma once

#include <QHash>

#include "datamodel/db/Engine.h"

struct sqlite3;
struct sqlite3_stmt;

namespace talvor::db {

// The engine behind the program: one SQLite connection. Write transactions begin immediate,
// so a read followed by a write never fails half-way on a lock held by another copy.
class SqliteEngine final : public Engine {
  public:
    SqliteEngine();
    ~SqliteEngine() override;

    // Opens an existing database file; a missing or empty file is an error, never an empty
    // database. WAL on a local disk, the rollback journal on a network file system.
    void open(const QString& path) override;
    // Creates a new database file and opens it.
    void create(const QString& path);
    void close() override;
    bool isOpen() const override { return db_ != nullptr; }
    QString path() const override { return path_; }

    ResultSet query(const QString& statement, const QVariantMap& params = {}) override;
    long long execute(const QString& statement, const QVariantMap& params = {}) override;
    long long lastInsertId() const override;
    void queryInChunks(const QString& statement, int chunk, const ChunkReader& take) override;

    void beginWrite() override;
    void beginSnapshot() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

    std::vector<TableColumn> tableColumns(const QString& table) override;
    void checkpoint() override;

    SqlDialect dialect() const override { return SqlDialect::Sqlite; }
    void runScript(const QString& sql) override;

    StatementStats stats() const override { return stats_; }
    void resetStats() override { stats_ = {}; }

    static bool isNetworkFileSystem(const QString& path);

  private:
    void openFile(const QString& path, bool create);
    void configureConnection();
    void chooseJournal(const QString& path);
    sqlite3_stmt* prepare(const QString& statement, const QVariantMap& params);
    sqlite3_stmt* prepareNative(const QString& sql);
    int resultColumnCount(const QString& sql);
    QString completeInsertSelect(const QString& sql, const QString& table, qsizetype selectOffset);
    QString completeDistinctOrder(const QString& sql, qsizetype at);
    ColumnType resultColumnType(sqlite3_stmt* stmt, int i) const;
    std::vector<ResultColumn> resultColumns(sqlite3_stmt* stmt) const;
    // Steps through `stmt`, handing its rows over `chunk` at a time (0: all at once).
    void readRows(sqlite3_stmt* stmt, size_t chunk, const std::function<void(ResultSet&)>& take);
    int step(sqlite3_stmt* stmt, QString& message);
    void finish(sqlite3_stmt* stmt);
    void run(const char* sql);
    QString scalarText(const char* sql);
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_ = nullptr;
    QString path_;
    QHash<QString, sqlite3_stmt*> cache_;
    StatementStats stats_;
};

}  // namespace talvor::db
