#include "datamodel/DisplayFormat.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace talvor {

QString formatFloat(double value) {
    QString text = QString::number(value, 'f', 2);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0')) text.chop(1);
        if (text.endsWith(u'.')) text.chop(1);
    }
    if (text == u"-0") text = QStringLiteral("0");
    return text;
}

QString formatPlainNumber(double value) {
    if (value == 0) return QStringLiteral("0");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString formatDate(const QVariant& value) {
    static const QString shortDate = QStringLiteral("yyyy/M/d");
    static const QString longTime = QStringLiteral("H:mm:ss");
    if (value.typeId() == QMetaType::QDate) return value.toDate().toString(shortDate);
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime stamp = value.toDateTime();
        if (stamp.time() == QTime(0, 0)) return stamp.date().toString(shortDate);
        return stamp.date().toString(shortDate) + u' ' + stamp.time().toString(longTime);
    }
    return value.toString();
}

namespace {
int charWidth(char32_t c) { return c < 0x80 ? 1 : 2; }
}  // namespace

int gbkWidth(const QString& text) {
    int width = 0;
    for (char32_t c : text.toUcs4()) width += charWidth(c);
    return width;
}

QString cutToGbkWidth(const QString& text, int bytes) {
    if (text.size() * 2 <= bytes) return text;  // no character takes more than two bytes
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        width += text[i].unicode() < 0x80 ? 1 : 2;
        if (width > bytes) return text.left(i);
        if (pair) ++i;
    }
    return text;
}

bool isNumeric(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
            return true;
        default:
            return false;
    }
}

}  // namespace talvor
