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
    const char* className;
    const char* caption;
    int module;
    const BillKind* kind;
    bool sales;  // outmain/outgoods and their datasets, else inmain/ingoods
    const char* openStatement;
    const char* findStatement;
    const char* priceColumn;           // proposed by Enter in the code cell
    bool priceEmptiedForUnknownGoods;  // otherwise an unknown code keeps the price
    bool billNoAtEachPost;             // otherwise a line gets it when it is begun
    bool remarkPickList;               // "入库" / "不入库"
    GridHandOver handOver;
    const char* pickerName;       // the "..." button by the company code
    const char* companyCodeName;  // objectName of the company code box
    const char* amountPaidLabel;
    std::vector<HeaderField> firstRow;
    std::vector<HeaderField> secondRow;

    Dataset* header(const TFrmDataMod& module) const;
    Dataset* lines(const TFrmDataMod& module) const;
    QString linesStatement() const;

    static const BillDescriptor& purchase();
    static const BillDescriptor& customerReturn();
    static const BillDescriptor& sale();
    static const BillDescriptor& returnToSupplier();
};

}  // namespace talvor
