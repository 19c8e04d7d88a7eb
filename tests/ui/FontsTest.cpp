#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

#include "ui/Fonts.h"

namespace talvor {
namespace {

TEST(FontsTest, SongFamilyNamesReachTheInstalledSongFont) {
    if (!QFontDatabase::families().contains(QStringLiteral("AR PL UMing CN")))
        GTEST_SKIP() << "fonts-arphic-uming is not installed";
    const QFont before = QApplication::font();
    installSongFont();
    for (const char* family : {"宋体", "SimSun"})
        EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(family), 9)).family(),
                  QStringLiteral("AR PL UMing CN"))
            << family;
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(QApplication::font().pointSize(), 9);
    QApplication::setFont(before);
}

}  // namespace
}  // namespace talvor
