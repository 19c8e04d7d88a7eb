#pragma once

#include <QString>

namespace talvor::db {

// What the user reads when the database engine fails: Chinese words that say what happened and
// what to do, then the engine's own text on a detail line. extendedCode is SQLite's extended
// result code; statement, when given, is the statement with its values written in, so that a
// duplicate code can be named.
QString engineFailureText(int extendedCode, const QString& engineText,
                          const QString& statement = {});

// The same for a database file that cannot be opened, naming the file.
QString openFailureText(int extendedCode, const QString& engineText, const QString& path);

// What a database server says of a failed statement.
struct ServerFailure {
    QString state;       // SQLSTATE, empty when the connection itself failed
    QString message;     // its primary message
    QString column;      // the column a not-null failure names
    QString constraint;  // the check a row failed; the schema names each by what it asks
    QString detail;      // e.g. "Key (gods_code)=(G001) already exists."
};

QString serverFailureText(const ServerFailure& failure);

}  // namespace talvor::db
