#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "statistics/core/StatisticsQueries.h"

namespace talvor {

class Dataset;

struct ChartBar {
    QString label;
    double value = 0;

    bool operator==(const ChartBar&) const = default;
};

// What a statistics chart shows: a title, what the bars measure, and the bars in order.
struct ChartData {
    QString title;
    QString measure;
    std::vector<ChartBar> bars;

    bool operator==(const ChartData&) const = default;
};

inline constexpr int kRankingBars = 20;
// Up to this many days a listing's chart shows days; a longer range shows months.
inline constexpr int kDailyChartDays = 62;

// The first rows of a ranking as it stands, by the measure it is ranked by, each named by its
// name or, without a master row, by its code; a name met before gets the code added.
ChartData RankingChart(const Dataset& ranking, RankKey key, RankBy by);

// The amount (price × quantity) of a listing's rows per day of the range, or per month when
// the range is longer than kDailyChartDays; days and months without rows show 0.
ChartData AmountChart(const Dataset& list, const QDate& from, const QDate& to);

}  // namespace talvor
