#include "accounts/core/Settlement.h"

#include <QHash>
#include <cmath>

#include "datamodel/DisplayFormat.h"
#include "datamodel/db/DbError.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

long long cents(double amount) { return std::llround(amount * 100); }
double fromCents(long long amount) { return double(amount) / 100; }
double toCent(double amount) { return fromCents(cents(amount)); }

std::vector<ListedBill> billsOf(const Dataset& list) {
    std::vector<ListedBill> bills;
    bills.reserve(size_t(list.recordCount()));
    const int billNo = list.fieldIndex(u"bill_no"_s);
    const int due = list.fieldIndex(u"shou_tota"_s);
    const int received = list.fieldIndex(u"fact_tota"_s);
    for (int row = 0; row < list.recordCount(); ++row)
        bills.push_back({list.value(row, billNo).toString(), list.value(row, due).toDouble(),
                         list.value(row, received).toDouble()});
    return bills;
}

std::vector<ListedBill> billsOf(const db::ResultSet& result) {
    const int billNo = result.columnIndex(u"bill_no"_s);
    const int due = result.columnIndex(u"shou_tota"_s);
    const int received = result.columnIndex(u"fact_tota"_s);
    std::vector<ListedBill> bills;
    bills.reserve(result.rows.size());
    for (const db::ResultRow& row : result.rows)
        bills.push_back({row[size_t(billNo)].toString(), row[size_t(due)].toDouble(),
                         row[size_t(received)].toDouble()});
    return bills;
}

double storedBalance(db::Engine& engine, const QString& compCode) {
    const db::ResultSet r =
        engine.query(u"select rest_tota from company where comp_code=:comp_code"_s,
                     {{u"comp_code"_s, compCode}});
    return r.rows.empty() ? 0 : r.rows[0][0].toDouble();
}

// The money the settlement starts from: the previous balance joins the amount when above 0.
double previousBalance(const Settlement& s) { return std::max(0.0, s.previousBalance.toDouble()); }

bool sameAmounts(const ListedBill& a, const ListedBill& b) {
    return a.due == b.due && a.received == b.received;
}

// Inside the save's transaction: the listed bills and the balance are still as settled.
bool stillAsSettled(db::Engine& engine, const SettlementSide& side, const Settlement& s) {
    QVariantMap params;
    const QString statement = BillListStatement(side, s.criteria, false, params);
    QHash<QString, ListedBill> now;
    for (ListedBill& bill : billsOf(engine.query(statement, params))) now.insert(bill.billNo, bill);
    for (const ListedBill& bill : s.bills) {
        const auto found = now.constFind(bill.billNo);
        if (found == now.cend() || !sameAmounts(*found, bill)) return false;
    }
    return s.criteria.compCode.isEmpty() ||
           storedBalance(engine, s.criteria.compCode) == s.storedBalance;
}

void writeBills(db::Engine& engine, const SettlementSide& side, const Settlement& s,
                const Allocation& allocation) {
    const QString update = u"update %1 set fact_tota=:fact_tota where bill_no=:bill_no"_s.arg(
        QLatin1String(side.billTable));
    for (const Allocation::Change& change : allocation.changes)
        engine.execute(update, {{u"fact_tota"_s, change.received},
                                {u"bill_no"_s, s.bills[size_t(change.bill)].billNo}});
}

void writeReceiptRow(db::Engine& engine, const SettlementSide& side, const Settlement& s,
                     const ReceiptEntry& entry, double amount, double newBalance) {
    const QVariantMap row = {
        {u"comp_code"_s, s.criteria.compCode},
        {u"comp_name"_s, s.criteria.compName},
        {u"bill_no"_s, s.criteria.billNo},
        {u"shou_tota"_s, toCent(s.due.toDouble())},
        {u"fact_tota"_s, toCent(s.received.toDouble())},
        {u"lack_tota"_s, toCent(s.shortfall.toDouble())},
        {u"start_date"_s, s.criteria.from},
        {u"last_tota"_s, toCent(previousBalance(s))},
        {u"end_date"_s, s.criteria.to},
        {u"fei_date"_s, entry.date},
        {u"fei_no"_s, entry.number},
        {u"fei_tota"_s, amount},
        {u"rest_tota"_s, newBalance},
        {u"oper_name"_s, entry.issuer},
        {u"fei_name"_s, entry.collector},
        {u"chek_name"_s, entry.checker},
        {u"invo_no"_s, entry.voucher},
        {u"re_mark"_s, entry.remark},
    };
    const QStringList columns = row.keys();
    engine.execute(u"insert into %1 (%2) values (:%3)"_s.arg(
                       QLatin1String(side.receiptTable), columns.join(u','), columns.join(u",:"_s)),
                   row);
}

// A surplus is kept for the next settlement; a balance this receipt used up is spent.
void writeBalance(db::Engine& engine, const Settlement& s, double newBalance) {
    if (s.criteria.compCode.isEmpty()) return;
    double balance = 0;
    if (newBalance > 0)
        balance = newBalance;
    else if (previousBalance(s) <= 0)
        return;
    engine.execute(u"update company set rest_tota=:rest_tota where comp_code=:comp_code"_s,
                   {{u"rest_tota"_s, balance}, {u"comp_code"_s, s.criteria.compCode}});
}

ReceiptResult stale() {
    return {ReceiptResult::Outcome::Stale, u"账单已被其他用户修改，请重新结算。"_s};
}

}  // namespace

const SettlementSide& SettlementSide::Receipts() {
    static const SettlementSide side{.billTable = "OutMain", .receiptTable = "gathmain"};
    return side;
}

const SettlementSide& SettlementSide::Payments() {
    static const SettlementSide side{.billTable = "InMain", .receiptTable = "paymain"};
    return side;
}

QString BillListStatement(const SettlementSide& side, const SettlementCriteria& criteria,
                          bool openOnly, QVariantMap& params) {
    QStringList lines = {u"select distinct  bill_no,bill_date,"_s,
                         u"oper_name,comp_code,shou_tota,fact_tota "_s,
                         u"from %1 "_s.arg(QLatin1String(side.billTable)),
                         u"where bill_date between :date1 and :date2 "_s};
    params = {{u"date1"_s, criteria.from}, {u"date2"_s, criteria.to}};
    // A bill saved with nothing received has no fact_tota at all, and is open all the same.
    if (openOnly) lines << u"and (shou_tota<>fact_tota or (fact_tota is null and shou_tota<>0)) "_s;
    if (criteria.byCompany()) {
        lines << u"and comp_code=:comp_code "_s;
        params.insert(u"comp_code"_s, criteria.compCode);
    }
    if (!criteria.billNo.isEmpty()) {
        lines << u"and bill_no=:bill_no "_s;
        params.insert(u"bill_no"_s, criteria.billNo);
    }
    return lines.join(u'\n');
}

bool SettlementCriteria::empty() const {
    return compCode.isEmpty() && compName.isEmpty() && billNo.isEmpty();
}

Settlement Settle(Dataset& list, const SettlementSide& side, const SettlementCriteria& criteria) {
    Settlement s;
    s.criteria = criteria;
    QVariantMap params;
    list.openWith(BillListStatement(side, criteria, false, params), params);
    s.bills = billsOf(list);
    double due = 0, received = 0;
    for (const ListedBill& bill : s.bills) {
        due += bill.due;
        received += bill.received;
    }
    s.due = formatFloat(due);
    s.received = formatFloat(received);
    s.shortfall = formatFloat(s.due.toDouble() - s.received.toDouble());
    if (!criteria.compCode.isEmpty())
        s.storedBalance = storedBalance(*list.engine(), criteria.compCode);
    s.previousBalance = formatPlainNumber(std::max(0.0, s.storedBalance));
    return s;
}

std::optional<QString> NewBalance(const Settlement& settlement, const QString& amount) {
    bool amountOk = false, shortfallOk = false;
    const double paid = amount.trimmed().toDouble(&amountOk);
    const double shortfall = settlement.shortfall.toDouble(&shortfallOk);
    if (!amountOk || !shortfallOk) return std::nullopt;
    return formatFloat(paid + previousBalance(settlement) - shortfall);
}

Allocation AllocateMoney(const std::vector<ListedBill>& bills, double money) {
    Allocation allocation;
    long long m = cents(money);
    for (const ListedBill& bill : bills) m += std::max(0LL, cents(bill.received) - cents(bill.due));
    for (size_t i = 0; i < bills.size(); ++i) {
        const ListedBill& bill = bills[i];
        const long long open = cents(bill.due) - cents(bill.received);
        long long received = cents(bill.received);
        if (open < 0 || m - open > 0) {
            if (open > 0) m -= open;
            received = cents(bill.due);
        } else {
            received += m;
            m = 0;
        }
        // A bill paid in full takes its due amount exactly, whatever its fractions of a cent.
        const double value = received == cents(bill.due) ? bill.due : fromCents(received);
        if (value != bill.received) allocation.changes.push_back({int(i), value});
    }
    allocation.leftover = fromCents(m);
    return allocation;
}

ReceiptResult SaveReceipt(db::Engine& engine, const SettlementSide& side,
                          const Settlement& settlement, const ReceiptEntry& entry) {
    bool isNumber = false;
    const double amount = toCent(entry.amount.trimmed().toDouble(&isNumber));
    if (!isNumber || !(amount > 0)) return {};
    const double newBalance =
        toCent(NewBalance(settlement, entry.amount).value_or(QString()).toDouble());
    try {
        db::Transaction tx(engine);
        if (!stillAsSettled(engine, side, settlement)) return stale();
        writeBills(engine, side, settlement,
                   AllocateMoney(settlement.bills, amount + previousBalance(settlement)));
        writeReceiptRow(engine, side, settlement, entry, amount, newBalance);
        writeBalance(engine, settlement, newBalance);
        tx.commit();
    } catch (const std::exception& e) {
        throw Error(u"保存失败："_s + QString::fromUtf8(e.what()));
    }
    return {ReceiptResult::Outcome::Written, {}};
}

}  // namespace talvor
