#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "bills/core/BillKind.h"
#include "datamodel/Dataset.h"
#include "datamodel/Error.h"

namespace talvor {

// A bill's lines as stored when its editing began; the next save takes them back out of the
// ledger before it applies the lines as they are then.
struct BillSnapshot {
    struct Line {
        QString godsCode;
        double subAmou = 0;
        QString remark;
    };
    std::vector<Line> lines;  // in line order

    static BillSnapshot of(const Dataset& lines);
};

// What a bill operation did, when it did not fail. A refusal carries the message to show.
struct BillResult {
    enum class Outcome { Written, Refused, NothingDone };
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
// its lines with their pending changes; `snapshot` is given when a saved bill was edited. The
// total quantity is the one the screen shows: a bill whose total is not above 0 is refused
// with "数量不能为0". A new bill whose number another bill took in the meantime gets the next
// free one. Throws BillError.
BillResult SaveBill(const BillKind& kind, Dataset& header, Dataset& lines,
                    const std::optional<BillSnapshot>& snapshot, double totalQuantity);

// Deletes a stored bill and takes its lines back out of the ledger, in one transaction; a bill
// of a stock-taken month is refused with "本单所在月份已经盘点，不可删除". `confirm` is asked
// after that check and before anything is written; false leaves the bill alone. `lines` holds
// the bill's stored lines. The caller opens its header and lines again afterwards. Throws
// BillError.
BillResult DeleteBill(const BillKind& kind, const QString& billNo, const QDate& billDate,
                      const Dataset& lines, const std::function<bool()>& confirm = {});

}  // namespace talvor
