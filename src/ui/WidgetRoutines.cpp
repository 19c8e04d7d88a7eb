#include "ui/WidgetRoutines.h"

#include <array>
#include <stdexcept>

#include "common/core/DataRoutines.h"
#include "common/core/GoodsCaptions.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/db/DbError.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"

namespace talvor {

namespace {

QList<QVariant> distinctValues(const QString& table, const QString& column) {
    TFrmDataMod* module = FrmDataMod();
    if (!module) throw db::DbError(QStringLiteral("没有数据模块"));
    return distinctColumnValues(*module->TempQ, table, column);
}

}  // namespace

void FillComboDistinct(const QString& table, const QString& column, QComboBox* box) {
    const QStringList items = distinctItems(distinctValues(table, column));
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText({});
}

void FillDBComboDistinct(const QString& table, const QString& column, DBComboBox* box) {
    const QList<QVariant> values = distinctValues(table, column);
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
    const qsizetype before = items.size();
    mergeDistinctItems(items, values);
    box->addItems(items.mid(before));
    box->showField();
}

void ApplyGoodsCaptions(DataGrid& grid, const QString& order) {
    const QString digits = order.size() < 5 ? QStringLiteral("01234") : order.left(5);
    DatasetModel* model = grid.datasetModel();
    std::array<int, 5> columns{};
    for (int k = 0; k < 5; ++k) {
        columns[size_t(k)] = digits[k].digitValue();
        if (columns[size_t(k)] < 0 || columns[size_t(k)] >= model->columnCount())
            throw std::out_of_range(QStringLiteral("表格没有第%1列").arg(digits[k]).toStdString());
    }
    for (int k = 0; k < 5; ++k)
        model->setColumnTitle(columns[size_t(k)], GoodsCaptions()[size_t(k)]);
}

}  // namespace talvor
