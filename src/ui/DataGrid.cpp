#include "ui/DataGrid.h"

#include <QHeaderView>
#include <algorithm>

#include "ui/CutCellTips.h"
#include "ui/ErrorReport.h"
#include "ui/GridExport.h"

namespace talvor {

DataGrid::DataGrid(Dataset* dataset, std::vector<GridColumn> columns, QWidget* parent)
    : QTableView(parent), model_(new DatasetModel(dataset, std::move(columns), this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (int c = 0; c < int(model_->columns().size()); ++c)
        horizontalHeader()->resizeSection(c, model_->columns()[size_t(c)].width);
    new CutCellTips(this);
    connect(dataset, &Dataset::currentRowChanged, this, &DataGrid::followDataset);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { followView(current); });
    followDataset(dataset->currentRow());
    offerExport(this);
}

void DataGrid::setReadOnly(bool readOnly) {
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
}

void DataGrid::commitEditing() {
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DataGrid::followDataset(int row) {
    if (currentIndex().row() == row) return;
    following_ = true;
    if (row < 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        selectionModel()->setCurrentIndex(
            model_->index(row, column),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    following_ = false;
}

// Moving the dataset posts a pending edit, which can fail; the grid then goes back to the row
// the dataset kept.
void DataGrid::followView(const QModelIndex& current) {
    if (following_ || !current.isValid() || current.row() == dataset()->currentRow()) return;
    if (!reportErrors([&] { dataset()->setCurrentRow(current.row()); }))
        followDataset(dataset()->currentRow());
}

}  // namespace talvor
