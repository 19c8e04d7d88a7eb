#include "ui/Fonts.h"

#include <QApplication>
#include <QFont>

namespace talvor {

void installSongFont() {
    const QStringList song{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                           QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QApplication::setFont(QFont(QStringLiteral("宋体"), 9));
}

}  // namespace talvor
