#pragma once

#include <QDate>

#include "common/core/Progress.h"
#include "datamodel/db/Engine.h"

namespace talvor {

// Rebuilds the movement table of the month of `date`: miostemp gets one row per source (the
// previous month's count as the opening quantity, each line of the month's inmain bills as
// incoming, each line of its outmain bills as outgoing) with the closing quantity
// opening + in − out stored whole, and mios one row per goods code with their sums. Every
// bill line counts, also two alike on one bill; an empty quantity counts as 0. Bills, counts
// and the ledger are only read; miostemp and mios are written in one transaction.
void BuildMonthlyMovement(db::Engine& engine, const QDate& date, Progress& progress = unwatched());

}  // namespace talvor
