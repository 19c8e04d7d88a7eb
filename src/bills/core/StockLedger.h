#pragma once

#include <QDate>
#include <QString>

#include "datamodel/db/Engine.h"

namespace talvor {

// The stock ledger is storemain: one row per goods code with the quantity on hand and the
// weighted-average cost price. Each operation finds the code's row through the unique index
// and writes it at once; an empty quantity or cost counts as 0. Quantities may go negative.

// Adds the quantity at the unit price. The new cost is (C×A + p×q)/(A + q), from the row as it
// was, stored unrounded; when A + q is not above zero there is no average, and the unit price
// becomes the cost. A code without a row gets one at that price and quantity.
void ReceiveIntoStock(db::Engine& engine, const QString& code, double quantity, double unitPrice);

// Takes the quantity out, leaving the cost alone. A code without a row gets one holding the
// negative quantity and no cost.
void IssueFromStock(db::Engine& engine, const QString& code, double quantity);

// Adds the change to the quantity only, so taking a receipt back out keeps its effect on the
// average. A code without a row is left alone.
void RevertStockQuantity(db::Engine& engine, const QString& code, double change);

// Whether a stock-taking was saved in the calendar month of the date: its bills are locked
// against deletion.
bool IsMonthStockTaken(db::Engine& engine, const QDate& date);

}  // namespace talvor
