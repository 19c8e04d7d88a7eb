#pragma once

#include <QString>

#include "reports/core/PreparedReport.h"
#include "statistics/core/ChartData.h"

namespace talvor {

// Adds the chart after a report's pages, on pages of its own: the heading, then one row per
// bar with its label, a bar as long as its share of the largest value, and the value. Rows
// that do not fit continue on a further page under the same heading.
void AppendChartPages(report::PreparedReport& report, const QString& heading,
                      const ChartData& chart);

}  // namespace talvor
