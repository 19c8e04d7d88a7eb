#pragma once

#include <QString>
#include <vector>

#include "common/core/Progress.h"

class QAbstractItemModel;

namespace talvor {

enum class ExportFormat { Xlsx, Csv };

// Writes the rows of `model` to `path`, the given model columns in the given order, under the
// titles of its horizontal header: numbers as numbers, dates as dates, texts as shown. An
// .xlsx file gets a sheet with a bold title row; a CSV file is UTF-8 with a byte-order mark,
// lines ending in CR LF, fields quoted where they must be, dates in ISO form.
//
// The file appears under its name only once complete: the rows go to a temporary file beside
// it that then replaces it. A failure throws Error, a cancel lets Cancelled through; either
// way whatever stood under the name before is left as it was, and no temporary file remains.
void exportTable(const QAbstractItemModel& model, const std::vector<int>& columns,
                 const QString& path, ExportFormat format, Progress& progress = unwatched());

}  // namespace talvor
