#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QString>

#include "BenchData.h"
#include "datamodel/DataModule.h"

namespace talvor::bench {
namespace {

// Raw SQLite: step through the rows and read every column, as cheaply as the C library allows.
void rawScan(benchmark::State& state, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(benchDatabase().toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        long long rows = 0, bytes = 0;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int i = 0; i < columns; ++i) {
                if (sqlite3_column_type(stmt, i) == SQLITE_TEXT)
                    bytes += sqlite3_column_bytes(stmt, i);
                else
                    benchmark::DoNotOptimize(sqlite3_column_double(stmt, i));
            }
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(bytes);
        state.counters["rows"] = double(rows);
    }
    sqlite3_close(db);
}

struct Module {
    TFrmDataMod module;
    Module() { module.connectTo(benchDatabase()); }
};

void BM_RawScanGoods(benchmark::State& state) {
    rawScan(state, "select * from goods order by gods_code");
}

void BM_DatasetOpenGoods(benchmark::State& state) {
    Module m;
    m.module.CompanyQ->open();
    Dataset* goods = m.module.GoodsQ;
    goods->setSql(QStringLiteral("select * from goods order by gods_code"));
    long long added = 0;
    for (auto _ : state) {
        // Freeing the previous rows is closing, not opening.
        state.PauseTiming();
        goods->close();
        state.ResumeTiming();
        const long long before = heapInUse();
        goods->open();
        added = heapInUse() - before;
        benchmark::DoNotOptimize(goods->recordCount());
    }
    state.counters["rows"] = goods->recordCount();
    state.counters["MB_added"] = double(added) / (1024.0 * 1024.0);
}

// The same lines with the goods columns the grid shows, joined by the engine.
void BM_RawScanLinesJoined(benchmark::State& state) {
    rawScan(
        state,
        "select "
        "l.in_id,l.bill_no,l.gods_code,g.gods_name,g.gods_spec,g.gods_type,g.gods_kind,g.gods_unit,"
        "l.sub_amou,l.unit_pric,l.sub_amou*l.unit_pric,l.remark from ingoods l left join goods g "
        "on g.gods_code=l.gods_code where l.in_id<=200000");
}

void BM_DatasetLinesWithLookups(benchmark::State& state) {
    Module m;
    m.module.GoodsQ->open();
    Dataset* lines = m.module.InGoodsQ;
    lines->setSql(QStringLiteral("select * from ingoods where in_id<=200000"));
    for (auto _ : state) {
        state.PauseTiming();
        lines->close();
        state.ResumeTiming();
        lines->open();
        long long bytes = 0;
        const int count = lines->recordCount();
        for (int row = 0; row < count; ++row)
            for (int f = 3; f <= 7; ++f) bytes += lines->value(row, f).toString().size();
        benchmark::DoNotOptimize(bytes);
        state.counters["rows"] = count;
    }
}

BENCHMARK(BM_RawScanGoods)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DatasetOpenGoods)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawScanLinesJoined)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DatasetLinesWithLookups)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace talvor::bench
