#include "warehouse/core/MonthlyMovement.h"

#include <QVariantMap>

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

QVariantMap month(const QDate& first) {
    return {{u"first"_s, first}, {u"next"_s, first.addMonths(1)}};
}

// The lines of the month's bills of one side. A line counts when a header of its bill number
// lies in the month, once however many headers share that number.
QString linesOf(const char* header, const char* lines, const char* column, const char* closing) {
    return QStringLiteral(
               "insert into miostemp (gods_code,%3,now_amou) \n"
               "select b.gods_code,coalesce(b.sub_amou,0),%4coalesce(b.sub_amou,0) from %2 b \n"
               "where exists (select a.bill_no from %1 a where a.bill_no=b.bill_no and \n"
               "a.bill_date>=:first and a.bill_date<:next) \n"
               "order by b.gods_code")
        .arg(QLatin1String(header), QLatin1String(lines), QLatin1String(column),
             QLatin1String(closing));
}

}  // namespace

void BuildMonthlyMovement(db::Engine& engine, const QDate& date, Progress& progress) {
    const QDate first(date.year(), date.month(), 1);
    db::Transaction tx(engine);
    progress.advance(0, 4);
    engine.execute(u"delete * from  miostemp"_s);
    engine.execute(u"delete * from  mios"_s);
    engine.execute(
        u"insert into miostemp (gods_code,last_amou,now_amou) \n"
        "select gods_code,coalesce(chek_amou,0),coalesce(chek_amou,0) from storchek \n"
        "where chek_date>=:first and chek_date<:next \n"
        "order by gods_code"_s,
        month(first.addMonths(-1)));
    progress.advance(1, 4);
    engine.execute(linesOf("inmain", "ingoods", "in_amou", ""), month(first));
    progress.advance(2, 4);
    engine.execute(linesOf("outmain", "outgoods", "out_amou", "-"), month(first));
    progress.advance(3, 4);
    engine.execute(
        u"insert into mios  select gods_code, \n"
        "sum(last_amou) as last_amou,sum(in_amou) as in_amou,\n"
        "sum(out_amou) as out_amou,sum(now_amou) as now_amou \n"
        " from miostemp group by gods_code  "_s);
    progress.advance(4, 4);
    tx.commit();
}

}  // namespace talvor
