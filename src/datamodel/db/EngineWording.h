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

}  // namespace talvor::db
