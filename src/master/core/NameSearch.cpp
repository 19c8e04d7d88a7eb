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

// instr() rather than like: what the user types is never read as a pattern. The initials are
// looked up by the row's name, the key of name_pinyin, one row at a time: a walk in the order
// of codes that stops at the first match reads no more than it passes (the server would
// rather read every name's initials at once for an exists()).
QString nameMatches(NamedTable table) {
    return QStringLiteral(
               "(instr(lower(%1), :typed) > 0 or instr((select initials from name_pinyin "
               "where name = %1), :typed) > 0)")
        .arg(nameColumn(table));
}

QVariantMap namedParams(const QString& typed) {
    return {{QStringLiteral("typed"), typed.trimmed().toLower()}};
}

// Read from name_pinyin, in the order of its key: a text that many names match stops at the
// first `limit` of them, and one that few match reads no more than the small index rows; the
// names found are then checked against the table by its name index.
QStringList matchingNames(db::Engine& engine, NamedTable table, const QString& typed, int limit) {
    if (typed.trimmed().isEmpty()) return {};
    const db::ResultSet result = engine.query(
        QStringLiteral("select top %1 name from name_pinyin where (instr(initials, :typed) > 0 "
                       "or instr(lower(name), :typed) > 0) and exists (select 1 from %2 where "
                       "%3 = name_pinyin.name) order by name")
            .arg(limit)
            .arg(tableName(table), nameColumn(table)),
        namedParams(typed));
    QStringList names;
    for (const db::ResultRow& row : result.rows) names << row[0].toString();
    return names;
}

namespace {

// The first code after `after` among the rows the condition keeps, else the first of all.
std::optional<QString> nextCodeWhere(db::Engine& engine, NamedTable table, const QString& condition,
                                     QVariantMap params, const QString& after) {
    const QString code = codeColumn(table);
    params.insert(QStringLiteral("after"), after);
    for (const QString& from : {code + QStringLiteral(" > :after and "), QString()}) {
        const db::ResultSet result =
            engine.query(QStringLiteral("select top 1 %1 from %2 where %3%4 order by %1")
                             .arg(code, tableName(table), from, condition),
                         params);
        if (!result.rows.empty()) return result.rows[0][0].toString();
    }
    return std::nullopt;
}

// Up to this many matching names are looked up by the name index; beyond, matches are so
// common that walking the codes in order meets one at once.
constexpr int kFewNames = 200;

}  // namespace

std::optional<QString> nextMatchingCode(db::Engine& engine, NamedTable table, const QString& typed,
                                        const QString& after) {
    const QStringList names = matchingNames(engine, table, typed, kFewNames);
    if (names.isEmpty()) return std::nullopt;
    if (names.size() == kFewNames)
        return nextCodeWhere(engine, table, nameMatches(table), namedParams(typed), after);
    // Each name is bound as a parameter of its own: :n0, :n1, ...
    QStringList parameters;
    QVariantMap params;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString parameter = QStringLiteral("n%1").arg(i);
        parameters << u':' + parameter;
        params.insert(parameter, names[i]);
    }
    return nextCodeWhere(engine, table,
                         QStringLiteral("%1 in (%2)").arg(nameColumn(table), parameters.join(u',')),
                         params, after);
}

}  // namespace talvor
