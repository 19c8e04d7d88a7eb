#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

#include "datamodel/db/JetDialect.h"

namespace talvor::db {

// The logical type of a column, as the schema declares it.
enum class ColumnType { Text, Float, Integer, Auto, DateTime, Decimal, Unknown };

struct ResultColumn {
    QString name;    // the name the statement gives the column (alias or column name)
    QString table;   // base table the value comes from, empty for expressions
    QString origin;  // base column the value comes from, empty for expressions
    ColumnType type = ColumnType::Unknown;
};

using ResultRow = std::vector<QVariant>;

struct ResultSet {
    std::vector<ResultColumn> columns;
    std::vector<ResultRow> rows;
    int columnIndex(const QString& name) const;  // -1 when absent; names compare without case
};

struct TableColumn {
    QString name;
    ColumnType type = ColumnType::Unknown;
    int width = 0;  // characters for text(n), 0 when not fixed
};

// Counters of one statement run, for tests that guard indexed access paths.
struct StatementStats {
    long long fullScanSteps = 0;
};

// What the program needs of a database engine. Statements are given in the program's own
// dialect (see JetDialect); an engine translates them into its SQL. Values bind by name:
// QString, double, integers, QDate, QDateTime and null QVariant.
class Engine {
  public:
    virtual ~Engine() = default;

    virtual void open(const QString& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString path() const = 0;

    virtual ResultSet query(const QString& statement, const QVariantMap& params = {}) = 0;
    // Runs a statement without result rows; returns the number of rows it changed.
    virtual long long execute(const QString& statement, const QVariantMap& params = {}) = 0;
    virtual long long lastInsertId() const = 0;

    // Hands the rows of a query over at most `chunk` rows at a time (the last time possibly
    // none), for results too large to hold whole. `take` runs no statement of this engine.
    using ChunkReader = std::function<void(const ResultSet& rows)>;
    virtual void queryInChunks(const QString& statement, int chunk, const ChunkReader& take) = 0;

    virtual void beginWrite() = 0;
    // A read-only transaction that sees one committed state of the database until it ends,
    // while other connections go on writing.
    virtual void beginSnapshot() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    virtual std::vector<TableColumn> tableColumns(const QString& table) = 0;

    // The SQL the engine speaks, and a way to run it untranslated (the schema of a new
    // database).
    virtual SqlDialect dialect() const = 0;
    virtual void runScript(const QString& sql) = 0;

    // Writes every committed change into the database file itself, so that a plain copy of
    // the file (backup) holds them all. Engines that always write the file do nothing.
    virtual void checkpoint() {}

    // Accumulated over every statement since the last reset.
    virtual StatementStats stats() const = 0;
    virtual void resetStats() = 0;

    // Called before each statement runs; tests use it to inject a failure in the middle of
    // an operation.
    void setStatementHook(std::function<void(const QString& sql)> hook) { hook_ = std::move(hook); }

  protected:
    void beforeStatement(const QString& statement) {
        if (hook_) hook_(statement);
    }

  private:
    std::function<void(const QString&)> hook_;
};

// One transaction: begun at construction, rolled back unless commit() was called. Nested
// guards join the outer transaction, so an operation can call another one.
class Transaction {
  public:
    enum Kind { Write, Snapshot };
    explicit Transaction(Engine& engine, Kind kind = Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    Engine& engine_;
    bool owner_ = false;
    bool done_ = false;
};

}  // namespace talvor::db
