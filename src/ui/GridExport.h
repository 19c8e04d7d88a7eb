#pragma once

#include <QString>

#include "common/core/TableExport.h"

class QTableView;

namespace talvor {

// Gives a grid "导出Excel" and "导出CSV" in its context menu, and Ctrl+E, which opens that
// menu at the current cell. Each asks for a file name and exports what the grid shows.
void offerExport(QTableView* grid);

// Writes the grid's rows and its visible columns, in the order shown, to `path`, with the
// progress helper; a failure is reported. Returns whether the file was written.
bool exportGrid(QTableView* grid, const QString& path, ExportFormat format);

}  // namespace talvor
