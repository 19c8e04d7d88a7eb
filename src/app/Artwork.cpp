#include "app/Artwork.h"

#include <QIcon>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/core/ProgramTitle.h"

namespace talvor {

namespace {

struct Ridge {
    double base;    // height of the ridge line, as a share of the picture's height
    double height;  // swing of the line, likewise
    double phase;
    QColor color;
};

// A ridge line from a few overlaid waves: the same on every run, soft enough to read as hills.
QPainterPath ridgePath(const QSizeF& size, const Ridge& ridge) {
    QPainterPath path(QPointF(0, size.height()));
    const double w = size.width();
    for (double x = 0; x <= w + 4; x += 4) {
        const double t = x / w;
        const double swing = 0.55 * std::sin(t * 5.1 + ridge.phase) +
                             0.30 * std::sin(t * 11.7 + ridge.phase * 2.3) +
                             0.15 * std::sin(t * 23.0 + ridge.phase * 0.7);
        path.lineTo(x, size.height() * (ridge.base - ridge.height * swing));
    }
    path.lineTo(w, size.height());
    path.closeSubpath();
    return path;
}

void paintMist(QPainter& p, const QSizeF& size, double at, double thickness, int alpha) {
    QLinearGradient mist(0, size.height() * (at - thickness), 0, size.height() * (at + thickness));
    mist.setColorAt(0, QColor(255, 255, 255, 0));
    mist.setColorAt(0.5, QColor(255, 255, 255, alpha));
    mist.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(
        QRectF(0, size.height() * (at - thickness), size.width(), size.height() * thickness * 2),
        mist);
}

void paintRidges(QPainter& p, const QSizeF& size, const std::vector<Ridge>& ridges) {
    p.setPen(Qt::NoPen);
    for (size_t i = 0; i < ridges.size(); ++i) {
        p.setBrush(ridges[i].color);
        p.drawPath(ridgePath(size, ridges[i]));
        paintMist(p, size, ridges[i].base + ridges[i].height * 0.6, 0.08, 55);
    }
}

// A bent stalk with its grains, rooted at foot and leaning right. A bolder stalk keeps its
// shape at icon sizes.
void paintRiceStalk(QPainter& p, QPointF foot, double height, const QColor& stem,
                    const QColor& grain, double boldness = 1.0) {
    QPainterPath stalk(foot);
    const QPointF top(foot.x() + height * 0.28, foot.y() - height);
    const QPointF tip(top.x() + height * 0.30, top.y() + height * 0.38);
    stalk.cubicTo(foot.x() - height * 0.04, foot.y() - height * 0.5, foot.x() + height * 0.05,
                  top.y() + height * 0.15, top.x(), top.y());
    stalk.quadTo(top.x() + height * 0.22, top.y() - height * 0.02, tip.x(), tip.y());
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(stem, std::max(1.5, height * 0.018 * boldness), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stalk);

    QPainterPath leaf(QPointF(foot.x() + height * 0.01, foot.y() - height * 0.35));
    leaf.quadTo(foot.x() - height * 0.25, foot.y() - height * 0.55, foot.x() - height * 0.32,
                foot.y() - height * 0.42);
    leaf.quadTo(foot.x() - height * 0.18, foot.y() - height * 0.45, foot.x() + height * 0.01,
                foot.y() - height * 0.31);
    p.setPen(Qt::NoPen);
    p.setBrush(stem);
    p.drawPath(leaf);

    // Grains hang along the drooping head, two rows, smaller towards the tip.
    p.setBrush(grain);
    const QPainterPath head = [&] {
        QPainterPath h(top);
        h.quadTo(top.x() + height * 0.22, top.y() - height * 0.02, tip.x(), tip.y());
        return h;
    }();
    for (int i = 1; i <= 9; ++i) {
        const double t = i / 10.0;
        const QPointF at = head.pointAtPercent(t);
        const double angle = head.angleAtPercent(t);
        const double size = height * (0.075 - 0.035 * t) * (0.8 + 0.2 * boldness);
        for (int side : {-1, 1}) {
            p.save();
            p.translate(at);
            p.rotate(-angle + side * 38);
            p.drawEllipse(QPointF(size * 0.9, 0), size, size * 0.45);
            p.restore();
        }
    }
}

QFont songFont(double pixels, bool bold = false) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(int(pixels));
    font.setBold(bold);
    return font;
}

}  // namespace

QPixmap programPicture(QSize size, const QString& caption) {
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF s(size);

    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(0x10, 0x3a, 0x4c));
    sky.setColorAt(0.55, QColor(0x2b, 0x76, 0x80));
    sky.setColorAt(1, QColor(0xd7, 0xe9, 0xe1));
    p.fillRect(picture.rect(), sky);

    QRadialGradient sun(QPointF(s.width() * 0.78, s.height() * 0.26), s.height() * 0.16);
    sun.setColorAt(0, QColor(0xfb, 0xee, 0xc1, 230));
    sun.setColorAt(0.6, QColor(0xf3, 0xd9, 0x8a, 120));
    sun.setColorAt(1, QColor(0xf3, 0xd9, 0x8a, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(sun.center(), sun.radius(), sun.radius());

    paintRidges(p, s,
                {{0.55, 0.10, 0.4, QColor(0x5d, 0x8f, 0x99, 170)},
                 {0.68, 0.08, 2.1, QColor(0x3c, 0x6e, 0x6c, 210)},
                 {0.82, 0.06, 4.0, QColor(0x24, 0x4f, 0x47, 235)}});
    paintRiceStalk(p, QPointF(s.width() * 0.08, s.height() * 0.97), s.height() * 0.56,
                   QColor(0x8d, 0x9a, 0x3c), QColor(0xe6, 0xb8, 0x3f));

    const QRectF titleBox(s.width() * 0.33, s.height() * 0.30, s.width() * 0.65, s.height() * 0.2);
    p.setFont(songFont(s.height() * 0.095, true));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(titleBox.translated(1.5, 1.5), Qt::AlignLeft | Qt::AlignVCenter, programTitle());
    p.setPen(Qt::white);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, programTitle());

    p.setFont(songFont(s.height() * 0.052));
    p.setPen(QColor(0xe4, 0xf2, 0xee));
    p.drawText(QRectF(titleBox.left() + 2, titleBox.bottom(), titleBox.width(), s.height() * 0.1),
               Qt::AlignLeft | Qt::AlignTop, caption);
    return picture;
}

QPixmap backgroundPicture(QSize size) {
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF s(size);

    QLinearGradient paper(0, 0, 0, s.height());
    paper.setColorAt(0, QColor(0xf5, 0xf8, 0xf6));
    paper.setColorAt(1, QColor(0xdc, 0xea, 0xe5));
    p.fillRect(picture.rect(), paper);

    paintRidges(p, s,
                {{0.66, 0.09, 1.3, QColor(0xbf, 0xd6, 0xd2, 150)},
                 {0.78, 0.07, 3.2, QColor(0xa3, 0xc4, 0xbe, 170)},
                 {0.90, 0.05, 5.0, QColor(0x86, 0xae, 0xa6, 190)}});
    for (int i = 0; i < 3; ++i)
        paintRiceStalk(p, QPointF(s.width() * (0.80 + 0.05 * i), s.height() * 0.99),
                       s.height() * (0.42 - 0.06 * i), QColor(0x9a, 0xab, 0x6a, 200),
                       QColor(0xd9, 0xbb, 0x6c, 210));

    p.setFont(songFont(s.height() * 0.075, true));
    p.setPen(QColor(0x2b, 0x5e, 0x60, 60));
    p.drawText(QRectF(0, s.height() * 0.28, s.width(), s.height() * 0.14), Qt::AlignCenter,
               programTitle());
    return picture;
}

namespace {

// The icon's picture: sky, sun, two ridges and a bold stalk, filling a tile of size s.
void paintIconScene(QPainter& p, const QSizeF& s) {
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(0x15, 0x4a, 0x5c));
    sky.setColorAt(0.6, QColor(0x2f, 0x80, 0x86));
    sky.setColorAt(1, QColor(0xcf, 0xe6, 0xdc));
    p.fillRect(QRectF(QPointF(), s), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfb, 0xe7, 0xa8));
    p.drawEllipse(QPointF(s.width() * 0.26, s.height() * 0.28), s.width() * 0.11, s.width() * 0.11);
    paintRidges(p, s,
                {{0.62, 0.08, 0.4, QColor(0x5d, 0x8f, 0x99, 190)},
                 {0.80, 0.07, 2.1, QColor(0x24, 0x4f, 0x47, 235)}});
    paintRiceStalk(p, QPointF(s.width() * 0.42, s.height() * 1.02), s.height() * 0.78,
                   QColor(0xb4, 0xc4, 0x4a), QColor(0xf0, 0xc0, 0x3c), 2.5);
}

}  // namespace

QImage iconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double margin = size * 0.04;
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    QPainterPath shape;
    shape.addRoundedRect(tile, size * 0.2, size * 0.2);

    p.setClipPath(shape);
    p.translate(tile.topLeft());
    paintIconScene(p, tile.size());
    p.resetTransform();
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x0e, 0x33, 0x40), std::max(1.0, size / 64.0)));
    p.drawPath(shape);
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : iconSizes) icon.addPixmap(QPixmap::fromImage(iconImage(size)));
    return icon;
}

}  // namespace talvor
