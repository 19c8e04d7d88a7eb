#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace talvor {

class Dataset;

// Which bills of a side a statistic reads: both kinds, the trade itself (sales, purchases)
// or its returns.
enum class BillChoice { All, Trade, Returns };

// One side of the business: the header and line tables and the type its trade bills carry.
struct BillSide {
    QString headerTable;
    QString lineTable;
    QString tradeType;
};

// Sales and returns to suppliers; the type is compared without letter case, so 'Out' finds
// the stored "out".
inline const BillSide kOutgoing{.headerTable = QStringLiteral("OutMain"),
                                .lineTable = QStringLiteral("OutGoods"),
                                .tradeType = QStringLiteral("Out")};
// Purchases and customer returns.
inline const BillSide kIncoming{.headerTable = QStringLiteral("inmain"),
                                .lineTable = QStringLiteral("ingoods"),
                                .tradeType = QStringLiteral("in")};

// A line listing narrows by one goods item or by one company; an empty code narrows to
// nothing, it does not widen to everything.
struct LineCriteria {
    QDate from;
    QDate to;
    BillChoice bills = BillChoice::All;
    std::optional<QString> goodsCode;
    std::optional<QString> companyCode;
};

enum class RankKey { Goods, Company };
enum class RankBy { Amount, Quantity };

struct RankCriteria {
    QDate from;
    QDate to;
    BillChoice bills = BillChoice::All;
    RankBy by = RankBy::Amount;
};

// Every bill line of the range is a row of its own, two equal lines of one bill included,
// sorted by company, bill, goods, price and quantity; the bill date comes along for charts.
QString LineStatement(const BillSide& side, const LineCriteria& criteria);
QVariantMap LineParams(const LineCriteria& criteria);
void QueryLines(Dataset& list, const BillSide& side, const LineCriteria& criteria);

// One row per goods item (or company) of the outgoing bills: summed quantity, summed
// price × quantity and, for goods, the plain average of the line prices; largest first by the
// chosen measure, the key breaking ties. Grouped on the lines alone: names are looked up
// afterwards, which also keeps a code without its master row.
QString RankStatement(RankKey key, const RankCriteria& criteria);
void QueryRanking(Dataset& ranking, RankKey key, const RankCriteria& criteria);

}  // namespace talvor
