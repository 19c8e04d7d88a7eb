#include "reports/ReportPrinter.h"

#include <QPainter>
#include <QPrinter>

#include "reports/core/ReportPainter.h"

namespace talvor::report {

QPrinter& sessionPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void setUpPrinter(QPrinter& printer, const PreparedReport& report) {
    printer.setFullPage(true);
    if (report.page.paper != Paper::PrinterDefault) printer.setPageSize(pageSizeOf(report.page));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setDocName(report.layout);
}

void printReport(const PreparedReport& report, QPrinter& printer) {
    int first = 0;
    int last = report.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange) {
        first = std::max(printer.fromPage() - 1, 0);
        last = std::min(printer.toPage() - 1, last);
    }
    QPainter painter;
    if (!painter.begin(&printer)) throw ReportError(QStringLiteral("打印机无法开始打印"));
    const double dotsPerMm = printer.resolution() / 25.4;
    for (int page = first; page <= last; ++page) {
        if (page > first) printer.newPage();
        paintPage(painter, report, page, dotsPerMm);
    }
    if (!painter.end()) throw ReportError(QStringLiteral("打印没有完成"));
}

}  // namespace talvor::report
