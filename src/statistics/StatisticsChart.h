#pragma once

#include <QWidget>
#include <functional>

#include "statistics/core/ChartData.h"

class QCheckBox;
class QChart;
class QChartView;

namespace talvor {

// The chart beside a statistics grid: a ranking as horizontal bars from the top down, a
// listing's amounts per day or month as a line over time, labelled at a readable spacing. It
// exports what it shows as PNG and says whether the user wants it printed after the listing.
class StatisticsChart : public QWidget {
    Q_OBJECT

  public:
    enum class Shape { Ranking, Timeline };

    StatisticsChart(Shape shape, QWidget* parent = nullptr);

    void display(const ChartData& data);
    const ChartData& data() const { return data_; }
    // The values as the chart draws them, read back from its series and its axis: bars top to
    // bottom, points left to right; a point between two labelled ones has an empty label.
    std::vector<ChartBar> shownBars() const;

    bool printsWithList() const;
    QImage image() const;
    bool exportPng(const QString& path) const;
    void cmd_pngClick();

    // The PNG file to write; empty when the user cancels. Tests answer.
    std::function<QString()> askPngFile;

  private:
    void showRanking(QChart* chart);
    void showTimeline(QChart* chart);

    Shape shape_;
    ChartData data_;
    QChartView* view_;
    QCheckBox* printChart_;
};

}  // namespace talvor
