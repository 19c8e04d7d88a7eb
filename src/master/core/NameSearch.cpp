#include "master/core/NameSearch.h"

namespace talvor {

namespace {

QString nameColumn(NamedTable table) {
    return table == NamedTable::Goods ? QStringLiteral("gods_name") : QStringLiteral("comp_name");
}

QString tableName(NamedTable table) {
    return table == NamedTable::Goods ? QStringLiteral("goods") : QStringLiteral("company");
}

QString codeColumn(NamedTable table) {
    return table == NamedTable::Goods ? QStringLiteral("gods_code") : QStringLiteral("comp_code");
}

}  // namespace

// instr() rather than like: what the user types is never read as a pattern.
QString nameMatches(NamedTable table) {
    return QStringLiteral(
               "(instr(lower(%1), :typed) > 0 or %1 in (select name from name_pinyin "
               "where instr(initials, :typed) > 0))")
        .arg(nameColumn(table));
}

QVariantMap namedParams(const QString& typed) {
    return {{QStringLiteral("typed"), typed.trimmed().toLower()}};
}

QStringList matchingNames(db::Engine& engine, NamedTable table, const QString& typed, int limit) {
    if (typed.trimmed().isEmpty()) return {};
    const db::ResultSet result =
        engine.query(QStringLiteral("select distinct top %4 %1 from %2 where %3 order by %1")
                         .arg(nameColumn(table), tableName(table), nameMatches(table))
                         .arg(limit),
                     namedParams(typed));
    QStringList names;
    for (const db::ResultRow& row : result.rows) names << row[0].toString();
    return names;
}

QSet<QString> matchingCodes(db::Engine& engine, NamedTable table, const QString& typed) {
    const db::ResultSet result =
        engine.query(QStringLiteral("select %1 from %2 where %3")
                         .arg(codeColumn(table), tableName(table), nameMatches(table)),
                     namedParams(typed));
    QSet<QString> codes;
    for (const db::ResultRow& row : result.rows) codes.insert(row[0].toString().toLower());
    return codes;
}

}  // namespace talvor
