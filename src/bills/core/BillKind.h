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

inline constexpr BillKind BillKind::Purchase{.billType = QLatin1StringView("in"),
                                             .headerTable = QLatin1StringView("inmain"),
                                             .lineTable = QLatin1StringView("ingoods"),
                                             .receiving = true,
                                             .honoursNotIntoStock = false,
                                             .linesDeletedFirst = false};
inline constexpr BillKind BillKind::CustomerReturn{.billType = QLatin1StringView("retu"),
                                                   .headerTable = QLatin1StringView("inmain"),
                                                   .lineTable = QLatin1StringView("ingoods"),
                                                   .receiving = true,
                                                   .honoursNotIntoStock = true,
                                                   .linesDeletedFirst = false};
inline constexpr BillKind BillKind::Sale{.billType = QLatin1StringView("out"),
                                         .headerTable = QLatin1StringView("outmain"),
                                         .lineTable = QLatin1StringView("outgoods"),
                                         .receiving = false,
                                         .honoursNotIntoStock = false,
                                         .linesDeletedFirst = true};
inline constexpr BillKind BillKind::ReturnToSupplier{.billType = QLatin1StringView("retu"),
                                                     .headerTable = QLatin1StringView("outmain"),
                                                     .lineTable = QLatin1StringView("outgoods"),
                                                     .receiving = false,
                                                     .honoursNotIntoStock = false,
                                                     .linesDeletedFirst = false};

}  // namespace talvor
