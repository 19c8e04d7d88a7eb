#include "common/core/DataRoutines.h"

#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/db/DbError.h"

namespace talvor {

namespace {

// Table and column names come from the program, but a name is still checked before it
// becomes part of a statement.
QString checkedName(const QString& name) {
    const QString trimmed = trimmedInput(name);
    const bool valid =
        !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) {
            return c.isLetterOrNumber() || c == u'_' || c == u'.';
        });
    if (!valid) throw db::DbError(QStringLiteral("无效的名称：%1").arg(name));
    return trimmed;
}

}  // namespace

QList<QVariant> distinctColumnValues(Dataset& scratch, const QString& table,
                                     const QString& column) {
    scratch.openWith(QStringLiteral("select distinct ") + checkedName(column) +
                     QStringLiteral(" from ") + checkedName(table));
    QList<QVariant> values;
    values.reserve(scratch.recordCount());
    for (int row = 0; row < scratch.recordCount(); ++row) values << scratch.value(row, 0);
    return values;
}

QString LookupValue(Dataset& scratch, const QString& table, const QString& keyColumn,
                    const QString& key, const QString& resultColumn) {
    try {
        const QString keyName = checkedName(keyColumn);
        const QString resultName = checkedName(resultColumn);
        scratch.openWith(QStringLiteral("select distinct ") + keyName + u',' + resultName +
                             QStringLiteral(" from ") + checkedName(table) +
                             QStringLiteral(" where ") + keyName + QStringLiteral("=:key"),
                         {{QStringLiteral("key"), trimmedInput(key)}});
        return scratch.isEmpty() ? QString() : scratch.value(0, 1).toString();
    } catch (const std::exception&) {
        return {};
    }
}

QString LookupValue(const QString& table, const QString& keyColumn, const QString& key,
                    const QString& resultColumn) {
    TFrmDataMod* module = FrmDataMod();
    return module ? LookupValue(*module->TempQ, table, keyColumn, key, resultColumn) : QString();
}

double fieldSum(const Dataset& dataset, const QString& field) {
    const int index = dataset.fieldIndex(field);
    double sum = 0;
    for (int row = 0; row < dataset.recordCount(); ++row)
        sum += dataset.value(row, index).toDouble();
    return sum;
}

}  // namespace talvor
