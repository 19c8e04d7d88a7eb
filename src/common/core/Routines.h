#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <stdexcept>

#include "datamodel/Error.h"

namespace talvor {

// A text that should hold an integer and does not.
class ConversionError : public Error {
  public:
    using Error::Error;
};

// Typed texts lose their leading and trailing blanks and control characters before they are
// compared or stored.
QString trimmedInput(const QString& text);

// Decimal digits with an optional sign, or hexadecimal digits after "0x"; surrounding blanks
// are ignored. Anything else, or a value beyond int, gives nothing.
std::optional<int> parseInteger(const QString& text);

// As parseInteger, but a text that is no integer throws ConversionError.
int textToInteger(const QString& text);

// A new bill number: the local date and time as "yyyyMMddHHmmss".
QString NowStamp();
QString NowStamp(const QDateTime& moment);

// The amount in Chinese capital numerals, every digit with its unit; empty from 100,000,000 on.
QString AmountInWords(double amount);

// The items of a plain pick list filled from a column: every value that is not blank, as it
// is stored, in the order given.
QStringList distinctItems(const QList<QVariant>& values);

// Adds a column's values to a data-bound pick list: a value joins when it is not blank and its
// trimmed text equals no item already listed.
void mergeDistinctItems(QStringList& items, const QList<QVariant>& values);

}  // namespace talvor
