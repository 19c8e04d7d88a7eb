#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>
#include <ctime>
#include <stdexcept>

#include "BenchData.h"
#include "PurchaseEntry.h"
#include "Timing.h"
#include "bills/core/BillOperations.h"
#include "datamodel/DataModule.h"

namespace talvor::bench {
namespace {

// Processor time of this thread: what the writes cost without the wait for the disk.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Wall and processor time of one call.
struct Samples {
    std::vector<double> wall, cpu;

    template <typename F>
    double time(F f) {
        const double cpuStart = cpuSeconds();
        wall.push_back(timed(f));
        cpu.push_back(cpuSeconds() - cpuStart);
        return wall.back();
    }
};

// The same rows written through the C library with prepared statements, in one transaction.
class RawWriter : RawConnection {
  public:
    RawWriter() {
        sqlite3_open_v2(writableBenchDatabase().toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE,
                        nullptr);
        run("PRAGMA journal_mode=WAL");
        run("PRAGMA synchronous=FULL");
        header_ = prepare(
            "insert into inmain (bill_no,bill_date,comp_code,shou_tota,bill_type) "
            "values (?,'2026-12-20','C00001',?,'in')");
        headerTotal_ = prepare("update inmain set shou_tota=? where in_id=?");
        line_ =
            prepare("insert into ingoods (bill_no,gods_code,sub_amou,unit_pric) values (?,?,?,?)");
        lineAmount_ = prepare("update ingoods set sub_amou=? where in_id=?");
        stock_ = prepare("update storemain set cost_pric=?,gods_amou=? where gods_code=?");
        amount_ = prepare("update storemain set gods_amou=? where gods_code=?");
    }
    ~RawWriter() {
        for (sqlite3_stmt* s : {header_, headerTotal_, line_, lineAmount_, stock_, amount_})
            sqlite3_finalize(s);
        sqlite3_close(db_);
    }

    // Header, twenty lines and twenty ledger rows.
    void newBill(int bill) {
        const QByteArray no = billNo(bill).toUtf8();
        run("BEGIN IMMEDIATE");
        sqlite3_bind_text(header_, 1, no.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(header_, 2, 1000.0);
        step(header_);
        headerId_ = sqlite3_last_insert_rowid(db_);
        lineIds_.clear();
        for (int line = 0; line < kLinesPerBill; ++line) {
            const QByteArray code = lineCode(bill, line).toUtf8();
            sqlite3_bind_text(line_, 1, no.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(line_, 2, code.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(line_, 3, 1 + line % 5);
            sqlite3_bind_double(line_, 4, linePrice(line));
            step(line_);
            lineIds_.push_back(sqlite3_last_insert_rowid(db_));
            setStock(code, 9.5, 100.0 + line);
        }
        run("COMMIT");
        lastBill_ = bill;
    }

    // The header, twenty lines and forty ledger writes: each line taken out and put back.
    void editBill(int round) {
        run("BEGIN IMMEDIATE");
        sqlite3_bind_double(headerTotal_, 1, 1000.0 + round);
        sqlite3_bind_int64(headerTotal_, 2, headerId_);
        step(headerTotal_);
        for (int line = 0; line < kLinesPerBill; ++line) {
            sqlite3_bind_double(lineAmount_, 1, 1 + (line + round) % 5);
            sqlite3_bind_int64(lineAmount_, 2, lineIds_[size_t(line)]);
            step(lineAmount_);
            const QByteArray code = lineCode(lastBill_, line).toUtf8();
            sqlite3_bind_double(amount_, 1, 100.0 + line);
            sqlite3_bind_text(amount_, 2, code.constData(), -1, SQLITE_TRANSIENT);
            step(amount_);
        }
        for (int line = 0; line < kLinesPerBill; ++line)
            setStock(lineCode(lastBill_, line).toUtf8(), 9.5, 101.0 + line);
        run("COMMIT");
    }

  private:
    void setStock(const QByteArray& code, double cost, double amount) {
        sqlite3_bind_double(stock_, 1, cost);
        sqlite3_bind_double(stock_, 2, amount);
        sqlite3_bind_text(stock_, 3, code.constData(), -1, SQLITE_TRANSIENT);
        step(stock_);
    }

    sqlite3_stmt *header_, *headerTotal_, *line_, *lineAmount_, *stock_, *amount_;
    long long headerId_ = 0;
    std::vector<long long> lineIds_;
    int lastBill_ = 0;
};

// The whole ledger read for the pass, each line's row found by walking it, as the program
// first did; written in one transaction, so that only the reading differs.
void saveReadingWholeLedger(PurchaseScreen& screen) {
    db::Transaction tx(screen.module.AdoConn());
    screen.lines->writeBatch();
    screen.header->writeBatch();
    Dataset* store = screen.module.StoreQ;
    store->setSql(QStringLiteral("select * from storemain "));
    store->reopen();
    for (int row = 0; row < screen.lines->recordCount(); ++row) {
        const QString code = screen.lines->value(row, QStringLiteral("gods_code")).toString();
        const double q = screen.lines->value(row, QStringLiteral("sub_amou")).toDouble();
        const double p = screen.lines->value(row, QStringLiteral("unit_pric")).toDouble();
        if (!store->locate(QStringLiteral("gods_code"), code)) throw std::runtime_error("no row");
        const double a = store->number(QStringLiteral("gods_amou"));
        const double c = store->number(QStringLiteral("cost_pric"));
        store->setValue(QStringLiteral("cost_pric"), (c * a + p * q) / (a + q));
        store->setValue(QStringLiteral("gods_amou"), a + q);
        store->post();
    }
    tx.commit();
    screen.lines->batchCommitted();
    screen.header->batchCommitted();
}

void report(benchmark::State& state, const Samples& ours, const Samples& raw) {
    state.counters["median_ms"] = median(ours.wall) * 1e3;
    state.counters["raw_median_ms"] = median(raw.wall) * 1e3;
    state.counters["ratio_to_raw"] = median(ours.wall) / median(raw.wall);
    state.counters["cpu_median_ms"] = median(ours.cpu) * 1e3;
    state.counters["raw_cpu_median_ms"] = median(raw.cpu) * 1e3;
    state.counters["cpu_ratio_to_raw"] = median(ours.cpu) / median(raw.cpu);
}

// Each round writes one bill through SaveBill and one through raw SQLite, alternately, so a
// noisy machine disturbs both alike.
void BM_SaveNewPurchase(benchmark::State& state) {
    PurchaseScreen screen(fileModule(writableBenchDatabase()));
    RawWriter raw;
    Samples ours, rawTimes;
    for (auto _ : state) {
        screen.enterBill();
        state.SetIterationTime(ours.time([&] { screen.save(); }));
        rawTimes.time([&] { raw.newBill(screen.bills); });
    }
    report(state, ours, rawTimes);
}

void BM_SaveEditedPurchase(benchmark::State& state) {
    PurchaseScreen screen(fileModule(writableBenchDatabase()));
    RawWriter raw;
    screen.enterBill();
    screen.save();
    raw.newBill(screen.bills);
    Samples ours, rawTimes;
    int round = 0;
    for (auto _ : state) {
        screen.editBill(++round);
        state.SetIterationTime(ours.time([&] { screen.save(); }));
        rawTimes.time([&] { raw.editBill(round); });
    }
    report(state, ours, rawTimes);
}

void BM_SaveNewPurchaseReadingWholeLedger(benchmark::State& state) {
    PurchaseScreen screen(fileModule(writableBenchDatabase()));
    Samples times;
    for (auto _ : state) {
        screen.enterBill();
        state.SetIterationTime(times.time([&] { saveReadingWholeLedger(screen); }));
    }
    state.counters["median_ms"] = median(times.wall) * 1e3;
}

BENCHMARK(BM_SaveNewPurchase)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_SaveEditedPurchase)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_SaveNewPurchaseReadingWholeLedger)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
}  // namespace talvor::bench
