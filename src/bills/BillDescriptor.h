#pragma once

#include <QString>
#include <vector>

#include "bills/core/BillKind.h"

namespace talvor {

class Dataset;
class TFrmDataMod;

// The boxes of a bill header, placed in two rows in an order that differs by kind.
enum class HeaderItem {
    Voucher,
    BillNo,
    Date,
    Settlement,
    Currency,
    CompanyCode,
    CompanyName,
    Phone,
    Rate
};

struct HeaderField {
    HeaderItem item;
    const char* label;
};

// Which pick list hands the focus on to the line grid, and on which key.
enum class GridHandOver { None, AnyKeyInSettlement, EnterInCurrency };

// Everything in which the four bill screens differ; the screen itself is one machine.
struct BillDescriptor {
    const char* className = nullptr;
    const char* caption = nullptr;
    int module = 0;
    const BillKind* kind = nullptr;
    const char* openStatement = nullptr;
    const char* findStatement = nullptr;
    const char* priceColumn = nullptr;         // proposed by Enter in the code cell
    bool priceEmptiedForUnknownGoods = false;  // otherwise an unknown code keeps the price
    bool billNoAtEachPost = false;             // otherwise a line gets it when it is begun
    bool remarkPickList = false;               // "入库" / "不入库"
    GridHandOver handOver = GridHandOver::None;
    const char* pickerName = nullptr;       // the "..." button by the company code
    const char* companyCodeName = nullptr;  // objectName of the company code box
    const char* amountPaidLabel = nullptr;
    std::vector<HeaderField> firstRow;
    std::vector<HeaderField> secondRow;

    // outmain/outgoods and their datasets, else inmain/ingoods
    bool sales() const { return kind->headerTable == QLatin1StringView("outmain"); }
    Dataset* header(const TFrmDataMod& module) const;
    Dataset* lines(const TFrmDataMod& module) const;
    QString linesStatement() const;

    static const BillDescriptor& purchase();
    static const BillDescriptor& customerReturn();
    static const BillDescriptor& sale();
    static const BillDescriptor& returnToSupplier();
};

}  // namespace talvor
