#pragma once

#include <QWidget>
#include <functional>

#include "statistics/core/ChartData.h"

class QCheckBox;
class QChartView;

namespace talvor {

// The chart beside a statistics grid: a ranking as horizontal bars from the top down, a
// listing's amounts per day or month as columns. It exports what it shows as PNG and says
// whether the user wants it printed after the listing.
class StatisticsChart : public QWidget {
    Q_OBJECT

  public:
    enum class Bars { Horizontal, Vertical };

    StatisticsChart(Bars bars, QWidget* parent = nullptr);

    void display(const ChartData& data);
    const ChartData& data() const { return data_; }
    // The bars as the chart draws them, read back from its series: top to bottom, left to right.
    std::vector<ChartBar> shownBars() const;

    bool printsWithList() const;
    QImage image() const;
    bool exportPng(const QString& path) const;
    void cmd_pngClick();

    // The PNG file to write; empty when the user cancels. Tests answer.
    std::function<QString()> askPngFile;

  private:
    Bars bars_;
    ChartData data_;
    QChartView* view_;
    QCheckBox* printChart_;
};

}  // namespace talvor
