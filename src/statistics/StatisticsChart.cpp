#include "statistics/StatisticsChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "ui/ErrorReport.h"
#include "ui/Messages.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

// Horizontal bars are laid out from the bottom up, so the first bar goes in last.
std::vector<ChartBar> inDrawingOrder(std::vector<ChartBar> bars, StatisticsChart::Bars kind) {
    if (kind == StatisticsChart::Bars::Horizontal) std::reverse(bars.begin(), bars.end());
    return bars;
}

QAbstractBarSeries* seriesFor(StatisticsChart::Bars kind) {
    if (kind == StatisticsChart::Bars::Horizontal) return new QHorizontalBarSeries;
    return new QBarSeries;
}

// From 0 to the largest value (or from the smallest below 0); never empty, so that a chart
// without bars or with only zeros still has an axis to draw.
std::pair<double, double> valueRange(const std::vector<ChartBar>& bars) {
    double low = 0, high = 0;
    for (const ChartBar& bar : bars) {
        low = std::min(low, bar.value);
        high = std::max(high, bar.value);
    }
    return {low, high > low ? high : low + 1};
}

}  // namespace

StatisticsChart::StatisticsChart(Bars bars, QWidget* parent)
    : QWidget(parent), bars_(bars), view_(new QChartView(this)) {
    setObjectName(u"StatisticsChart"_s);
    view_->setObjectName(u"ChartView"_s);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->chart()->legend()->hide();
    view_->setMinimumWidth(360);

    auto* png = new QPushButton(u"导出图片"_s, this);
    png->setObjectName(u"cmd_png"_s);
    png->setAutoDefault(false);
    printChart_ = new QCheckBox(u"打印时附图表"_s, this);
    printChart_->setObjectName(u"chk_chart"_s);

    auto* tools = new QHBoxLayout;
    tools->addWidget(png);
    tools->addWidget(printChart_);
    tools->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(tools);
    layout->addWidget(view_, 1);

    connectGuarded(png, &QPushButton::clicked, this, [this] { cmd_pngClick(); });
    askPngFile = [this] {
        return QFileDialog::getSaveFileName(this, u"导出图片"_s, {}, u"PNG 图片 (*.png)"_s);
    };
}

void StatisticsChart::display(const ChartData& data) {
    data_ = data;
    QChart* chart = view_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(u"%1（%2）"_s.arg(data.title, data.measure));

    QAbstractBarSeries* series = seriesFor(bars_);
    auto* set = new QBarSet(data.measure);
    QStringList labels;
    for (const ChartBar& bar : inDrawingOrder(data.bars, bars_)) {
        *set << bar.value;
        labels << bar.label;
    }
    series->append(set);
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    auto* values = new QValueAxis;
    values->setLabelFormat(u"%.0f"_s);
    const bool horizontal = bars_ == Bars::Horizontal;
    if (!horizontal) categories->setLabelsAngle(-90);
    chart->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
    const auto [low, high] = valueRange(data.bars);
    values->setRange(low, high);
    values->applyNiceNumbers();
}

std::vector<ChartBar> StatisticsChart::shownBars() const {
    std::vector<ChartBar> bars;
    const QList<QAbstractSeries*> series = view_->chart()->series();
    const QList<QAbstractAxis*> axes = view_->chart()->axes();
    if (series.isEmpty() || axes.isEmpty()) return bars;
    const auto* barSeries = static_cast<QAbstractBarSeries*>(series.first());
    const QBarSet* set = barSeries->barSets().value(0);
    QStringList labels;
    for (QAbstractAxis* axis : axes)
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
            labels = categories->categories();
    for (int i = 0; set && i < set->count(); ++i) bars.push_back({labels.value(i), set->at(i)});
    return inDrawingOrder(bars, bars_);
}

bool StatisticsChart::printsWithList() const { return printChart_->isChecked(); }

QImage StatisticsChart::image() const { return view_->grab().toImage(); }

bool StatisticsChart::exportPng(const QString& path) const { return image().save(path, "PNG"); }

void StatisticsChart::cmd_pngClick() {
    const QString path = askPngFile();
    if (path.isEmpty()) return;
    if (!exportPng(path))
        messages().inform(u"图片没有保存：无法写入 %1"_s.arg(path), MessageIcon::Warning);
}

}  // namespace talvor
