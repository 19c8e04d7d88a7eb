#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace talvor {

class Dataset;

// The values of "select distinct <column> from <table>" in the order returned, read through
// the scratch dataset. Errors reach the caller.
QList<QVariant> distinctColumnValues(Dataset& scratch, const QString& table, const QString& column);

// The result column of the first row whose key column equals the key, as text; empty when
// there is none or anything fails. The key is bound, never spliced into the statement.
QString LookupValue(Dataset& scratch, const QString& table, const QString& keyColumn,
                    const QString& key, const QString& resultColumn);
// The same through the data module's TempQ.
QString LookupValue(const QString& table, const QString& keyColumn, const QString& key,
                    const QString& resultColumn);

// The sum of a number field over every row of an open dataset, in double precision, row by
// row in its order, without moving its current row. An empty value adds 0.
double fieldSum(const Dataset& dataset, const QString& field);

}  // namespace talvor
