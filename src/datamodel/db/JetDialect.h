#pragma once

#include <QString>
#include <QStringList>

namespace talvor::db {

// The statements of this program are written in the dialect of the desktop database it was
// first built for. translateJet turns one into SQLite's SQL:
//   select [distinct] top N ...   -> select [distinct] ... limit N (also inside a subquery)
//   delete * from t               -> delete from t
//   "text" as a literal           -> 'text'
//   [name]                        -> "name"
//   #2024-1-31#, #1/31/2024#      -> '2024-01-31' (the form dates are stored in)
//   a / b                         -> a *1.0/ b   (division never truncates to an integer)
//   a & b                         -> a || b      (text concatenation)
// Quoted texts are never rewritten. year(), month() and trim() are functions the engine
// provides; parameters keep their :name form.
// For PostgreSQL, [Name] becomes "name" (the server keeps unquoted names in lower case, the
// old engine compared them without case) and each :name becomes $1, $2, ... in the order of
// `parameters`.
enum class SqlDialect { Sqlite, Postgres };

struct JetTranslation {
    QString sql;
    // For "insert into t select ..." without a column list: the target table and the
    // offset of the select in sql, so the engine can name the columns the select fills.
    QString insertTarget;
    qsizetype selectOffset = -1;
    // For a "select distinct" without an order of its own: where an "order by" of every
    // result column belongs. The old engine returned distinct rows sorted, and screens
    // rely on that order (bills settled oldest first, statistics by company and bill).
    qsizetype distinctOrderAt = -1;
    // PostgreSQL: the name of each numbered parameter, $1 first.
    QStringList parameters;
};

JetTranslation translateJet(const QString& statement, SqlDialect dialect = SqlDialect::Sqlite);

}  // namespace talvor::db
