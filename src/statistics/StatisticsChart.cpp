#include "statistics/StatisticsChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLineSeries>
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
std::vector<ChartBar> bottomUp(std::vector<ChartBar> bars) {
    std::reverse(bars.begin(), bars.end());
    return bars;
}

// About eight labels along the time axis, whatever the number of days or months.
constexpr int kTimeLabels = 8;

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

StatisticsChart::StatisticsChart(Shape shape, QWidget* parent)
    : QWidget(parent), shape_(shape), view_(new QChartView(this)) {
    setObjectName(u"StatisticsChart"_s);
    view_->setObjectName(u"ChartView"_s);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->chart()->legend()->hide();
    view_->setMinimumWidth(440);

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
    if (shape_ == Shape::Ranking)
        showRanking(chart);
    else
        showTimeline(chart);
}

void StatisticsChart::showRanking(QChart* chart) {
    auto* series = new QHorizontalBarSeries;
    auto* set = new QBarSet(data_.measure);
    QStringList labels;
    for (const ChartBar& bar : bottomUp(data_.bars)) {
        *set << bar.value;
        labels << bar.label;
    }
    series->append(set);
    chart->addSeries(series);
    auto* names = new QBarCategoryAxis;
    names->append(labels);
    names->setTruncateLabels(false);
    auto* values = new QValueAxis;
    values->setLabelFormat(u"%.0f"_s);
    const auto [low, high] = valueRange(data_.bars);
    values->setRange(low, high);
    values->applyNiceNumbers();
    chart->addAxis(names, Qt::AlignLeft);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(names);
    series->attachAxis(values);
}

void StatisticsChart::showTimeline(QChart* chart) {
    auto* series = new QLineSeries;
    series->setPointsVisible(true);
    const int count = int(data_.bars.size());
    for (int i = 0; i < count; ++i) series->append(i, data_.bars[size_t(i)].value);
    chart->addSeries(series);
    auto* periods = new QCategoryAxis;
    periods->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int step = std::max(1, (count + kTimeLabels - 1) / kTimeLabels);
    for (int i = 0; i < count; i += step) periods->append(data_.bars[size_t(i)].label, i);
    periods->setRange(0, std::max(1, count - 1));
    auto* values = new QValueAxis;
    values->setLabelFormat(u"%.0f"_s);
    const auto [low, high] = valueRange(data_.bars);
    values->setRange(low, high);
    values->applyNiceNumbers();
    chart->addAxis(periods, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(periods);
    series->attachAxis(values);
}

std::vector<ChartBar> StatisticsChart::shownBars() const {
    std::vector<ChartBar> shown;
    const QList<QAbstractSeries*> series = view_->chart()->series();
    if (series.isEmpty()) return shown;
    if (auto* bars = qobject_cast<QHorizontalBarSeries*>(series.first())) {
        const QBarSet* set = bars->barSets().value(0);
        QStringList labels;
        for (QAbstractAxis* axis : bars->attachedAxes())
            if (auto* names = qobject_cast<QBarCategoryAxis*>(axis)) labels = names->categories();
        for (int i = 0; set && i < set->count(); ++i)
            shown.push_back({labels.value(i), set->at(i)});
        return bottomUp(shown);
    }
    auto* line = static_cast<QLineSeries*>(series.first());
    QHash<int, QString> labels;
    for (QAbstractAxis* axis : line->attachedAxes())
        if (auto* periods = qobject_cast<QCategoryAxis*>(axis))
            for (const QString& label : periods->categoriesLabels())
                labels.insert(int(periods->endValue(label)), label);
    for (const QPointF& point : line->points())
        shown.push_back({labels.value(int(point.x())), point.y()});
    return shown;
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
