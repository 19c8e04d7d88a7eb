#include "reports/core/ReportPainter.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <map>

#include "reports/core/ReportFonts.h"

namespace talvor::report {

namespace {

constexpr int kPdfResolution = 1200;

// Fonts are resolved against the device's resolution, so a size in points is scaled by how
// much larger than the device the page is drawn.
std::vector<QFont> fontsFor(const PreparedReport& report, const QPainter& painter,
                            double dotsPerMm) {
    const double scale = dotsPerMm * 25.4 / painter.device()->logicalDpiY();
    std::vector<QFont> fonts;
    for (FontSpec font : report.fonts) {
        font.pointSize *= scale;
        fonts.push_back(makeFont(font));
    }
    return fonts;
}

QRectF toDevice(const QRectF& mm, double dotsPerMm) {
    return {mm.x() * dotsPerMm, mm.y() * dotsPerMm, mm.width() * dotsPerMm,
            mm.height() * dotsPerMm};
}

// A rule in thousandths of a millimetre, so that coincident edges compare equal.
struct Rule {
    qint64 x1, y1, x2, y2, pen;
    auto operator<=>(const Rule&) const = default;
};

qint64 micro(double mm) { return qRound64(mm * 1000); }

void addRule(std::vector<Rule>& rules, QPointF a, QPointF b, double penMm) {
    if (b.x() < a.x() || b.y() < a.y()) std::swap(a, b);
    rules.push_back({micro(a.x()), micro(a.y()), micro(b.x()), micro(b.y()), micro(penMm)});
}

// Frames are taken apart into their edges; where table rows meet, an edge shared by two rows
// is drawn once, so a ruling never prints darker where cells adjoin.
std::vector<Rule> rulesOf(const PreparedPage& page) {
    std::vector<Rule> rules;
    for (const PreparedShape& s : page.shapes) {
        const QRectF& r = s.rectMm;
        if (s.shape != ShapeKind::VerticalRule) addRule(rules, r.topLeft(), r.topRight(), s.penMm);
        if (s.shape != ShapeKind::HorizontalRule)
            addRule(rules, r.topLeft(), r.bottomLeft(), s.penMm);
        if (s.shape != ShapeKind::Rectangle) continue;
        addRule(rules, r.bottomLeft(), r.bottomRight(), s.penMm);
        addRule(rules, r.topRight(), r.bottomRight(), s.penMm);
    }
    std::sort(rules.begin(), rules.end());
    rules.erase(std::unique(rules.begin(), rules.end()), rules.end());
    return rules;
}

// Rules are gathered by pen width and drawn in a few calls.
void paintShapes(QPainter& painter, const PreparedPage& page, double dotsPerMm) {
    std::map<qint64, QList<QLineF>> byPen;
    const double scale = dotsPerMm / 1000;
    for (const Rule& r : rulesOf(page))
        byPen[r.pen].append(QLineF(r.x1 * scale, r.y1 * scale, r.x2 * scale, r.y2 * scale));
    for (const auto& [pen, lines] : byPen) {
        // A cosmetic pen would vanish at printer resolution; keep at least one device dot.
        const double width = std::max(pen * scale, 1.0);
        painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLines(lines);
    }
}

int flagsOf(Align align) {
    const int vertical = Qt::AlignVCenter | Qt::TextSingleLine;
    switch (align) {
        case Align::Left:
            return Qt::AlignLeft | vertical;
        case Align::Centre:
            return Qt::AlignHCenter | vertical;
        case Align::Right:
            return Qt::AlignRight | vertical;
    }
    return vertical;
}

void paintText(QPainter& painter, const PreparedText& t, const QRectF& r) {
    if (t.stretch >= 1) {
        painter.drawText(r, flagsOf(t.align), t.text);
        return;
    }
    painter.save();
    painter.translate(r.left(), 0);
    painter.scale(t.stretch, 1);
    painter.drawText(QRectF(0, r.top(), r.width() / t.stretch, r.height()), flagsOf(t.align),
                     t.text);
    painter.restore();
}

void paintTexts(QPainter& painter, const PreparedReport& report, const PreparedPage& page,
                double dotsPerMm) {
    const std::vector<QFont> fonts = fontsFor(report, painter, dotsPerMm);
    painter.setPen(Qt::black);
    int current = -1;
    for (const PreparedText& t : page.texts) {
        if (t.font != current) {
            current = t.font;
            painter.setFont(fonts.at(size_t(current)));
        }
        paintText(painter, t, toDevice(t.rectMm, dotsPerMm));
    }
}

}  // namespace

void paintPage(QPainter& painter, const PreparedReport& report, int page, double dotsPerMm) {
    const PreparedPage& p = report.pages.at(size_t(page));
    painter.save();
    paintShapes(painter, p, dotsPerMm);
    paintTexts(painter, report, p, dotsPerMm);
    painter.restore();
}

QPageSize pageSizeOf(const PageSetup& page) {
    return QPageSize(page.sizeMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

void exportPdf(const PreparedReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(pageSizeOf(report.page));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QFileInfo(path).completeBaseName());
    writer.setCreator(QStringLiteral("禾岚进销存管理系统"));
    QPainter painter;
    if (!painter.begin(&writer)) throw ReportError(QStringLiteral("无法写入文件 %1").arg(path));
    const double dotsPerMm = writer.resolution() / 25.4;
    for (int page = 0; page < report.pageCount(); ++page) {
        if (page > 0) writer.newPage();
        paintPage(painter, report, page, dotsPerMm);
    }
    if (!painter.end()) throw ReportError(QStringLiteral("无法写入文件 %1").arg(path));
}

}  // namespace talvor::report
