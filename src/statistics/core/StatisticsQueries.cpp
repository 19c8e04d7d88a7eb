#include "statistics/core/StatisticsQueries.h"

#include "datamodel/Dataset.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

QString kindCondition(const BillSide& side, BillChoice bills) {
    switch (bills) {
        case BillChoice::Trade:
            return u"and bill_type='%1' "_s.arg(side.tradeType);
        case BillChoice::Returns:
            return u"and bill_type='retu' "_s;
        case BillChoice::All:
            break;
    }
    return {};
}

QString rangeCondition() { return u"where a.bill_date between :date1 and :date2  "_s; }

QVariantMap rangeParams(const QDate& from, const QDate& to) {
    return {{u"date1"_s, from}, {u"date2"_s, to}};
}

}  // namespace

QString LineStatement(const BillSide& side, const LineCriteria& criteria) {
    QString sql =
        u"select comp_code,b.bill_no,gods_code,"_s
        u"unit_pric,sub_amou,a.bill_date from %1 a inner join "_s
        u"%2 b on a.bill_no=b.bill_no "_s.arg(side.headerTable, side.lineTable) +
        rangeCondition() + kindCondition(side, criteria.bills);
    if (criteria.goodsCode) sql += u"and gods_code=:gods_code "_s;
    if (criteria.companyCode) sql += u"and comp_code=:comp_code "_s;
    return sql + u"order by comp_code,b.bill_no,gods_code,unit_pric,sub_amou"_s;
}

QVariantMap LineParams(const LineCriteria& criteria) {
    QVariantMap params = rangeParams(criteria.from, criteria.to);
    if (criteria.goodsCode) params.insert(u"gods_code"_s, *criteria.goodsCode);
    if (criteria.companyCode) params.insert(u"comp_code"_s, *criteria.companyCode);
    return params;
}

void QueryLines(Dataset& list, const BillSide& side, const LineCriteria& criteria) {
    list.openWith(LineStatement(side, criteria), LineParams(criteria));
}

QString RankStatement(RankKey key, const RankCriteria& criteria) {
    const bool goods = key == RankKey::Goods;
    const QString measures =
        goods ? u"select b.gods_code,sum(b.sub_amou) as sub_amou,avg(unit_pric) as unit_pric,"_s
                u"sum(b.unit_pric*b.sub_amou) as sub_tota "_s
              : u"select comp_code,sum(b.sub_amou) as sub_amou,"_s
                u"sum(b.unit_pric*b.sub_amou) as sub_tota "_s;
    const int amountColumn = goods ? 4 : 3;
    const int orderColumn = criteria.by == RankBy::Amount ? amountColumn : 2;
    return measures + u"from OutMain a inner join OutGoods b on a.bill_no=b.bill_no "_s +
           rangeCondition() + kindCondition(kOutgoing, criteria.bills) +
           (goods ? u" group by b.gods_code "_s : u" group by comp_code "_s) +
           u"order by %1 desc,1"_s.arg(orderColumn);
}

void QueryRanking(Dataset& ranking, RankKey key, const RankCriteria& criteria) {
    ranking.openWith(RankStatement(key, criteria), rangeParams(criteria.from, criteria.to));
}

}  // namespace talvor
