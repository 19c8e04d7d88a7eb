#pragma once

#include <QString>

namespace talvor::bench {

inline constexpr int kGoods = 100000;
inline constexpr int kBillLines = 1000000;
inline constexpr int kLinesPerBill = 20;

// A database with 100,000 goods, their ledger rows, companies, employees and 1,000,000 bill
// lines over a year. Made once and kept in the temporary directory; copy it before writing.
QString benchDatabase();

// A fresh copy of the bench database that the caller may change; removed at exit.
QString writableBenchDatabase();

QString goodsCode(int i);

// Bytes of heap this process has in use.
long long heapInUse();

}  // namespace talvor::bench
