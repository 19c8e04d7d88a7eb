#include "datamodel/db/DatabaseCopy.h"

#include <QStringList>

#include "datamodel/db/DbError.h"
#include "datamodel/db/Schema.h"

namespace talvor::db {

namespace {

// Rows read from the source at once, and rows written by one insert statement.
constexpr int kReadChunk = 5000;
constexpr size_t kRowsPerInsert = 100;

long long rowCount(Engine& engine, const QString& table) {
    return engine.query(QStringLiteral("select count(*) from ") + table).rows[0][0].toLongLong();
}

// Every table but the scratch tables each connection has of its own.
std::vector<QString> copiedTables() {
    std::vector<QString> tables;
    for (const TableDef& def : schemaTables())
        if (!def.scratch) tables.push_back(QString::fromLatin1(def.name));
    return tables;
}

QStringList columnNames(const TableDef& table) {
    QStringList names;
    for (const ColumnDef& c : table.columns) names << QString::fromLatin1(c.name);
    return names;
}

// A table's rows in the order of its key, or else in the order the source keeps them, so that
// rows without a key keep their order in the copy.
QString rowOrder(const TableDef& table, const Engine& source) {
    if (*table.key) return QString::fromLatin1(table.key);
    return source.dialect() == SqlDialect::Postgres ? QStringLiteral("ctid")
                                                    : QStringLiteral("rowid");
}

// One insert of several rows, its values bound as :r<row>_<column>; made once per table and
// size, since a copy runs it for every hundred rows.
struct Insert {
    QString statement;
    std::vector<QString> parameters;  // row by row, column by column
};

Insert insertOf(const QString& table, const QStringList& columns, size_t rows) {
    Insert insert;
    QStringList tuples;
    for (size_t r = 0; r < rows; ++r) {
        QStringList values;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            insert.parameters.push_back(QStringLiteral("r%1_%2").arg(r).arg(c));
            values << u':' + insert.parameters.back();
        }
        tuples << u'(' + values.join(u',') + u')';
    }
    insert.statement = QStringLiteral("insert into %1 (%2) values %3")
                           .arg(table, columns.join(u','), tuples.join(u','));
    return insert;
}

void writeRows(Engine& to, const Insert& insert, const std::vector<ResultRow>& rows, size_t from,
               size_t count) {
    QVariantMap params;
    size_t at = 0;
    for (size_t r = from; r < from + count; ++r)
        for (const QVariant& value : rows[r]) params.insert(insert.parameters[at++], value);
    to.execute(insert.statement, params);
}

class TableCopy {
  public:
    TableCopy(Engine& from, Engine& to, const CopyProgress& progress)
        : from_(from), to_(to), progress_(progress) {}

    void copyEveryTable() {
        const std::vector<QString> tables = copiedTables();
        std::vector<long long> counts;
        for (const QString& table : tables) {
            counts.push_back(rowCount(from_, table));
            step_.rows += counts.back();
        }
        for (size_t i = 0; i < tables.size(); ++i) copyTable(tables[i], counts[i]);
        for (const QString& table : tables) compareCounts(table);
    }

  private:
    void report() const {
        if (progress_) progress_(step_);
    }

    // A chunk of the source at a time, so that a large table never sits in memory whole.
    void copyTable(const QString& table, long long rows) {
        step_.table = table;
        step_.tableRows = rows;
        step_.tableDone = 0;
        report();
        const TableDef& def = *findTable(table);
        const QStringList columns = columnNames(def);
        const QString read = QStringLiteral("select %1 from %2 order by %3")
                                 .arg(columns.join(u','), table, rowOrder(def, from_));
        const Insert full = insertOf(table, columns, kRowsPerInsert);
        from_.queryInChunks(read, kReadChunk, [&](const ResultSet& chunk) {
            if (chunk.rows.empty()) return;
            for (size_t at = 0; at < chunk.rows.size(); at += kRowsPerInsert) {
                const size_t count = std::min(chunk.rows.size() - at, kRowsPerInsert);
                if (count == kRowsPerInsert)
                    writeRows(to_, full, chunk.rows, at, count);
                else
                    writeRows(to_, insertOf(table, columns, count), chunk.rows, at, count);
            }
            step_.tableDone += qint64(chunk.rows.size());
            step_.done += qint64(chunk.rows.size());
            report();
        });
    }

    void compareCounts(const QString& table) {
        const long long source = rowCount(from_, table);
        const long long target = rowCount(to_, table);
        if (source != target)
            throw DbError(QStringLiteral("表 %1 复制后行数不符：源 %2 行，目标 %3 行")
                              .arg(table)
                              .arg(source)
                              .arg(target));
    }

    Engine& from_;
    Engine& to_;
    const CopyProgress& progress_;
    CopyStep step_;
};

}  // namespace

void copyDatabase(Engine& from, Engine& to, const CopyProgress& progress) {
    Transaction snapshot(from, Transaction::Snapshot);
    Transaction tx(to);
    createTables(to);
    TableCopy(from, to, progress).copyEveryTable();
    tx.commit();
}

void replaceDatabase(Engine& from, Engine& to, const CopyProgress& progress) {
    Transaction snapshot(from, Transaction::Snapshot);
    Transaction tx(to);
    // Deleted row by row rather than truncated, other counters read the former rows until the
    // commit instead of waiting for it.
    for (const QString& table : copiedTables()) to.execute(QStringLiteral("delete from ") + table);
    TableCopy(from, to, progress).copyEveryTable();
    tx.commit();
}

}  // namespace talvor::db
