#include "datamodel/db/DatabaseCopy.h"

#include <QStringList>

#include "datamodel/db/DbError.h"
#include "datamodel/db/Schema.h"

namespace talvor::db {

namespace {

// Rows read from the source at once, and rows written by one insert statement.
constexpr int kReadChunk = 5000;
constexpr int kRowsPerInsert = 100;

long long rowCount(Engine& engine, const QString& table) {
    return engine.query(QStringLiteral("select count(*) from ") + table).rows[0][0].toLongLong();
}

QStringList columnNames(const TableDef& table) {
    QStringList names;
    for (const ColumnDef& c : table.columns) names << QString::fromLatin1(c.name);
    return names;
}

// One insert of `rows` rows, its values bound as :r<row>_<column>.
QString insertStatement(const QString& table, const QStringList& columns, int rows) {
    QStringList tuples;
    for (int r = 0; r < rows; ++r) {
        QStringList values;
        for (qsizetype c = 0; c < columns.size(); ++c)
            values << QStringLiteral(":r%1_%2").arg(r).arg(c);
        tuples << u'(' + values.join(u',') + u')';
    }
    return QStringLiteral("insert into %1 (%2) values %3")
        .arg(table, columns.join(u','), tuples.join(u','));
}

void writeRows(Engine& to, const QString& table, const QStringList& columns,
               const std::vector<ResultRow>& rows, size_t from, size_t count) {
    QVariantMap params;
    for (size_t r = 0; r < count; ++r)
        for (qsizetype c = 0; c < columns.size(); ++c)
            params.insert(QStringLiteral("r%1_%2").arg(r).arg(c), rows[from + r][size_t(c) + 1]);
    to.execute(insertStatement(table, columns, int(count)), params);
}

// Reads the source in the order it stored the rows, a chunk at a time, so that a large table
// never sits in memory whole.
void copyTable(Engine& from, Engine& to, const TableDef& def, const CopyProgress& progress) {
    const QString table = QString::fromLatin1(def.name);
    const QStringList columns = columnNames(def);
    const long long total = rowCount(from, table);
    const QString read = QStringLiteral(
                             "select top %1 rowid,%2 from %3 where rowid>:after "
                             "order by rowid")
                             .arg(kReadChunk)
                             .arg(columns.join(u','), table);
    long long done = 0;
    qint64 after = -1;
    if (progress) progress(table, done, total);
    for (;;) {
        const ResultSet chunk = from.query(read, {{QStringLiteral("after"), after}});
        if (chunk.rows.empty()) break;
        for (size_t at = 0; at < chunk.rows.size(); at += kRowsPerInsert) {
            const size_t count = std::min(chunk.rows.size() - at, size_t(kRowsPerInsert));
            writeRows(to, table, columns, chunk.rows, at, count);
        }
        after = chunk.rows.back()[0].toLongLong();
        done += qint64(chunk.rows.size());
        if (progress) progress(table, done, total);
    }
}

void compareCounts(Engine& from, Engine& to, const QString& table) {
    const long long source = rowCount(from, table);
    const long long target = rowCount(to, table);
    if (source != target)
        throw DbError(QStringLiteral("表 %1 复制后行数不符：本地 %2 行，服务器 %3 行")
                          .arg(table)
                          .arg(source)
                          .arg(target));
}

}  // namespace

void copyDatabase(Engine& from, Engine& to, const CopyProgress& progress) {
    Transaction tx(to);
    createTables(to);
    for (const TableDef& def : schemaTables())
        if (!def.scratch) copyTable(from, to, def, progress);
    for (const TableDef& def : schemaTables())
        if (!def.scratch) compareCounts(from, to, QString::fromLatin1(def.name));
    tx.commit();
}

}  // namespace talvor::db
