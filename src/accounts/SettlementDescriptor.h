#pragma once

#include "accounts/core/Settlement.h"

namespace talvor {

class Dataset;
class TFrmDataMod;

namespace report {
class ReportLayout;
class ReportLayouts;
}  // namespace report

// Three amounts of a bill list, by what they are: due, settled and still open.
struct AmountWords {
    const char* due;
    const char* settled;
    const char* open;
};

// The fields of one receipt or payment being entered.
struct EntryWords {
    const char* number;
    const char* date;
    const char* amount;
    const char* person;
};

// Everything in which the receipt and payment screens differ; the screen is one machine.
struct SettlementDescriptor {
    const char* className = nullptr;
    const char* caption = nullptr;
    int module = 0;
    const SettlementSide* side = nullptr;
    Dataset* TFrmDataMod::*bills = nullptr;  // the bill list of a settlement
    Dataset* TFrmDataMod::*saved = nullptr;  // the saved receipts or payments
    report::ReportLayout* report::ReportLayouts::*layout = nullptr;
    const char* startCaption = nullptr;
    const char* entryGroup = nullptr;
    AmountWords figures{};
    EntryWords entry{};
    AmountWords gridTitles{};
    const char* findClassName = nullptr;
    const char* findCaption = nullptr;

    static const SettlementDescriptor& receipts();
    static const SettlementDescriptor& payments();
};

}  // namespace talvor
