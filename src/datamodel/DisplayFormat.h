#pragma once

#include <QString>
#include <QVariant>

namespace talvor {

// Numbers with "#0.##": at most two decimals, no trailing zeros, no thousands separator.
QString formatFloat(double value);
// As many digits as the number needs (fields shown without format).
QString formatPlainNumber(double value);
// Dates in the Chinese (China) short date format, with the long time when the time of day
// is not zero, whatever the machine's locale.
QString formatDate(const QVariant& value);

// Whether a value holds a number of any width.
bool isNumeric(const QVariant& value);

// Width of a text in bytes of its GBK form, where a Chinese character takes two.
int gbkWidth(const QString& text);
// The longest prefix of whole characters whose GBK form fits in `bytes`.
QString cutToGbkWidth(const QString& text, int bytes);

}  // namespace talvor
