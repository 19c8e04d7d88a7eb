#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTimer>

#include "app/Splash.h"

namespace talvor {
namespace {

TEST(SplashScreenTest, ThinBarRunsRoundInStepsOfFive) {
    TfrmFlash splash;
    EXPECT_EQ(splash.size(), QSize(399, 250));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    auto* bar = splash.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_TRUE(bar && timer);
    EXPECT_EQ(bar->size(), QSize(150, 7));
    EXPECT_LT(bar->x(), 20);
    EXPECT_GT(bar->y(), 250 - 20) << "along the bottom-left edge";
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_TRUE(timer->isActive());

    QList<int> values;
    for (int tick = 0; tick < 22; ++tick) {
        splash.Timer1Timer();
        values << bar->value();
    }
    EXPECT_EQ(values.mid(18), (QList<int>{95, 100, 0, 5}));
}

}  // namespace
}  // namespace talvor
