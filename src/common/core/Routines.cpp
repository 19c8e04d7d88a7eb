#include "common/core/Routines.h"

#include <QLocale>
#include <array>
#include <cmath>
#include <limits>

namespace talvor {

namespace {

bool isTrimmed(QChar c) { return c.unicode() <= u' '; }

int digitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

// At most 15 digits, so that the value always fits before its range is checked.
std::optional<qint64> parseDigits(QStringView digits, int base) {
    if (digits.isEmpty() || digits.size() > 15) return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits) {
        const int digit = digitValue(c);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

std::optional<qint64> parseWide(QStringView text) {
    if (text.startsWith(u"0x", Qt::CaseInsensitive)) return parseDigits(text.mid(2), 16);
    if (text.startsWith(u'-')) {
        const auto value = parseDigits(text.mid(1), 10);
        return value ? std::optional(-*value) : std::nullopt;
    }
    return parseDigits(text.startsWith(u'+') ? text.mid(1) : text, 10);
}

bool isBlank(const QVariant& value) {
    return value.isNull() || trimmedInput(value.toString()).isEmpty();
}

// The amount without sign in fen, as digits without leading zeros.
QString fenDigits(double amount) {
    QString fixed = QString::number(std::abs(amount), 'f', 2);
    fixed.remove(u'.');
    while (fixed.size() > 1 && fixed.startsWith(u'0')) fixed.remove(0, 1);
    return fixed;
}

}  // namespace

QString trimmedInput(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin])) ++begin;
    while (end > begin && isTrimmed(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

std::optional<int> parseInteger(const QString& text) {
    const auto value = parseWide(trimmedInput(text));
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*value);
}

int textToInteger(const QString& text) {
    if (const auto value = parseInteger(text)) return *value;
    throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

QString NowStamp() { return NowStamp(QDateTime::currentDateTime()); }

QString NowStamp(const QDateTime& moment) {
    return QLocale::c().toString(moment, u"yyyyMMddHHmmss");
}

QString AmountInWords(double amount) {
    static constexpr std::array<char16_t, 10> numerals = {u'零', u'壹', u'贰', u'叁', u'肆',
                                                          u'伍', u'陆', u'柒', u'捌', u'玖'};
    static constexpr std::array<char16_t, 10> units = {u'分', u'角', u'圆', u'拾', u'佰',
                                                       u'仟', u'万', u'拾', u'佰', u'仟'};
    if (!std::isfinite(amount)) return {};
    const QString digits = fenDigits(amount);
    if (digits.size() > qsizetype(units.size())) return {};
    QString words = amount < 0 ? QStringLiteral("负") : QString();
    for (qsizetype i = 0; i < digits.size(); ++i) {
        words += QChar(numerals[digits[i].unicode() - u'0']);
        words += QChar(units[digits.size() - 1 - i]);
    }
    return words + u'整';
}

QStringList distinctItems(const QList<QVariant>& values) {
    QStringList items;
    for (const QVariant& value : values)
        if (!isBlank(value)) items.append(value.toString());
    return items;
}

void mergeDistinctItems(QStringList& items, const QList<QVariant>& values) {
    for (const QVariant& value : values) {
        if (isBlank(value)) continue;
        const QString text = value.toString();
        if (!items.contains(trimmedInput(text), Qt::CaseSensitive)) items.append(text);
    }
}

}  // namespace talvor
