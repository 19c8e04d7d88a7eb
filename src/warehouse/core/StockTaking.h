#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <vector>

#include "common/core/Progress.h"
#include "datamodel/Error.h"
#include "datamodel/db/Engine.h"

namespace talvor {

// A stock-taking or an adjustment refused before anything was written; message() says why.
class StockRefused : public Error {
  public:
    using Error::Error;
};

// The stock-taking and the adjustment work in the scratch table chektemp (gods_code,
// gods_amou, chek_amou, chek_date), one row per ledger row in code order, and write storemain
// from it. Each write below is one transaction: all of it or nothing.

// Fills chektemp with every ledger row and its book quantity; chek_amou stays empty.
void ListStockForAdjustment(db::Engine& engine);

// One adjusted quantity per listed goods; an empty or non-numeric quantity is refused.
struct StockAdjustment {
    QString code;
    QVariant quantity;
};

// Sets the quantity on hand of each listed goods, in list order; cost prices stay. A quantity
// that is no number refuses the whole adjustment, naming the goods, before anything is written.
void ApplyStockAdjustment(db::Engine& engine, const std::vector<StockAdjustment>& adjustments);

// Refills chektemp for a count of the month of `date`: every ledger row with its book
// quantity, the counted quantity starting equal to it, booked on `date`. Refused when that
// month has been counted already.
void StartStockTaking(db::Engine& engine, const QDate& date);

// Keeps the count in chektemp as the month's count in storchek and sets every counted goods'
// quantity on hand to its counted quantity. The month is checked again inside the
// transaction, so two copies of the program never save the same month twice.
void SaveStockTaking(db::Engine& engine, const QDate& date, Progress& progress = unwatched());

// Refills chektemp with the count saved for the month of `date`, in code order.
void LoadStockTaking(db::Engine& engine, const QDate& date);

// The refusal of a second count of one month.
QString monthCountedMessage();

}  // namespace talvor
