#pragma once

#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace benchmark {
class State;
}

namespace talvor {
class TFrmDataMod;
}

namespace talvor::bench {

inline constexpr int kGoods = 100000;
inline constexpr int kBillLines = 1000000;
inline constexpr int kLinesPerBill = 20;
inline constexpr int kManyGoods = 1000000;
inline constexpr int kGoodsDatabaseLines = 100;

// A database with 100,000 goods, their ledger rows, companies, employees and 1,000,000 bill
// lines over a year. Made once and kept in the temporary directory; copy it before writing.
QString benchDatabase();

// A fresh copy of the bench database that the caller may change; removed at exit.
QString writableBenchDatabase();

// A database of 1,000,000 goods (goods i has in_id i + 1), their ledger rows, the companies
// and employees, and 100 bill lines over the first 10,000 goods. Made once, like the above.
QString goodsDatabase();
QString writableGoodsDatabase();

QString goodsCode(int i);

// The PostgreSQL database TALVOR_TEST_SERVER names (scripts/with-postgres sets it), empty when
// none: the engine benchmarks compare the file engine with a server there.
QString benchServer();

// The bench database copied into a schema of its own on that server, once per run; gives the
// connection string to it. Writes there are kept for the rest of the run.
QString serverBenchDatabase();

// A data module connected to a database file, or to a server database by its connection
// string.
std::unique_ptr<TFrmDataMod> fileModule(const QString& path);
std::unique_ptr<TFrmDataMod> serverModule(const QString& connection);

// A benchmark's argument 0 chooses the engine: the file engine (0) or the server (1).
bool onServer(const benchmark::State& state);
// Where the argument's engine finds the bench database; a file engine that writes gets a copy.
QString benchLocation(const benchmark::State& state, bool writes);
std::unique_ptr<TFrmDataMod> benchModule(const benchmark::State& state, bool writes);
// Marks the run skipped, and gives true, when it wants the server and there is none.
bool skippedWithoutServer(benchmark::State& state);

// The user of a screen benchmark: the administrator, with every right.
void grantAll();

// Runs one counter of the four-counter benchmark when this process was started as one (the
// benchmark starts the bench program again with TALVOR_BENCH_COUNTER set); gives false when
// it was not.
bool runAsCounter();

// Bytes of heap this process has in use.
long long heapInUse();

// The raw baseline of a read: steps through a prepared statement and reads every column of
// every row as cheaply as the C library allows; gives the number of rows.
long long readEveryColumn(sqlite3_stmt* stmt);

// The connection of a raw baseline that writes: each step throws on failure. The derived
// class opens and closes db_.
class RawConnection {
  protected:
    void run(const char* sql);
    sqlite3_stmt* prepare(const char* sql);
    void step(sqlite3_stmt* stmt);  // a statement without rows, reset for its next use

    sqlite3* db_ = nullptr;
};

}  // namespace talvor::bench
