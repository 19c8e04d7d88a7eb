#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>
#include <stdexcept>

#include "BenchData.h"
#include "Timing.h"
#include "accounts/core/Settlement.h"
#include "datamodel/DataModule.h"

namespace talvor::bench {
namespace {

using namespace Qt::StringLiterals;

constexpr int kOpenBills = 10000;
constexpr const char* kCustomer = "C00007";

template <typename F>
double timed(std::vector<double>& samples, F f) {
    samples.push_back(bench::timed(f));
    return samples.back();
}

// A copy of the bench database whose customer owes on 10,000 sales bills of the year besides
// the bills every customer has.
class RawDatabase : RawConnection {
  public:
    RawDatabase() {
        if (sqlite3_open_v2(writableBenchDatabase().toUtf8().constData(), &db_,
                            SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open the bench database");
        run("PRAGMA journal_mode=WAL");
        run("PRAGMA synchronous=FULL");
        run("BEGIN IMMEDIATE");
        sqlite3_stmt* insert = prepare(
            "insert into outmain (bill_no,bill_date,comp_code,shou_tota,fact_tota,bill_type,"
            "oper_name) values (?,?,?,?,0,'out','王五')");
        for (int i = 0; i < kOpenBills; ++i) {
            const QByteArray no = u"2099%1"_s.arg(i, 10, 10, QChar(u'0')).toUtf8();
            const QByteArray date =
                QDate(2026, 1, 1).addDays(i * 365 / kOpenBills).toString(Qt::ISODate).toUtf8();
            sqlite3_bind_text(insert, 1, no.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, date.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, kCustomer, -1, SQLITE_STATIC);
            sqlite3_bind_double(insert, 4, 100.0 + i % 900 + 0.25);
            step(insert);
        }
        sqlite3_finalize(insert);
        run("COMMIT");
    }
    ~RawDatabase() {
        for (sqlite3_stmt* s : {list_, balance_, bill_, receipt_, company_}) sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    QString path() const { return QString::fromUtf8(sqlite3_db_filename(db_, "main")); }

    // Every bill of the customer owed again, no balance, no receipts.
    void unsettle() {
        run("BEGIN IMMEDIATE");
        run("update outmain set fact_tota=0 where comp_code='C00007'");
        run("update company set rest_tota=null where comp_code='C00007'");
        run("delete from gathmain");
        run("COMMIT");
    }

    // The settlement's reading through prepared statements: the bills and the balance.
    double settle() {
        double due = 0;
        bills_.clear();
        if (!list_)
            list_ = prepare(
                "select distinct bill_no,bill_date,oper_name,comp_code,shou_tota,fact_tota "
                "from outmain where bill_date between '2026-01-01' and '2026-12-31' "
                "and comp_code='C00007' order by 1,2,3,4,5,6");
        while (sqlite3_step(list_) == SQLITE_ROW) {
            bills_.push_back(reinterpret_cast<const char*>(sqlite3_column_text(list_, 0)));
            due += sqlite3_column_double(list_, 4) - sqlite3_column_double(list_, 5);
        }
        sqlite3_reset(list_);
        if (!balance_) balance_ = prepare("select rest_tota from company where comp_code='C00007'");
        sqlite3_step(balance_);
        sqlite3_reset(balance_);
        return due;
    }

    // The same writes in one transaction: the list read again, every bill, the row, the balance.
    void save(double amount) {
        run("BEGIN IMMEDIATE");
        settle();
        if (!bill_) bill_ = prepare("update outmain set fact_tota=shou_tota where bill_no=?");
        for (const QByteArray& no : bills_) {
            sqlite3_bind_text(bill_, 1, no.constData(), -1, SQLITE_STATIC);
            step(bill_);
        }
        if (!receipt_)
            receipt_ = prepare("insert into gathmain (comp_code,fei_no,fei_tota) values (?,'R',?)");
        sqlite3_bind_text(receipt_, 1, kCustomer, -1, SQLITE_STATIC);
        sqlite3_bind_double(receipt_, 2, amount);
        step(receipt_);
        if (!company_) company_ = prepare("update company set rest_tota=0 where comp_code=?");
        sqlite3_bind_text(company_, 1, kCustomer, -1, SQLITE_STATIC);
        step(company_);
        run("COMMIT");
    }

  private:
    sqlite3_stmt *list_ = nullptr, *balance_ = nullptr, *bill_ = nullptr, *receipt_ = nullptr,
                 *company_ = nullptr;
    std::vector<QByteArray> bills_;
};

// The receipt screen's work on its own copy: 结算 over the customer's year, then 保存 of a
// receipt that pays every bill.
struct ReceiptCounter {
    RawDatabase data;
    TFrmDataMod module;

    ReceiptCounter() { module.connectTo(data.path()); }

    Settlement settle() {
        return Settle(*module.GathQ, SettlementSide::Receipts(),
                      {.compCode = QLatin1String(kCustomer),
                       .compName = u"某某贸易有限公司7"_s,
                       .billNo = {},
                       .from = QDate(2026, 1, 1),
                       .to = QDate(2026, 12, 31)});
    }
    void save(const Settlement& s) {
        const ReceiptResult result = SaveReceipt(module.AdoConn(), SettlementSide::Receipts(), s,
                                                 {.date = QDate(2026, 12, 31),
                                                  .number = u"20261231120000"_s,
                                                  .amount = s.shortfall,
                                                  .issuer = {},
                                                  .collector = {},
                                                  .checker = {},
                                                  .voucher = {},
                                                  .remark = {}});
        if (result.outcome != ReceiptResult::Outcome::Written)
            throw std::runtime_error("the receipt was not saved");
    }
};

// Each round settles and saves through the program, then does the same reading and writing
// through raw SQLite on another copy, so a noisy machine disturbs both alike. The time reported
// is settle and save together; the counters give each step and its baseline.
void BM_SettleAndSaveReceiptOverTenThousandBills(benchmark::State& state) {
    ReceiptCounter counter;
    RawDatabase raw;
    std::vector<double> settle, save, rawSettle, rawSave;
    for (auto _ : state) {
        counter.data.unsettle();
        raw.unsettle();
        Settlement s;
        double total = timed(settle, [&] { s = counter.settle(); });
        if (s.bills.size() < size_t(kOpenBills)) throw std::runtime_error("bills missing");
        total += timed(save, [&] { counter.save(s); });
        state.SetIterationTime(total);
        double owed = 0;
        timed(rawSettle, [&] { owed = raw.settle(); });
        timed(rawSave, [&] { raw.save(owed); });
    }
    state.counters["settle_ms"] = median(settle) * 1e3;
    state.counters["raw_settle_ms"] = median(rawSettle) * 1e3;
    state.counters["save_ms"] = median(save) * 1e3;
    state.counters["raw_save_ms"] = median(rawSave) * 1e3;
    state.counters["settle_ratio_to_raw"] = median(settle) / median(rawSettle);
    state.counters["save_ratio_to_raw"] = median(save) / median(rawSave);
}

BENCHMARK(BM_SettleAndSaveReceiptOverTenThousandBills)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace
}  // namespace talvor::bench
