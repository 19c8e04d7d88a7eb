#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "datamodel/Dataset.h"

namespace talvor {

// One column of a grid over a dataset.
struct GridColumn {
    QString field;
    QString title;
    int width = 80;  // pixels
    bool readOnly = false;
    QString toolTip = {};  // shown over the column's title
};

// A table model over a dataset: chosen columns with titles, display formats from the
// dataset, edits written into the dataset's current row.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    DatasetModel(Dataset* dataset, std::vector<GridColumn> columns, QObject* parent = nullptr);

    Dataset* dataset() const { return dataset_; }
    const std::vector<GridColumn>& columns() const { return columns_; }
    void setColumnTitle(int column, const QString& title);
    int columnOf(const QString& field) const;  // -1 when the grid has no such column

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    int fieldOf(int column) const;

    Dataset* dataset_;
    std::vector<GridColumn> columns_;
    mutable std::vector<int> fieldIndex_;
};

}  // namespace talvor
