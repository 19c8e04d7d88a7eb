#include "app/Splash.h"

#include <QPainter>
#include <QProgressBar>
#include <QTimer>

#include "app/Artwork.h"
#include "ui/Desktop.h"

namespace talvor {

TfrmFlash::TfrmFlash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      picture_(programPicture(QSize(399, 250), QStringLiteral("进货 · 销售 · 库存 · 财务"))),
      ProgressBar1(new QProgressBar(this)),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("TfrmFlash"));
    setFixedSize(399, 250);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(6, height() - 7 - 6, 150, 7);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfrmFlash::Timer1Timer);
    Timer1->start();
    centerOnDesktop(*this);
}

void TfrmFlash::Timer1Timer() {
    ProgressBar1->setValue(ProgressBar1->value() == 100 ? 0 : ProgressBar1->value() + 5);
}

void TfrmFlash::paintEvent(QPaintEvent*) { QPainter(this).drawPixmap(0, 0, picture_); }

}  // namespace talvor
