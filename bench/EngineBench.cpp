#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "BenchData.h"
#include "PurchaseEntry.h"
#include "StatisticsProgram.h"
#include "Timing.h"
#include "statistics/StatisticsScreens.h"
#include "warehouse/StockLists.h"

// The same work on the file engine (argument 0) and on a PostgreSQL server on this machine
// (argument 1), in one run on the same generated data:
//   scripts/with-postgres ./build/talvor_bench --benchmark_filter=Engine
namespace talvor::bench {
namespace {

constexpr int kCounters = 4;
constexpr int kBillsPerCounter = 40;

void reportMedian(benchmark::State& state, const std::vector<double>& times) {
    state.counters["median_ms"] = median(times) * 1e3;
}

// SaveBill of a new purchase of twenty lines.
void BM_EngineSavePurchase(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    PurchaseScreen screen(benchModule(state, true), 1000000);
    std::vector<double> times;
    for (auto _ : state) {
        screen.enterBill();
        times.push_back(timed([&] { screen.save(); }));
        state.SetIterationTime(times.back());
    }
    reportMedian(state, times);
}

// 查询 on the stock query with no filter: every ledger row with its goods' descriptions.
void BM_EngineStockQuery(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    grantAll();
    const auto module = benchModule(state, false);
    TFrmStore screen;
    auto* find = screen.findChild<QPushButton*>(QStringLiteral("cmd_find"));
    find->click();
    std::vector<double> times;
    for (auto _ : state) {
        times.push_back(timed([&] { find->click(); }));
        state.SetIterationTime(times.back());
        if (module->StoreQ->recordCount() < kGoods) throw std::runtime_error("rows");
    }
    reportMedian(state, times);
}

// 查询 on the sales ranking by goods over the year of bills.
void BM_EngineSalesRanking(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    Program<TFrmOutSortG> p(benchModule(state, false), QDate(2026, 1, 1), QDate(2026, 12, 31));
    std::vector<double> times;
    for (auto _ : state) {
        p.screen->list().close();
        times.push_back(timed([&] { p.screen->cmd_findClick(); }));
        state.SetIterationTime(times.back());
        state.counters["rows"] = p.screen->list().recordCount();
    }
    reportMedian(state, times);
}

// What one counter reports: its slowest save and when it finished.
struct CounterResult {
    double worstSeconds = 0;
    qint64 endMs = 0;
};

CounterResult readCounter(QProcess& counter) {
    if (!counter.waitForFinished(600000) || counter.exitCode() != 0)
        throw std::runtime_error("a counter failed: " +
                                 counter.readAllStandardError().toStdString());
    const QList<QByteArray> words = counter.readAllStandardOutput().trimmed().split(' ');
    if (words.size() != 2) throw std::runtime_error("a counter said nothing");
    return {words[0].toDouble(), words[1].toLongLong()};
}

// Four copies of the program, each in a process of its own, saving bills on one database at
// once: the bills per second of all of them, and the longest any one save took.
void BM_EngineFourCounters(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    const QString where = benchLocation(state, true);
    for (auto _ : state) {
        // Each counter starts up first and then waits for the same moment to begin.
        const qint64 startMs = QDateTime::currentMSecsSinceEpoch() + 5000;
        std::vector<std::unique_ptr<QProcess>> counters;
        for (int i = 0; i < kCounters; ++i) {
            auto counter = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TALVOR_BENCH_COUNTER"),
                       QStringLiteral("%1;%2;%3;%4")
                           .arg(onServer(state) ? 1 : 0)
                           .arg((i + 2) * 1000000 + int(state.iterations()) * 1000)
                           .arg(startMs)
                           .arg(where));
            counter->setProcessEnvironment(env);
            counter->start(QCoreApplication::applicationFilePath(), {});
            counters.push_back(std::move(counter));
        }
        CounterResult all;
        for (auto& counter : counters) {
            const CounterResult one = readCounter(*counter);
            all.worstSeconds = std::max(all.worstSeconds, one.worstSeconds);
            all.endMs = std::max(all.endMs, one.endMs);
        }
        const double elapsed = double(all.endMs - startMs) / 1e3;
        state.SetIterationTime(elapsed);
        state.counters["bills_per_s"] = kCounters * kBillsPerCounter / elapsed;
        state.counters["worst_wait_ms"] = all.worstSeconds * 1e3;
    }
}

BENCHMARK(BM_EngineSavePurchase)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);
BENCHMARK(BM_EngineStockQuery)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_EngineSalesRanking)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_EngineFourCounters)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

bool runAsCounter() {
    const QString counter = qEnvironmentVariable("TALVOR_BENCH_COUNTER");
    if (counter.isEmpty()) return false;
    const QStringList parts = counter.split(u';');
    const bool server = parts[0] == u"1";
    const QString where = parts.mid(3).join(u';');
    PurchaseScreen screen(server ? serverModule(where) : fileModule(where), parts[1].toInt());
    const qint64 startMs = parts[2].toLongLong();
    QThread::msleep(ulong(std::max<qint64>(0, startMs - QDateTime::currentMSecsSinceEpoch())));
    double worst = 0;
    for (int i = 0; i < kBillsPerCounter; ++i) {
        screen.enterBill();
        worst = std::max(worst, timed([&] { screen.save(); }));
    }
    std::printf("%.6f %lld\n", worst, QDateTime::currentMSecsSinceEpoch());
    return true;
}

}  // namespace talvor::bench
