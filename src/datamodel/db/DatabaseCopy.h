#pragma once

#include <QString>
#include <functional>

#include "datamodel/db/Engine.h"

namespace talvor::db {

// How far a copy has come: the table being copied with its rows written so far of all its
// rows, and the same over every table.
struct CopyStep {
    QString table;
    long long tableDone = 0;
    long long tableRows = 0;
    long long done = 0;
    long long rows = 0;
};
using CopyProgress = std::function<void(const CopyStep& step)>;

// Copies every table of `from` into the empty database `to` (a shop moving to a server, a
// server's backup into a new file), in one transaction of `to`: either every row arrives or
// none. `from` is read in one snapshot while other connections may go on writing to it. The
// row counts of both sides are compared before the commit; a difference is an error.
void copyDatabase(Engine& from, Engine& to, const CopyProgress& progress = {});

// The same into a database that has the program's tables: their rows are replaced by those of
// `from` (a restore onto a server), all or nothing.
void replaceDatabase(Engine& from, Engine& to, const CopyProgress& progress = {});

}  // namespace talvor::db
