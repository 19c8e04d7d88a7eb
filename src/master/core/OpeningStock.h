#pragma once

#include "datamodel/db/Engine.h"

namespace talvor {

// Adds a ledger row, with only its code, for every goods that has none; existing rows and
// their quantities stay. All in one transaction. Returns the number of rows added.
long long ImportGoodsIntoStock(db::Engine& engine);

}  // namespace talvor
