#include "statistics/core/ChartPage.h"

#include <algorithm>
#include <cmath>

#include "datamodel/DisplayFormat.h"

namespace talvor {

using namespace Qt::StringLiterals;
using report::Align;
using report::PreparedPage;
using report::PreparedReport;
using report::PreparedShape;
using report::PreparedText;

namespace {

constexpr double kHeadingMm = 14;
constexpr double kRowMm = 6;
constexpr double kLabelMm = 55;
constexpr double kValueMm = 28;
constexpr double kGapMm = 2;

int addFont(PreparedReport& report, const report::FontSpec& font) {
    report.fonts.push_back(font);
    return int(report.fonts.size()) - 1;
}

struct PageGeometry {
    QRectF area;
    double barLeft() const { return area.left() + kLabelMm + kGapMm; }
    double barWidth() const { return area.width() - kLabelMm - kValueMm - 2 * kGapMm; }
    int rowsPerPage() const { return std::max(1, int((area.height() - kHeadingMm) / kRowMm)); }
};

double largestValue(const ChartData& chart) {
    double largest = 0;
    for (const ChartBar& bar : chart.bars) largest = std::max(largest, std::abs(bar.value));
    return largest;
}

}  // namespace

void AppendChartPages(PreparedReport& report, const QString& heading, const ChartData& chart) {
    const PageGeometry page{report.page.printableMm()};
    const int headingFont = addFont(report, report::fontPx(19, true));
    const int rowFont = addFont(report, report::fontPx(13));
    const double largest = largestValue(chart);
    const QString title = u"%1  %2（%3）"_s.arg(heading, chart.title, chart.measure);

    size_t next = 0;
    do {
        PreparedPage out;
        out.texts.push_back({QRectF(page.area.left(), page.area.top(), page.area.width(), 10),
                             title, headingFont, Align::Centre, 1});
        double y = page.area.top() + kHeadingMm;
        for (int row = 0; row < page.rowsPerPage() && next < chart.bars.size(); ++row, ++next) {
            const ChartBar& bar = chart.bars[next];
            out.texts.push_back({QRectF(page.area.left(), y, kLabelMm, kRowMm), bar.label, rowFont,
                                 Align::Left, 1});
            const double length = largest > 0 ? page.barWidth() * std::abs(bar.value) / largest : 0;
            if (length > 0)
                out.shapes.push_back({report::ShapeKind::Rectangle,
                                      QRectF(page.barLeft(), y + 1, length, kRowMm - 2), 0.3});
            out.texts.push_back({QRectF(page.area.right() - kValueMm, y, kValueMm, kRowMm),
                                 formatFloat(bar.value), rowFont, Align::Right, 1});
            y += kRowMm;
        }
        report.pages.push_back(std::move(out));
    } while (next < chart.bars.size());
}

}  // namespace talvor
