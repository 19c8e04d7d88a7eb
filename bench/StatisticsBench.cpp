#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateEdit>
#include <QScrollBar>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "BenchData.h"
#include "StatisticsProgram.h"
#include "datamodel/DataModule.h"
#include "statistics/StatisticsScreens.h"
#include "ui/DataGrid.h"

namespace talvor::bench {
namespace {

const QDate kYearStart(2026, 1, 1);
const QDate kYearEnd(2026, 12, 31);

// The baseline: the same rows read by the C library alone, every column of every row touched.
class RawQuery {
  public:
    RawQuery() {
        if (sqlite3_open_v2(benchDatabase().toUtf8().constData(), &db_,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    ~RawQuery() { sqlite3_close(db_); }

    long long rows(const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_bind_text(stmt, 1, "2026-01-01", -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, "2026-12-31", -1, SQLITE_STATIC);
        const long long rows = readEveryColumn(stmt);
        sqlite3_finalize(stmt);
        return rows;
    }

  private:
    sqlite3* db_ = nullptr;
};

void raw(benchmark::State& state, const char* sql) {
    RawQuery db;
    for (auto _ : state) state.counters["rows"] = double(db.rows(sql));
}

// 查询 as the user clicks it: the statement, the totals, the chart and the grid.
template <typename Screen>
void query(benchmark::State& state) {
    Program<Screen> p(fileModule(benchDatabase()), kYearStart, kYearEnd);
    for (auto _ : state) {
        // Freeing the previous result is closing, not querying.
        state.PauseTiming();
        p.screen->list().close();
        state.ResumeTiming();
        p.screen->cmd_findClick();
        state.counters["rows"] = p.screen->list().recordCount();
    }
}

// Grouped on the lines first, then the names joined to the few grouped rows.
void BM_RawGroupSalesByGoods(benchmark::State& state) {
    raw(state,
        "select s.*,g.gods_name,g.gods_spec,g.gods_type,g.gods_kind,g.gods_unit from "
        "(select b.gods_code,sum(b.sub_amou) as sub_amou,avg(b.unit_pric) as unit_pric,"
        "sum(b.unit_pric*b.sub_amou) as sub_tota from outmain a join outgoods b "
        "on a.bill_no=b.bill_no where a.bill_date between ?1 and ?2 group by b.gods_code) s "
        "left join goods g on g.gods_code=s.gods_code order by 4 desc");
}

void BM_RankingByGoods(benchmark::State& state) { query<TFrmOutSortG>(state); }

void BM_RawGroupSalesByCompany(benchmark::State& state) {
    raw(state,
        "select s.*,c.comp_name,c.head_name from "
        "(select a.comp_code,sum(b.sub_amou) as sub_amou,sum(b.unit_pric*b.sub_amou) as sub_tota "
        "from outmain a join outgoods b on a.bill_no=b.bill_no "
        "where a.bill_date between ?1 and ?2 group by a.comp_code) s "
        "left join company c on c.comp_code=s.comp_code order by 3 desc");
}

void BM_RankingByCompany(benchmark::State& state) { query<TFrmOutSortC>(state); }

// A listing is grouped by day for its chart; the baseline groups the same rows by day.
void BM_RawGroupSalesByDay(benchmark::State& state) {
    raw(state,
        "select a.bill_date,sum(b.unit_pric*b.sub_amou),sum(b.sub_amou) from outmain a "
        "join outgoods b on a.bill_no=b.bill_no where a.bill_date between ?1 and ?2 "
        "group by a.bill_date");
}

void BM_RawGroupPurchasesByDay(benchmark::State& state) {
    raw(state,
        "select a.bill_date,sum(b.unit_pric*b.sub_amou),sum(b.sub_amou) from inmain a "
        "join ingoods b on a.bill_no=b.bill_no where a.bill_date between ?1 and ?2 "
        "group by a.bill_date");
}

// The same rows in the listing's order with the names the grid shows, joined by the engine.
void BM_RawSalesLines(benchmark::State& state) {
    raw(state,
        "select a.comp_code,b.bill_no,b.gods_code,b.unit_pric,b.sub_amou,a.bill_date,"
        "c.comp_name,g.gods_name,g.gods_spec,g.gods_type,g.gods_kind,g.gods_unit "
        "from outmain a join outgoods b on a.bill_no=b.bill_no "
        "left join company c on c.comp_code=a.comp_code "
        "left join goods g on g.gods_code=b.gods_code "
        "where a.bill_date between ?1 and ?2 "
        "order by a.comp_code,b.bill_no,b.gods_code,b.unit_pric,b.sub_amou");
}

// The listing's own statement, read by the C library alone.
void BM_RawSalesLinesSorted(benchmark::State& state) {
    raw(state,
        "select comp_code,b.bill_no,gods_code,unit_pric,sub_amou,a.bill_date from outmain a "
        "join outgoods b on a.bill_no=b.bill_no where a.bill_date between ?1 and ?2 "
        "order by comp_code,b.bill_no,gods_code,unit_pric,sub_amou");
}

void BM_SalesListing(benchmark::State& state) { query<TFrmOutList>(state); }

void BM_PurchaseListing(benchmark::State& state) { query<TFrmInlist>(state); }

// Opening a listing fills its four pick lists with every goods code and name and every company
// code and name; the baseline reads the same distinct values.
void BM_RawDistinctPickLists(benchmark::State& state) {
    RawQuery db;
    for (auto _ : state) {
        long long rows = 0;
        for (const char* sql :
             {"select distinct gods_code from goods", "select distinct gods_name from goods",
              "select distinct comp_code from company", "select distinct comp_name from company"})
            rows += db.rows(sql);
        state.counters["rows"] = double(rows);
    }
}

void BM_OpenSalesListing(benchmark::State& state) {
    Program<TFrmOutList> p(fileModule(benchDatabase()), kYearStart, kYearEnd);
    for (auto _ : state) benchmark::DoNotOptimize(std::make_unique<TFrmOutList>());
}

// Smooth scrolling: the grid over more than 100,000 listed lines moved a page at a time, each
// step painted in full; one iteration is one frame, which must stay well below 16 ms.
void BM_GridScrollListing(benchmark::State& state) {
    Program<TFrmOutList> p(fileModule(benchDatabase()), kYearStart, QDate(2026, 3, 15));
    p.screen->cmd_findClick();
    p.screen->show();
    QCoreApplication::processEvents();
    DataGrid& grid = p.screen->grid();
    QScrollBar* bar = grid.verticalScrollBar();
    if (bar->maximum() <= 0) state.SkipWithError("the grid does not scroll");
    int position = 0;
    for (auto _ : state) {
        position = (position + bar->pageStep()) % bar->maximum();
        bar->setValue(position);
        benchmark::DoNotOptimize(grid.viewport()->grab());
    }
    state.counters["rows"] = p.screen->list().recordCount();
    state.counters["rows_per_frame"] = bar->pageStep();
}

BENCHMARK(BM_RawGroupSalesByGoods)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RankingByGoods)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawGroupSalesByCompany)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RankingByCompany)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawGroupSalesByDay)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawSalesLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawSalesLinesSorted)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SalesListing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawGroupPurchasesByDay)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PurchaseListing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawDistinctPickLists)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenSalesListing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GridScrollListing)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace talvor::bench
