#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "datamodel/db/Engine.h"

namespace talvor::db {

class SqliteEngine;

struct ColumnDef {
    const char* name;
    ColumnType type;
    int width = 0;                 // for text(n); 0 leaves the width open
    bool zeroWhenOmitted = false;  // a number that is 0 unless given, and never empty
};

struct TableDef {
    const char* name;
    std::vector<ColumnDef> columns;
    // The column that identifies a row when one row is updated or deleted; empty when the
    // table has none, and a row is then found by all the values it was read with.
    const char* key = "";
    bool scratch = false;  // per connection: a temporary table
};

const std::vector<TableDef>& schemaTables();
const TableDef* findTable(const QString& name);  // names compare without case

QString createTableStatement(const TableDef& table, SqlDialect dialect = SqlDialect::Sqlite);
// The scratch tables of one connection, created when it opens.
QStringList scratchTableStatements(SqlDialect dialect = SqlDialect::Sqlite);

struct Administrator {
    QString code;
    QString name;
    QString password;
};

// Every table and index of the program, empty: the start of a new database or of a copy.
void createTables(Engine& engine);

// Creates a new database file with every table, the one userinfo row and an administrator
// who holds every right of every module.
void createDatabase(const QString& path, const Administrator& admin);
// The same in an open, empty database: a server database made for the program.
void createSchema(Engine& engine, const Administrator& admin);

// Brings a database made by an earlier version up to this one's tables.
void upgradeSchema(SqliteEngine& engine);

}  // namespace talvor::db
