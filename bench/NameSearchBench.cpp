#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "BenchData.h"
#include "datamodel/DataModule.h"
#include "datamodel/db/PostgresEngine.h"
#include "datamodel/db/SqliteEngine.h"
#include "master/core/NameSearch.h"

namespace talvor::bench {
namespace {

// What is typed: initials every one of the 100,000 goods names holds ("测试商品名称N" reads
// "csspmcN"), initials of a few, and initials of none.
const char* const kTyped[] = {"sp", "mc9999", "hdmy"};

// Raw SQLite: the same names found by a part of the name only, without initials.
void BM_RawSqliteNamePart100k(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(benchDatabase().toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const char* typed = kTyped[state.range(0)];
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db,
                           "select distinct gods_name from goods where instr(lower(gods_name), ?) "
                           "> 0 order by gods_name limit 50",
                           -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, typed, -1, SQLITE_STATIC);
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) ++rows;
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(rows);
    }
    state.SetLabel(typed);
    sqlite3_close(db);
}

// What a completing name box offers for one typed text (argument 1), on the file engine or
// the server (argument 0): scripts/with-postgres ./build/talvor_bench --benchmark_filter=Name
void BM_NameCompletion100k(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    const auto module = benchModule(state, false);
    const QString typed = QLatin1String(kTyped[state.range(1)]);
    qsizetype offered = 0;
    for (auto _ : state)
        offered = matchingNames(module->AdoConn(), NamedTable::Goods, typed, 50).size();
    state.SetLabel(typed.toStdString());
    state.counters["names"] = double(offered);
}

// What the goods screen's quick find reads before it moves: the next matching code after the
// first goods, round to the top (so a text nothing matches reads everything twice).
void BM_QuickFindNext100k(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    const auto module = benchModule(state, false);
    const QString typed = QLatin1String(kTyped[state.range(1)]);
    const QString after = goodsCode(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            nextMatchingCode(module->AdoConn(), NamedTable::Goods, typed, after));
    state.SetLabel(typed.toStdString());
}

std::unique_ptr<db::Engine> openEngine(const benchmark::State& state, const QString& where) {
    std::unique_ptr<db::Engine> engine;
    if (onServer(state))
        engine = std::make_unique<db::PostgresEngine>();
    else
        engine = std::make_unique<db::SqliteEngine>();
    engine->open(where);
    return engine;
}

// Opening a database made before the name index, on the file engine or the server (argument
// 0): every goods and company name is read once and given its initials.
void BM_NameIndexFirstOpen100k(benchmark::State& state) {
    if (skippedWithoutServer(state)) return;
    const QString where = benchLocation(state, true);
    for (auto _ : state) {
        state.PauseTiming();
        {
            const auto engine = openEngine(state, where);
            engine->runScript(QStringLiteral("DROP TABLE name_pinyin"));
            if (onServer(state))
                engine->runScript(QStringLiteral(
                    "DROP TRIGGER goods_pinyin ON goods; DROP TRIGGER company_pinyin ON company"));
        }
        state.ResumeTiming();
        openEngine(state, where);
    }
}

}  // namespace

BENCHMARK(BM_RawSqliteNamePart100k)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameCompletion100k)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameIndexFirstOpen100k)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_QuickFindNext100k)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

}  // namespace talvor::bench
