#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "datamodel/Dataset.h"

namespace talvor {

// The side of the books a settlement works on: receipts settle the bills of outmain and are kept
// in gathmain, payments settle inmain and are kept in paymain.
struct SettlementSide {
    const char* billTable;     // as the statements name it
    const char* receiptTable;  // one row per saved receipt or payment

    static const SettlementSide& Receipts();
    static const SettlementSide& Payments();
};

// What the operator chose to settle. A blank company code with a name still selects by the
// code, so only bills without a company are listed.
struct SettlementCriteria {
    QString compCode;
    QString compName;
    QString billNo;
    QDate from;
    QDate to;

    bool empty() const;
    bool byCompany() const { return !compCode.isEmpty() || !compName.isEmpty(); }
};

// The statement of the bills the criteria select, oldest first, and its parameters; with
// `openOnly` only the bills whose due and settled amounts differ.
QString BillListStatement(const SettlementSide& side, const SettlementCriteria& criteria,
                          bool openOnly, QVariantMap& params);

struct ListedBill {
    QString billNo;
    double due = 0;       // shou_tota
    double received = 0;  // fact_tota
};

// One settlement as the screen shows it: the figures are texts, "#0.##" except the previous
// balance, and take part in every calculation as the numbers read back from them.
struct Settlement {
    SettlementCriteria criteria;
    std::vector<ListedBill> bills;  // in list order, oldest first
    QString due;
    QString received;
    QString shortfall;
    QString previousBalance;
    double storedBalance = 0;  // the company's rest_tota as read, for the two-copy check

    bool owed() const { return shortfall.toDouble() > 0; }
};

// Opens `list` over the bills of the criteria and computes the figures, reading the company's
// balance when a company code is given. Database errors reach the caller.
Settlement Settle(Dataset& list, const SettlementSide& side, const SettlementCriteria& criteria);

// The balance after a receipt of `amount`, "#0.##"; nothing when a text is no number.
std::optional<QString> NewBalance(const Settlement& settlement, const QString& amount);

// The allocation of money over the listed bills: the bills whose received amount changes, with
// the new amount, and the money left over.
struct Allocation {
    struct Change {
        int bill;  // index into the list
        double received;
    };
    std::vector<Change> changes;
    double leftover = 0;
};

// Raises each bill's received amount to its due amount in list order until the money runs out;
// the excess of an over-received bill is brought down to its due amount and joins the money
// first, so that it pays the bills of the list wherever they stand. Works in cents.
Allocation AllocateMoney(const std::vector<ListedBill>& bills, double money);

// What the operator typed for one receipt or payment.
struct ReceiptEntry {
    QDate date;
    QString number;
    QString amount;
    QString issuer;
    QString collector;
    QString checker;
    QString voucher;
    QString remark;
};

struct ReceiptResult {
    enum class Outcome { Written, NothingDone, Stale };
    Outcome outcome = Outcome::NothingDone;
    QString message;  // for a stale settlement
};

// Saves a receipt against the settlement in one transaction: the bills, the receipt row and the
// company's balance together. An amount that is no number above 0 saves nothing. When another
// copy changed one of the listed bills or the balance since the settlement, nothing is written
// and the result asks to settle again. A failure throws Error with "保存失败：" and the reason.
ReceiptResult SaveReceipt(db::Engine& engine, const SettlementSide& side,
                          const Settlement& settlement, const ReceiptEntry& entry);

}  // namespace talvor
