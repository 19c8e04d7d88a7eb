#include "warehouse/core/StockTaking.h"

#include "bills/core/StockLedger.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

// The month of a date as a range of stored dates, so the index on chek_date answers it.
QVariantMap monthOf(const QDate& date) {
    const QDate first(date.year(), date.month(), 1);
    return {{u"first"_s, first}, {u"next"_s, first.addMonths(1)}};
}

void refillFromLedger(db::Engine& engine) {
    engine.execute(u"delete * from  chektemp"_s);
    engine.execute(
        u"insert into chektemp select gods_code,gods_amou from  storemain\n"
        "order by gods_code"_s);
}

void refuseCountedMonth(db::Engine& engine, const QDate& date) {
    if (IsMonthStockTaken(engine, date)) throw StockRefused(monthCountedMessage());
}

}  // namespace

QString monthCountedMessage() { return u"该月已盘点，不能再进行盘点操作!请查询."_s; }

void ListStockForAdjustment(db::Engine& engine) {
    db::Transaction tx(engine);
    refillFromLedger(engine);
    tx.commit();
}

void ApplyStockAdjustment(db::Engine& engine, const std::vector<StockAdjustment>& adjustments) {
    std::vector<double> quantities;
    quantities.reserve(adjustments.size());
    for (const StockAdjustment& a : adjustments) {
        bool number = false;
        const double quantity = a.quantity.toDouble(&number);
        if (a.quantity.isNull() || !number)
            throw StockRefused(u"商品 %1 的调整数量不是数字，库存没有调整。"_s.arg(a.code));
        quantities.push_back(quantity);
    }
    db::Transaction tx(engine);
    for (size_t i = 0; i < adjustments.size(); ++i)
        engine.execute(u"update storemain set gods_amou=:gods_amou where gods_code=:gods_code"_s,
                       {{u"gods_amou"_s, quantities[i]}, {u"gods_code"_s, adjustments[i].code}});
    tx.commit();
}

void StartStockTaking(db::Engine& engine, const QDate& date) {
    db::Transaction tx(engine);
    refuseCountedMonth(engine, date);
    refillFromLedger(engine);
    engine.execute(u"update chektemp set chek_amou=gods_amou,chek_date=:chek_date"_s,
                   {{u"chek_date"_s, date}});
    tx.commit();
}

void SaveStockTaking(db::Engine& engine, const QDate& date, Progress& progress) {
    db::Transaction tx(engine);
    refuseCountedMonth(engine, date);
    progress.advance(0, 2);
    engine.execute(u"insert into storchek select * from chektemp "_s);
    progress.advance(1, 2);
    engine.execute(
        u"update storemain set gods_amou=(select c.chek_amou from chektemp c "
        "where c.gods_code=storemain.gods_code) "
        "where gods_code in (select gods_code from chektemp)"_s);
    progress.advance(2, 2);
    tx.commit();
}

void LoadStockTaking(db::Engine& engine, const QDate& date) {
    db::Transaction tx(engine);
    engine.execute(u"delete * from  chektemp"_s);
    engine.execute(
        u"insert into chektemp select * from storchek \n"
        "where chek_date>=:first and chek_date<:next \n"
        "order by gods_code"_s,
        monthOf(date));
    tx.commit();
}

}  // namespace talvor
