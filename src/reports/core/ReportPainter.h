#pragma once

#include <QString>

#include "reports/core/PreparedReport.h"

class QPageSize;
class QPainter;

namespace talvor::report {

// Draws one prepared page at `dotsPerMm` device pixels per millimetre, the painter's origin
// being the paper's top-left corner. The preview, the printer and the PDF writer all draw
// through it, so what is previewed is what prints.
void paintPage(QPainter& painter, const PreparedReport& report, int page, double dotsPerMm);

// The paper of a report, exactly as set: a custom size is never snapped to a standard one.
QPageSize pageSizeOf(const PageSetup& page);

// Writes every page to a PDF file with its fonts embedded, so the text stays searchable.
// Throws ReportError when the file cannot be written.
void exportPdf(const PreparedReport& report, const QString& path);

}  // namespace talvor::report
