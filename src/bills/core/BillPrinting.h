#pragma once

#include <QString>
#include <QStringList>

#include "bills/core/BillKind.h"

namespace talvor {

class Dataset;
struct BillSettings;

namespace report {
class ReportLayout;
}

// What a bill screen shows beside its datasets; printed as it stands, never recomputed.
struct BillPrintTexts {
    QString totalQuantity;
    QString totalAmount;
    QString amountInWords;
    QStringList goodsCaptions;  // code, name, 规格, model, as GoodsCaptions holds them
};

// The company name directly followed by the kind's word: "进货单", "顾客退货单", "销售单",
// "退货厂商单".
QString BillTitle(const BillKind& kind, const QString& companyName);

// The sales layout's paper by the page type: "自定义" the custom width and length, "A4" A4;
// any other type keeps the paper last set.
void ApplyBillPaper(report::ReportLayout& layout, const BillSettings& settings);

// Refills outtemp with the stored lines of the bill and, for a line count above 0, blank rows
// (only bill_no set) up to the next multiple of it: a full page of them when the lines already
// fill their pages. `outTemp` is left open over the result.
void FillOutTemp(Dataset& scratch, Dataset& outTemp, const QString& billNo, int lineCount);

// Previews the bill shown on a bill screen (purchase and customer return on QRin, sales and
// return to supplier on QRout, from outtemp) and returns when the preview closes. `header` is
// the screen's header dataset on the bill; `lines` its lines, which the purchase side prints
// directly. Any database or report error is swallowed: no preview appears if it came first.
void PrintBill(const BillKind& kind, Dataset& header, Dataset& lines, const BillPrintTexts& texts);

}  // namespace talvor
