#include "datamodel/DatasetModel.h"

namespace talvor {

DatasetModel::DatasetModel(Dataset* dataset, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset), columns_(std::move(columns)) {
    connect(dataset_, &Dataset::rowsReset, this, [this] {
        fieldIndex_.clear();
        beginResetModel();
        endResetModel();
    });
    connect(dataset_, &Dataset::rowInserted, this, [this](int row) {
        beginInsertRows({}, row, row);
        endInsertRows();
    });
    connect(dataset_, &Dataset::rowRemoved, this, [this](int row) {
        beginRemoveRows({}, row, row);
        endRemoveRows();
    });
    connect(dataset_, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && !columns_.empty())
            emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
    });
}

void DatasetModel::setColumnTitle(int column, const QString& title) {
    columns_.at(size_t(column)).title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int DatasetModel::columnOf(const QString& field) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

int DatasetModel::fieldOf(int column) const {
    if (fieldIndex_.size() != columns_.size()) {
        fieldIndex_.clear();
        for (const GridColumn& c : columns_) fieldIndex_.push_back(dataset_->fieldIndex(c.field));
    }
    return fieldIndex_[size_t(column)];
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : dataset_->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int field = fieldOf(index.column());
    if (field < 0) return {};
    switch (role) {
        case Qt::DisplayRole:
            return dataset_->displayText(index.row(), field);
        case Qt::EditRole: {
            const QVariant v = dataset_->value(index.row(), field);
            return v.isNull() ? QVariant(QString()) : v;
        }
        case Qt::TextAlignmentRole: {
            const db::ColumnType type = dataset_->field(field).type;
            const bool number = type == db::ColumnType::Float || type == db::ColumnType::Integer ||
                                type == db::ColumnType::Decimal;
            return int(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
        }
        default:
            return {};
    }
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int field = fieldOf(index.column());
    if (field < 0 || dataset_->field(field).kind != FieldKind::Data) return false;
    if (dataset_->currentRow() != index.row()) dataset_->setCurrentRow(index.row());
    dataset_->setValue(field, value);
    return true;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn& column = columns_[size_t(section)];
    if (role == Qt::DisplayRole) return column.title;
    if (role == Qt::ToolTipRole && !column.toolTip.isEmpty()) return column.toolTip;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid()) return f;
    const int field = fieldOf(index.column());
    if (!columns_[size_t(index.column())].readOnly && field >= 0 &&
        dataset_->field(field).kind == FieldKind::Data)
        f |= Qt::ItemIsEditable;
    return f;
}

}  // namespace talvor
