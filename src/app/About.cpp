#include "app/About.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "app/Artwork.h"
#include "ui/Desktop.h"

namespace talvor {

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      picture_(programPicture(QSize(400, 250),
                              QStringLiteral("进货 · 销售 · 库存 · 财务，一个程序管好"))),
      lblClose(new QLabel(QStringLiteral("关闭"), this)) {
    setObjectName(QStringLiteral("TfrmAbout"));
    setFixedSize(400, 250);
    lblClose->setObjectName(QStringLiteral("lblClose"));
    lblClose->setCursor(Qt::PointingHandCursor);
    lblClose->setStyleSheet(QStringLiteral("color: white;"));
    lblClose->adjustSize();
    lblClose->move(width() - lblClose->width() - 12, 8);
    lblClose->installEventFilter(this);
    centerOnDesktop(*this);
}

void TfrmAbout::paintEvent(QPaintEvent*) { QPainter(this).drawPixmap(0, 0, picture_); }

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblClose && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace talvor
