#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

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
