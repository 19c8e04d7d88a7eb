#pragma once

#include <QLatin1StringView>

namespace talvor {

// The four trade bills share two pairs of tables; each differs from the others only by these
// few facts, so the bill operations and the four screens take a kind instead of copies.
struct BillKind {
    QLatin1StringView billType;     // written to the header's bill_type
    QLatin1StringView headerTable;  // inmain or outmain
    QLatin1StringView lineTable;    // ingoods or outgoods
    bool receiving;                 // lines received into stock; otherwise issued from it
    bool honoursNotIntoStock;       // lines remarked "不入库" leave the ledger alone
    bool linesDeletedFirst;         // deletion removes the lines before the header

    static const BillKind Purchase;
    static const BillKind CustomerReturn;
    static const BillKind Sale;
    static const BillKind ReturnToSupplier;
};

inline constexpr BillKind BillKind::Purchase{QLatin1StringView("in"), QLatin1StringView("inmain"),
                                             QLatin1StringView("ingoods"), true, false, false};
inline constexpr BillKind BillKind::CustomerReturn{
    QLatin1StringView("retu"), QLatin1StringView("inmain"), QLatin1StringView("ingoods"),
    true, true, false};
inline constexpr BillKind BillKind::Sale{QLatin1StringView("out"), QLatin1StringView("outmain"),
                                         QLatin1StringView("outgoods"), false, false, true};
inline constexpr BillKind BillKind::ReturnToSupplier{
    QLatin1StringView("retu"), QLatin1StringView("outmain"), QLatin1StringView("outgoods"),
    false, false, false};

}  // namespace talvor
