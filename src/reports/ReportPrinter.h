#pragma once

#include "reports/core/PreparedReport.h"

class QPrinter;

namespace talvor::report {

// The printer of this run: its choice and set-up stay for every later print.
QPrinter& sessionPrinter();

// Sets the printer to the report's paper (a report on the printer's own paper keeps it), the
// origin at the paper's corner.
void setUpPrinter(QPrinter& printer, const PreparedReport& report);

// Prints the pages the printer's range asks for, all of them without a range. Throws
// ReportError when the printer cannot start.
void printReport(const PreparedReport& report, QPrinter& printer);

}  // namespace talvor::report
