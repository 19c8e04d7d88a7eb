#pragma once

#include <QString>
#include <functional>

#include "datamodel/db/Engine.h"

namespace talvor::db {

// How far a copy has come: the table being copied and its rows written so far of all.
using CopyProgress = std::function<void(const QString& table, long long done, long long total)>;

// Copies every table of the local database `from` into the empty database `to` (a shop
// moving to a server), in one transaction of `to`: either every row arrives or none. The row
// counts of both sides are compared before the commit; a difference is an error.
void copyDatabase(Engine& from, Engine& to, const CopyProgress& progress = {});

}  // namespace talvor::db
