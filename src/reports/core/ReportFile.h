#pragma once

#include <QString>

#include "reports/core/PreparedReport.h"

class QIODevice;

namespace talvor::report {

// Prepared reports saved from the preview, in a versioned format of our own that does not
// depend on the Qt version that wrote it. Loading refuses, with a ReportError, a file that is
// not a report, is damaged, or comes from a newer version of the program.
void writeReport(const PreparedReport& report, QIODevice& device);
PreparedReport readReport(QIODevice& device);

void saveReport(const PreparedReport& report, const QString& path);
PreparedReport loadReport(const QString& path);

}  // namespace talvor::report
