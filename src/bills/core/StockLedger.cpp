#include "bills/core/StockLedger.h"

#include <optional>

namespace talvor {

namespace {

struct LedgerRow {
    double amount = 0;
    double cost = 0;
};

QVariantMap codeParam(const QString& code) { return {{QStringLiteral("code"), code}}; }

std::optional<LedgerRow> findRow(db::Engine& engine, const QString& code) {
    const db::ResultSet found = engine.query(
        QStringLiteral("select top 1 gods_amou,cost_pric from storemain where gods_code=:code"),
        codeParam(code));
    if (found.rows.empty()) return std::nullopt;
    return LedgerRow{found.rows[0][0].toDouble(), found.rows[0][1].toDouble()};
}

void setAmount(db::Engine& engine, const QString& code, double amount) {
    QVariantMap params = codeParam(code);
    params.insert(QStringLiteral("amou"), amount);
    engine.execute(QStringLiteral("update storemain set gods_amou=:amou where gods_code=:code"),
                   params);
}

void addRow(db::Engine& engine, const QString& code, double amount, const QVariant& cost) {
    QVariantMap params = codeParam(code);
    params.insert(QStringLiteral("amou"), amount);
    params.insert(QStringLiteral("cost"), cost);
    engine.execute(QStringLiteral("insert into storemain (gods_code,gods_amou,cost_pric) "
                                  "values (:code,:amou,:cost)"),
                   params);
}

double averageCost(const LedgerRow& row, double quantity, double unitPrice) {
    const double amount = row.amount + quantity;
    if (amount <= 0) return unitPrice;
    return (row.cost * row.amount + unitPrice * quantity) / amount;
}

}  // namespace

void ReceiveIntoStock(db::Engine& engine, const QString& code, double quantity, double unitPrice) {
    const std::optional<LedgerRow> row = findRow(engine, code);
    if (!row) {
        addRow(engine, code, quantity, unitPrice);
        return;
    }
    QVariantMap params = codeParam(code);
    params.insert(QStringLiteral("amou"), row->amount + quantity);
    params.insert(QStringLiteral("cost"), averageCost(*row, quantity, unitPrice));
    engine.execute(QStringLiteral("update storemain set cost_pric=:cost,gods_amou=:amou "
                                  "where gods_code=:code"),
                   params);
}

void IssueFromStock(db::Engine& engine, const QString& code, double quantity) {
    const std::optional<LedgerRow> row = findRow(engine, code);
    if (row)
        setAmount(engine, code, row->amount - quantity);
    else
        addRow(engine, code, 0 - quantity, QVariant());
}

void RevertStockQuantity(db::Engine& engine, const QString& code, double change) {
    if (const std::optional<LedgerRow> row = findRow(engine, code))
        setAmount(engine, code, row->amount + change);
}

bool IsMonthStockTaken(db::Engine& engine, const QDate& date) {
    // A range over the stored date texts, so the index on chek_date answers it.
    const QDate first(date.year(), date.month(), 1);
    const db::ResultSet found = engine.query(
        QStringLiteral("select top 1 gods_code from storchek "
                       "where chek_date>=:first and chek_date<:next"),
        {{QStringLiteral("first"), first}, {QStringLiteral("next"), first.addMonths(1)}});
    return !found.rows.empty();
}

}  // namespace talvor
