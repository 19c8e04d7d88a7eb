#pragma once

#include <QTableView>
#include <vector>

#include "datamodel/DatasetModel.h"

namespace talvor {

// A grid over a dataset: the given columns with their titles and widths, whole rows selected,
// and the grid's current row always the dataset's current row, whichever side moves.
class DataGrid : public QTableView {
    Q_OBJECT

  public:
    DataGrid(Dataset* dataset, std::vector<GridColumn> columns, QWidget* parent = nullptr);

    Dataset* dataset() const { return model_->dataset(); }
    DatasetModel* datasetModel() const { return model_; }
    // A read-only grid only browses; otherwise cells of columns not marked read-only edit.
    void setReadOnly(bool readOnly);
    // Writes what an open cell editor holds into the dataset's row and closes the editor, so
    // that a value typed and not yet left is saved too.
    void commitEditing();

  private:
    void followDataset(int row);
    void followView(const QModelIndex& current);

    DatasetModel* model_;
    bool following_ = false;
};

}  // namespace talvor
