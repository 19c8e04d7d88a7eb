#pragma once

#include <QByteArray>
#include <QString>

namespace talvor {

// The system's ANSI code page. A character GBK lacks is written as "?", as the Windows
// conversion does; a byte sequence that is not GBK reads as U+FFFD.
QByteArray toGbk(const QString& text);
QString fromGbk(const QByteArray& bytes);

}  // namespace talvor
