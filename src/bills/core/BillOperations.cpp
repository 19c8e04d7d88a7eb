#include "bills/core/BillOperations.h"

#include "bills/core/StockLedger.h"
#include "common/core/Routines.h"
#include "datamodel/DisplayFormat.h"

namespace talvor {

namespace {

constexpr QStringView kNotIntoStock = u"不入库";

BillResult refused(const QString& message) { return {BillResult::Outcome::Refused, message}; }
BillResult written() { return {BillResult::Outcome::Written, {}}; }

// Runs a step of an operation, turning whatever it throws into the error a screen shows.
template <typename Step>
auto guarded(Step step) {
    try {
        return step();
    } catch (const std::exception& e) {
        throw BillError(QString::fromUtf8(e.what()));
    }
}

BillResult stale() {
    return {BillResult::Outcome::Stale, QStringLiteral("本单已被其他用户修改或删除，请重新打开。")};
}

// A line's part in the ledger.
struct StockLine {
    QString godsCode;
    double subAmou = 0;
    QString remark;
};

StockLine lineAt(const Dataset& lines, int row) {
    return {lines.value(row, QStringLiteral("gods_code")).toString(),
            lines.value(row, QStringLiteral("sub_amou")).toDouble(),
            lines.value(row, QStringLiteral("remark")).toString()};
}

bool movesStock(const BillKind& kind, const QString& remark) {
    return !(kind.honoursNotIntoStock && remark == kNotIntoStock);
}

// The bill's lines as the database holds them now, in line order.
std::vector<StockLine> storedLines(db::Engine& engine, const BillKind& kind,
                                   const QString& billNo) {
    const db::ResultSet stored = engine.query(
        QStringLiteral("select gods_code,sub_amou,remark from %1 where bill_no=:bill_no "
                       "order by in_id")
            .arg(kind.lineTable),
        {{QStringLiteral("bill_no"), billNo}});
    std::vector<StockLine> lines;
    for (const db::ResultRow& row : stored.rows)
        lines.push_back({row[0].toString(), row[1].toDouble(), row[2].toString()});
    return lines;
}

// Whether the bill is still stored as the screen read it: its header row, and its lines as a
// whole, none changed, removed or added by another copy.
bool isStoredAsShown(const BillKind& kind, const Dataset& header, const Dataset& lines,
                     const QString& billNo) {
    return header.isStoredAsRead(header.currentRow()) &&
           lines.areStoredAsRead(
               QStringLiteral("select * from %1 where bill_no=:bill_no").arg(kind.lineTable),
               {{QStringLiteral("bill_no"), billNo}});
}

void revertLines(db::Engine& engine, const BillKind& kind, const std::vector<StockLine>& lines) {
    for (const StockLine& line : lines)
        if (movesStock(kind, line.remark))
            RevertStockQuantity(engine, line.godsCode,
                                kind.receiving ? -line.subAmou : line.subAmou);
}

void applyLines(db::Engine& engine, const BillKind& kind, const Dataset& lines) {
    for (int row = 0; row < lines.recordCount(); ++row) {
        const StockLine line = lineAt(lines, row);
        if (!movesStock(kind, line.remark)) continue;
        if (kind.receiving)
            ReceiveIntoStock(engine, line.godsCode, line.subAmou,
                             lines.value(row, QStringLiteral("unit_pric")).toDouble());
        else
            IssueFromStock(engine, line.godsCode, line.subAmou);
    }
}

bool isBillNoHeld(db::Engine& engine, const BillKind& kind, const QString& billNo) {
    const db::ResultSet found = engine.query(
        QStringLiteral("select top 1 bill_no from %1 where bill_no=:bill_no").arg(kind.headerTable),
        {{QStringLiteral("bill_no"), billNo}});
    return !found.rows.empty();
}

// Another copy of the program may have saved a bill begun in the same second.
void keepBillNoFree(db::Engine& engine, const BillKind& kind, Dataset& header, Dataset& lines) {
    const QString taken = header.text(QStringLiteral("bill_no"));
    if (!isBillNoHeld(engine, kind, taken)) return;
    QDateTime begun = QDateTime::fromString(taken, QStringLiteral("yyyyMMddHHmmss"));
    if (!begun.isValid()) begun = QDateTime::currentDateTime();
    const QString fresh = NewBillNo(engine, kind, begun);
    // The lines follow the header by its number: unless their parameter moves with it,
    // posting the header would read them again and drop their pending changes.
    const QVariantMap params = lines.params();
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        if (it.value() == QVariant(taken)) lines.setParam(it.key(), fresh);
    header.setValue(QStringLiteral("bill_no"), fresh);
}

void tieLinesToHeader(const Dataset& header, Dataset& lines) {
    const QVariant billNo = header.value(QStringLiteral("bill_no"));
    const int current = lines.currentRow();
    bool moved = false;
    for (int row = 0; row < lines.recordCount(); ++row) {
        if (lines.value(row, QStringLiteral("bill_no")) == billNo) continue;
        lines.setCurrentRow(row);
        lines.setValue(QStringLiteral("bill_no"), billNo);
        lines.post();
        moved = true;
    }
    if (moved) lines.setCurrentRow(current);
}

// The amount due is the lines' total as the screen shows it, "#0.##", read back.
double amountDue(const Dataset& lines) {
    double total = 0;
    for (int row = 0; row < lines.recordCount(); ++row)
        total += lines.value(row, QStringLiteral("sub_amou")).toDouble() *
                 lines.value(row, QStringLiteral("unit_pric")).toDouble();
    return formatFloat(total).toDouble();
}

void stampHeader(const BillKind& kind, Dataset& header, const Dataset& lines) {
    const QVariant date = header.value(QStringLiteral("bill_date"));
    if (date.typeId() == QMetaType::QDateTime)
        header.setValue(QStringLiteral("bill_date"), date.toDateTime().date());
    header.setValue(QStringLiteral("shou_tota"), amountDue(lines));
    header.setValue(QStringLiteral("bill_type"), QString(kind.billType));
}

BillResult writeBill(const BillKind& kind, Dataset& header, Dataset& lines) {
    db::Engine& engine = *header.engine();
    db::Transaction tx(engine);
    const bool edited = header.wasRead(header.currentRow());
    std::vector<StockLine> former;
    if (edited) {
        const QString billNo = header.text(QStringLiteral("bill_no"));
        if (!isStoredAsShown(kind, header, lines, billNo)) return stale();
        former = storedLines(engine, kind, billNo);
    }
    // End the grid's edit first, so that the numbering and the total below see the lines as
    // they will be written: the line being typed counts, an untouched new one is dropped.
    lines.checkBrowseMode();
    if (!edited) keepBillNoFree(engine, kind, header, lines);
    tieLinesToHeader(header, lines);
    stampHeader(kind, header, lines);
    lines.writeBatch();
    header.writeBatch();
    revertLines(engine, kind, former);
    applyLines(engine, kind, lines);
    tx.commit();
    return written();
}

BillResult monthLocked() { return refused(QStringLiteral("本单所在月份已经盘点，不可删除")); }

void deleteRows(db::Engine& engine, const BillKind& kind, const QString& billNo) {
    const QVariantMap params{{QStringLiteral("bill_no"), billNo},
                             {QStringLiteral("bill_type"), QString(kind.billType)}};
    const QString header =
        QStringLiteral("delete * from %1 where bill_no=:bill_no and bill_type=:bill_type")
            .arg(kind.headerTable);
    const QString lines =
        QStringLiteral("delete * from %1 where bill_no=:bill_no").arg(kind.lineTable);
    engine.execute(kind.linesDeletedFirst ? lines : header, params);
    engine.execute(kind.linesDeletedFirst ? header : lines, params);
}

}  // namespace

BillError::BillError(const QString& reason)
    : Error(QStringLiteral("保存失败：") + reason), reason_(reason) {}

QString NewBillNo(db::Engine& engine, const BillKind& kind, const QDateTime& moment) {
    QDateTime at = moment;
    while (isBillNoHeld(engine, kind, NowStamp(at))) at = at.addSecs(1);
    return NowStamp(at);
}

BillResult SaveBill(const BillKind& kind, Dataset& header, Dataset& lines, double totalQuantity) {
    if (!(totalQuantity > 0)) return refused(QStringLiteral("数量不能为0"));
    BillResult result;
    try {
        result = guarded([&] { return writeBill(kind, header, lines); });
    } catch (const BillError&) {
        lines.batchRolledBack();
        header.batchRolledBack();
        throw;
    }
    if (!result.written()) return result;
    lines.batchCommitted();
    header.batchCommitted();
    return result;
}

BillResult DeleteBill(const BillKind& kind, const Dataset& header, const Dataset& lines,
                      const std::function<bool()>& confirm) {
    const QString number = header.text(QStringLiteral("bill_no")).trimmed();
    if (number.isEmpty()) return {};
    const QDate billDate = header.value(QStringLiteral("bill_date")).toDate();
    db::Engine& engine = *lines.engine();
    if (guarded([&] { return IsMonthStockTaken(engine, billDate); })) return monthLocked();
    if (confirm && !confirm()) return {};
    return guarded([&] {
        db::Transaction tx(engine);
        // A stock-taking saved while the question was open locks the month all the same.
        if (IsMonthStockTaken(engine, billDate)) return monthLocked();
        if (!isStoredAsShown(kind, header, lines, number)) return stale();
        revertLines(engine, kind, storedLines(engine, kind, number));
        deleteRows(engine, kind, number);
        tx.commit();
        return written();
    });
}

}  // namespace talvor
