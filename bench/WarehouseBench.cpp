#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>
#include <QPushButton>
#include <stdexcept>

#include "BenchData.h"
#include "Timing.h"
#include "common/core/DataRoutines.h"
#include "common/core/GoodsCaptions.h"
#include "datamodel/DataModule.h"
#include "datamodel/Rights.h"
#include "datamodel/db/Schema.h"
#include "warehouse/StockLists.h"
#include "warehouse/core/MonthlyMovement.h"
#include "warehouse/core/StockTaking.h"

namespace talvor::bench {
namespace {

void report(benchmark::State& state, const std::vector<double>& ours,
            const std::vector<double>& raw) {
    state.counters["median_ms"] = median(ours) * 1e3;
    state.counters["raw_median_ms"] = median(raw) * 1e3;
    state.counters["ratio_to_raw"] = median(ours) / median(raw);
}

// The same work through the C library: prepared statements, every value of every row read.
class Raw {
  public:
    explicit Raw(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr))
            throw std::runtime_error("cannot open");
        exec("PRAGMA journal_mode=WAL");
        for (const QString& s : db::scratchTableStatements()) exec(s.toUtf8().constData());
    }
    ~Raw() { sqlite3_close(db_); }

    void exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    // Reads every row into memory, as a client-side cursor does, and sums two columns.
    size_t readAll(const char* sql, int a, int b, double& sumA, double& sumB) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        std::vector<std::vector<QVariant>> rows;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<QVariant> row;
            row.reserve(size_t(columns));
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                    row.emplace_back(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))));
                else
                    row.emplace_back(sqlite3_column_double(stmt, c));
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        sumA = sumB = 0;
        for (const auto& row : rows) {
            sumA += row[size_t(a)].toDouble();
            sumB += b < 0 ? 0 : row[size_t(a)].toDouble() * row[size_t(b)].toDouble();
        }
        return rows.size();
    }

  private:
    sqlite3* db_ = nullptr;
};

// 查询 on the stock query with no filter: every ledger row, its goods' descriptions, both
// totals. The goods list the lookups read is open already, as after the first query.
void BM_StockQueryAll(benchmark::State& state) {
    grantAll();
    TFrmDataMod module;
    module.connectTo(benchDatabase());
    Raw raw(benchDatabase());
    TFrmStore screen;
    auto* find = screen.findChild<QPushButton*>(QStringLiteral("cmd_find"));
    find->click();
    std::vector<double> ours, floor;
    for (auto _ : state) {
        ours.push_back(timed([&] { find->click(); }));
        state.SetIterationTime(ours.back());
        double quantity = 0, value = 0;
        floor.push_back(timed([&] {
            raw.readAll(
                "select a.gods_code,b.gods_name,a.gods_amou,a.cost_pric,"
                "a.gods_amou*a.cost_pric from storemain a left outer join goods b "
                "on b.gods_code=a.gods_code where trim(a.gods_code)<>'' "
                "order by a.gods_code",
                2, 3, quantity, value);
        }));
        if (module.StoreQ->recordCount() != kGoods) throw std::runtime_error("rows");
    }
    report(state, ours, floor);
}

// 盘点 and 保存 of a month: the working set of every ledger row, the list over it, the count
// kept and the ledger set, one month after another.
void BM_StockTaking(benchmark::State& state) {
    TFrmDataMod module;
    const QString path = writableBenchDatabase();
    module.connectTo(path);
    Raw raw(path);
    db::Engine& engine = module.AdoConn();
    QDate month(2030, 1, 15);
    std::vector<double> ours, floor;
    for (auto _ : state) {
        const double t = timed([&] {
            StartStockTaking(engine, month);
            module.ChektempQ->openWith(QStringLiteral("select * from chektemp "));
            module.ChektempQ->checkBrowseMode();
            SaveStockTaking(engine, month);
        });
        state.SetIterationTime(t);
        ours.push_back(t);
        month = month.addMonths(1);
        const QByteArray day = month.toString(Qt::ISODate).toUtf8();
        floor.push_back(timed([&] {
            raw.exec("BEGIN IMMEDIATE");
            raw.exec("delete from chektemp");
            raw.exec(
                "insert into chektemp (gods_code,gods_amou) select gods_code,gods_amou "
                "from storemain order by gods_code");
            raw.exec(
                ("update chektemp set chek_amou=gods_amou,chek_date='" + day + "'").constData());
            raw.exec("COMMIT");
            double a = 0, b = 0;
            raw.readAll("select * from chektemp", 1, -1, a, b);
            raw.exec("BEGIN IMMEDIATE");
            raw.exec("insert into storchek select * from chektemp");
            raw.exec(
                "update storemain set gods_amou=(select c.chek_amou from chektemp c where "
                "c.gods_code=storemain.gods_code) where exists (select c.gods_code from "
                "chektemp c where c.gods_code=storemain.gods_code and "
                "(c.chek_amou<>storemain.gods_amou or "
                "c.chek_amou is null or storemain.gods_amou is null))");
            raw.exec("COMMIT");
        }));
        month = month.addMonths(1);
    }
    report(state, ours, floor);
}

// 查询 on the movement detail of one month of bills (about 83,000 lines) after a count of
// every goods at the end of the month before.
void BM_MonthlyMovement(benchmark::State& state) {
    TFrmDataMod module;
    const QString path = writableBenchDatabase();
    module.connectTo(path);
    db::Engine& engine = module.AdoConn();
    StartStockTaking(engine, QDate(2026, 5, 31));
    SaveStockTaking(engine, QDate(2026, 5, 31));
    Raw raw(path);
    const QDate month(2026, 6, 10);
    std::vector<double> ours, floor;
    for (auto _ : state) {
        const double t = timed([&] {
            BuildMonthlyMovement(engine, month);
            module.MiosQ->openWith(QStringLiteral("select * from  mios"));
            fieldSum(*module.MiosQ, QStringLiteral("in_amou"));
            fieldSum(*module.MiosQ, QStringLiteral("out_amou"));
            fieldSum(*module.MiosQ, QStringLiteral("now_amou"));
        });
        state.SetIterationTime(t);
        ours.push_back(t);
        floor.push_back(timed([&] {
            raw.exec("BEGIN IMMEDIATE");
            raw.exec("delete from miostemp");
            raw.exec("delete from mios");
            raw.exec(
                "insert into miostemp (gods_code,last_amou,now_amou) select gods_code,"
                "coalesce(chek_amou,0),coalesce(chek_amou,0) from storchek where "
                "chek_date>='2026-05-01' and chek_date<'2026-06-01'");
            for (const char* side : {"in", "out"}) {
                const QByteArray sql =
                    QStringLiteral(
                        "insert into miostemp (gods_code,%1_amou,now_amou) select b.gods_code,"
                        "coalesce(b.sub_amou,0),%2coalesce(b.sub_amou,0) from %1goods b where "
                        "b.bill_no in (select a.bill_no from %1main a where "
                        "a.bill_date>='2026-06-01' and a.bill_date<'2026-07-01')")
                        .arg(QLatin1String(side), QLatin1String(side[0] == 'o' ? "-" : ""))
                        .toUtf8();
                raw.exec(sql.constData());
            }
            raw.exec(
                "insert into mios select gods_code,sum(last_amou),sum(in_amou),"
                "sum(out_amou),sum(now_amou) from miostemp group by gods_code");
            raw.exec("COMMIT");
            double a = 0, b = 0;
            raw.readAll("select * from mios", 2, -1, a, b);
        }));
    }
    report(state, ours, floor);
}

BENCHMARK(BM_StockQueryAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StockTaking)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_MonthlyMovement)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace talvor::bench
