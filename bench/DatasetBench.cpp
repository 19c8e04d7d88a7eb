#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QString>

#include "BenchData.h"
#include "datamodel/DataModule.h"
#include "datamodel/db/SqliteEngine.h"
#include "master/TFrmGoodsFind.h"

namespace talvor::bench {
namespace {

// Raw SQLite: step through the rows and read every column, as cheaply as the C library allows.
void rawScan(benchmark::State& state, const char* sql, const QString& path = benchDatabase()) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        const long long rows = readEveryColumn(stmt);
        sqlite3_finalize(stmt);
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

// One statement of raw SQLite, prepared once and run again per iteration.
class RawStatement {
  public:
    RawStatement(const QString& path, const char* sql) {
        sqlite3_open_v2(path.toUtf8().constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        sqlite3_prepare_v2(db_, sql, -1, &stmt_, nullptr);
    }
    ~RawStatement() {
        sqlite3_finalize(stmt_);
        sqlite3_close(db_);
    }
    // Binds a text and a number, steps through every row and returns the first column's bytes.
    long long run(const QString& text, long long number = 0) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt_, 2, number);
        long long bytes = 0;
        while (sqlite3_step(stmt_) == SQLITE_ROW) bytes += sqlite3_column_bytes(stmt_, 0);
        sqlite3_reset(stmt_);
        return bytes;
    }
    void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// The first n goods of the goods database with the columns a find and an edit need, rows held
// in batch mode as a screen holds them.
struct GoodsRows {
    db::SqliteEngine engine;
    Dataset goods{&engine, QStringLiteral("GoodsRows")};
    int count;
    GoodsRows(const QString& path, int n) : count(n) {
        engine.open(path);
        goods.setLockMode(LockMode::Batch);
        goods.openWith(QStringLiteral("select in_id,gods_code,gods_name,valu_in from goods where "
                                      "in_id<=:n order by in_id"),
                       {{QStringLiteral("n"), n}});
    }
    int middle() const { return count / 2; }
    // A code held by one of the rows, a different one on each call.
    QString someCode(int i) const { return goodsCode(int((i * 7919LL) % count)); }
};

void sizes(benchmark::internal::Benchmark* b) {
    for (int n : {10000, 100000, kManyGoods}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->MinTime(1.0);
}

void BM_DatasetLocate(benchmark::State& state) {
    GoodsRows rows(goodsDatabase(), int(state.range(0)));
    rows.goods.locate(QStringLiteral("gods_code"), rows.someCode(0));  // the index is built once
    int i = 0;
    for (auto _ : state)
        if (!rows.goods.locate(QStringLiteral("gods_code"), rows.someCode(++i)))
            state.SkipWithError("not found");
}

void BM_RawLocate(benchmark::State& state) {
    RawStatement find(goodsDatabase(), "select in_id from goods where gods_code=?1 and in_id<=?2");
    const int n = int(state.range(0));
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(find.run(goodsCode(int((++i * 7919LL) % n)), n));
}

void BM_DatasetDeleteRow(benchmark::State& state) {
    GoodsRows rows(goodsDatabase(), int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        rows.goods.setCurrentRow(rows.middle());
        state.ResumeTiming();
        rows.goods.deleteRow();
        state.PauseTiming();
        rows.goods.cancelBatch();
        state.ResumeTiming();
    }
}

void BM_RawDeleteRow(benchmark::State& state) {
    RawStatement remove(writableGoodsDatabase(), "delete from goods where in_id=?2");
    for (auto _ : state) {
        state.PauseTiming();
        remove.exec("BEGIN");
        state.ResumeTiming();
        remove.run({}, state.range(0) / 2);
        state.PauseTiming();
        remove.exec("ROLLBACK");
        state.ResumeTiming();
    }
}

void changeOneRow(GoodsRows& rows, int round) {
    rows.goods.setCurrentRow(rows.middle());
    rows.goods.setValue(QStringLiteral("valu_in"), 10.0 + round % 2);
    rows.goods.post();
}

void BM_DatasetUpdateBatch(benchmark::State& state) {
    GoodsRows rows(writableGoodsDatabase(), int(state.range(0)));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        changeOneRow(rows, ++round);
        state.ResumeTiming();
        rows.goods.updateBatch();
    }
}

void BM_RawUpdateBatch(benchmark::State& state) {
    RawStatement update(writableGoodsDatabase(), "update goods set valu_in=?1 where in_id=?2");
    int round = 0;
    for (auto _ : state) {
        update.exec("BEGIN IMMEDIATE");
        update.run(QString::number(10 + ++round % 2), state.range(0) / 2);
        update.exec("COMMIT");
    }
}

void BM_DatasetCancelBatch(benchmark::State& state) {
    GoodsRows rows(goodsDatabase(), int(state.range(0)));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        changeOneRow(rows, ++round);
        state.ResumeTiming();
        rows.goods.cancelBatch();
    }
}

// The raw counterpart of dropping one pending change: an update rolled back.
void BM_RawCancelBatch(benchmark::State& state) {
    RawStatement update(writableGoodsDatabase(), "update goods set valu_in=?1 where in_id=?2");
    int round = 0;
    for (auto _ : state) {
        update.exec("BEGIN");
        update.run(QString::number(10 + ++round % 2), state.range(0) / 2);
        update.exec("ROLLBACK");
    }
}

// The first goods-name lookup of a bill line after one goods row had its code changed.
void BM_DatasetLookupAfterEdit(benchmark::State& state) {
    GoodsRows rows(goodsDatabase(), int(state.range(0)));
    Dataset lines(&rows.engine, QStringLiteral("LinesQ"));
    lines.setFieldDefs(
        {FieldDef::data(QStringLiteral("gods_code")),
         FieldDef::lookup(QStringLiteral("gods_name"), &rows.goods, QStringLiteral("gods_code"),
                          QStringLiteral("gods_code"), QStringLiteral("gods_name"), 50)});
    lines.openWith(QStringLiteral("select gods_code from ingoods"));
    benchmark::DoNotOptimize(lines.value(0, 1));  // the index exists before the first edit
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rows.goods.setCurrentRow(rows.middle());
        rows.goods.setValue(QStringLiteral("gods_code"),
                            ++round % 2 ? QStringLiteral("EDITED") : goodsCode(rows.middle()));
        rows.goods.post();
        state.ResumeTiming();
        if (lines.value(round % kGoodsDatabaseLines, 1).isNull()) state.SkipWithError("no name");
    }
}

void BM_RawLookupAfterEdit(benchmark::State& state) {
    RawStatement find(goodsDatabase(),
                      "select gods_name from goods where gods_code=?1 and in_id<=?2");
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(find.run(goodsCode(int((++i * 37LL) % 10000)), state.range(0)));
}

QString goodsOfSize(int n) { return n == kGoods ? benchDatabase() : goodsDatabase(); }

// The rows the goods find dialog shows, read by raw SQLite.
void BM_RawGoodsFindRows(benchmark::State& state) {
    rawScan(state, "select * from goods order by gods_code", goodsOfSize(int(state.range(0))));
}

void BM_OpenGoodsFind(benchmark::State& state) {
    TFrmDataMod module;
    module.connectTo(goodsOfSize(int(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        module.GoodsFindQ->close();  // freeing the rows of the last one is no part of opening
        state.ResumeTiming();
        TFrmGoodsFind find;
        find.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(module.GoodsFindQ->recordCount());
    }
}

BENCHMARK(BM_RawScanGoods)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DatasetOpenGoods)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawScanLinesJoined)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DatasetLinesWithLookups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawLocate)->Apply(sizes);
BENCHMARK(BM_DatasetLocate)->Apply(sizes);
BENCHMARK(BM_RawDeleteRow)->Apply(sizes);
BENCHMARK(BM_DatasetDeleteRow)->Apply(sizes);
BENCHMARK(BM_RawUpdateBatch)->Apply(sizes);
BENCHMARK(BM_DatasetUpdateBatch)->Apply(sizes);
BENCHMARK(BM_RawCancelBatch)->Apply(sizes);
BENCHMARK(BM_DatasetCancelBatch)->Apply(sizes);
BENCHMARK(BM_RawLookupAfterEdit)->Arg(100000)->Arg(kManyGoods)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DatasetLookupAfterEdit)->Arg(100000)->Arg(kManyGoods)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawGoodsFindRows)->Arg(kGoods)->Arg(kManyGoods)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGoodsFind)->Arg(kGoods)->Arg(kManyGoods)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvor::bench
