#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <stdexcept>

#include "bills/core/BillKind.h"
#include "datamodel/Dataset.h"
#include "datamodel/Error.h"

namespace talvor {

// What a bill operation did, when it did not fail. A refusal carries the message to show.
struct BillResult {
    // Stale: another copy changed or deleted the bill since the screen read it; nothing was
    // written, and the screen shows the bill as it is now stored.
    enum class Outcome { Written, Refused, Stale, NothingDone };
    Outcome outcome = Outcome::NothingDone;
    QString message;

    bool written() const { return outcome == Outcome::Written; }
};

// A save or deletion that failed: nothing of it was written, and the datasets still hold their
// pending changes. The screen shows message(), "保存失败：" followed by the reason.
class BillError : public Error {
  public:
    explicit BillError(const QString& reason);
    const QString& reason() const { return reason_; }

  private:
    QString reason_;
};

// The number for a bill begun at the moment: its NowStamp, or the first later second that no
// bill of the kind's header table holds yet.
QString NewBillNo(db::Engine& engine, const BillKind& kind,
                  const QDateTime& moment = QDateTime::currentDateTime());

// Writes the bill a screen holds, and its effect on the ledger, in one transaction.
// `header` is the bill's header row with the date chosen on the screen in bill_date; `lines`
// its lines with their pending changes. The total quantity is the one the screen shows: a bill
// whose total is not above 0 is refused with "数量不能为0". An edited bill must still be stored
// as the screen read it (header and lines), or the save is refused as stale; its lines as
// stored are taken back out of the ledger before the current ones are applied. A new bill whose
// number another bill took in the meantime gets the next free one. Throws BillError.
BillResult SaveBill(const BillKind& kind, Dataset& header, Dataset& lines, double totalQuantity);

// Deletes the bill of the header's current row and takes its stored lines back out of the
// ledger, in one transaction; a bill of a stock-taken month is refused with
// "本单所在月份已经盘点，不可删除", and one that another copy changed or deleted since the
// screen read `header` and `lines` is refused as stale. `confirm` is asked after the month check
// and before anything is written; false leaves the bill alone. The caller opens its header and
// lines again afterwards. Throws BillError.
BillResult DeleteBill(const BillKind& kind, const Dataset& header, const Dataset& lines,
                      const std::function<bool()>& confirm = {});

}  // namespace talvor
