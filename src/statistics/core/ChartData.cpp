#include "statistics/core/ChartData.h"

#include <QMap>
#include <QSet>

#include "datamodel/Dataset.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

QString barLabel(const Dataset& ranking, int row, int name, int code) {
    const QString text = ranking.value(row, name).toString().trimmed();
    return text.isEmpty() ? ranking.value(row, code).toString() : text;
}

QDate firstOfMonth(const QDate& date) { return QDate(date.year(), date.month(), 1); }

}  // namespace

ChartData RankingChart(const Dataset& ranking, RankKey key, RankBy by) {
    const bool goods = key == RankKey::Goods;
    const bool byAmount = by == RankBy::Amount;
    ChartData chart{.title = u"前%1名"_s.arg(kRankingBars),
                    .measure = byAmount ? u"金额"_s : u"数量"_s,
                    .bars = {}};
    const int name = ranking.fieldIndex(goods ? u"gods_name"_s : u"comp_name"_s);
    const int code = ranking.fieldIndex(goods ? u"gods_code"_s : u"comp_code"_s);
    const int measure = ranking.fieldIndex(byAmount ? u"sub_tota"_s : u"sub_amou"_s);
    const int count = std::min(ranking.recordCount(), kRankingBars);
    QSet<QString> used;
    for (int row = 0; row < count; ++row) {
        QString label = barLabel(ranking, row, name, code);
        // Two goods may share a name; the chart's axis needs every label once.
        if (used.contains(label)) label += u"（%1）"_s.arg(ranking.value(row, code).toString());
        used.insert(label);
        chart.bars.push_back({label, ranking.value(row, measure).toDouble()});
    }
    return chart;
}

ChartData AmountChart(const Dataset& list, const QDate& from, const QDate& to) {
    const bool daily = from.daysTo(to) + 1 <= kDailyChartDays;
    ChartData chart{
        .title = daily ? u"每日金额"_s : u"每月金额"_s, .measure = u"金额"_s, .bars = {}};
    if (!from.isValid() || !to.isValid() || from > to) return chart;

    const auto periodOf = [daily](const QDate& date) { return daily ? date : firstOfMonth(date); };
    QMap<QDate, double> amounts;
    for (QDate period = periodOf(from); period <= to;
         period = daily ? period.addDays(1) : period.addMonths(1))
        amounts.insert(period, 0);
    const int date = list.fieldIndex(u"bill_date"_s);
    const int price = list.fieldIndex(u"unit_pric"_s);
    const int quantity = list.fieldIndex(u"sub_amou"_s);
    for (int row = 0; row < list.recordCount(); ++row) {
        const auto found = amounts.find(periodOf(list.value(row, date).toDate()));
        if (found != amounts.end())
            *found += list.value(row, price).toDouble() * list.value(row, quantity).toDouble();
    }
    const QString format = daily ? u"M-d"_s : u"yyyy-M"_s;
    for (auto it = amounts.cbegin(); it != amounts.cend(); ++it)
        chart.bars.push_back({it.key().toString(format), it.value()});
    return chart;
}

}  // namespace talvor
