#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cmath>
#include <latch>
#include <thread>

#include "datamodel/db/DbError.h"
#include "datamodel/db/Engine.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"

using namespace Qt::StringLiterals;

// Readable texts in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
namespace db = talvor::db;

namespace {

// A statement given as the list of its lines, joined by line breaks as the program does.
QString lines(const QStringList& parts) { return parts.join(u'\n'); }

// Bills are numbered by the time they were begun.
const QString I1 = u"20240105090000"_s;  // purchase, C01, Jan 5
const QString I2 = u"20240120100000"_s;  // purchase, C02, Jan 20
const QString I3 = u"20240131170000"_s;  // customer return, C01, Jan 31
const QString I4 = u"20240201080000"_s;  // purchase, C01, Feb 1
const QString I5 = u"20240102080000"_s;  // purchase begun Jan 2, dated Jan 30, C03, no lines yet
const QString O1 = u"20240110110000"_s;  // sale, C01, Jan 10
const QString O2 = u"20240115120000"_s;  // sale, C02, Jan 15, settled
const QString O3 = u"20240125130000"_s;  // return to supplier, C02, Jan 25
const QString O4 = u"20231231235959"_s;  // sale, C01, Dec 31

const QDate kJan1(2024, 1, 1);
const QDate kJan31(2024, 1, 31);

class StatementsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(u"talvor.mdb"_s);
        db::createDatabase(path_, {u"E00"_s, u"管理员"_s, u"pw"_s});
        engine_.open(path_);
        seed();
    }

    void insert(const QString& table, const QVariantMap& values) {
        QStringList names;
        for (auto it = values.begin(); it != values.end(); ++it) names << it.key();
        engine_.execute(
            u"insert into %1 (%2) values (:%3)"_s.arg(table, names.join(u','), names.join(u",:"_s)),
            values);
    }

    // Rows are inserted out of bill-number and code order, so that an order the engine
    // only happens to return is told apart from one the statement asks for.
    void seed() {
        insert(u"employee"_s, {{u"empl_code"_s, u"E01"_s}, {u"empl_name"_s, u"王五"_s}});
        insert(u"employee"_s, {{u"empl_code"_s, u"E02"_s}, {u"empl_name"_s, u"赵六"_s}});
        for (const auto& [code, name, head, rest] :
             {std::tuple{u"C02"_s, u"北方建材"_s, u"李四"_s, 0.0},
              std::tuple{u"C03"_s, u"东海贸易"_s, u"钱七"_s, 0.0},
              std::tuple{u"C01"_s, u"华南五金"_s, u"张三"_s, 30.0}})
            insert(u"company"_s, {{u"comp_code"_s, code},
                                  {u"comp_name"_s, name},
                                  {u"head_name"_s, head},
                                  {u"rest_tota"_s, rest}});
        struct Goods {
            QString code, name, kind, unit;
            double in, out;
            QVariant max, min;
        };
        for (const Goods& g :
             {Goods{u"G003"_s, u"胶带"_s, u"耗材"_s, u"卷"_s, 2.5, 4, 200.0, 20.0},
              Goods{u"G001"_s, u"螺丝刀"_s, u"工具"_s, u"把"_s, 5, 12, 100.0, 5.0},
              Goods{u"G004"_s, u"手套"_s, u"劳保"_s, u"双"_s, 1, 2, {}, {}},
              Goods{u"G002"_s, u"扳手"_s, u"工具"_s, u"把"_s, 7.5, 15, 50.0, 10.0}})
            insert(u"goods"_s, {{u"gods_code"_s, g.code},
                                {u"gods_name"_s, g.name},
                                {u"gods_kind"_s, g.kind},
                                {u"gods_unit"_s, g.unit},
                                {u"valu_in"_s, g.in},
                                {u"valu_out"_s, g.out},
                                {u"max_amou"_s, g.max},
                                {u"min_amou"_s, g.min}});
        // Pick lists side by side; the third row repeats entries of the first two.
        insert(u"baseitem"_s, {{u"gods_spec_id"_s, u"02"_s},
                               {u"gods_spec"_s, u"宽"_s},
                               {u"gods_type_id"_s, u"02"_s},
                               {u"gods_type"_s, u"重型"_s},
                               {u"gods_kind_id"_s, u"02"_s},
                               {u"gods_kind"_s, u"耗材"_s},
                               {u"fee_code"_s, u"02"_s},
                               {u"fee_type"_s, u"支票"_s},
                               {u"mone_code"_s, u"02"_s},
                               {u"mone_type"_s, u"美元"_s},
                               {u"mone_rate"_s, 7.1}});
        insert(u"baseitem"_s, {{u"gods_spec_id"_s, u"01"_s},
                               {u"gods_spec"_s, u"十字"_s},
                               {u"gods_type_id"_s, u"01"_s},
                               {u"gods_type"_s, u"大号"_s},
                               {u"gods_kind_id"_s, u"01"_s},
                               {u"gods_kind"_s, u"工具"_s},
                               {u"fee_code"_s, u"01"_s},
                               {u"fee_type"_s, u"现金"_s},
                               {u"mone_code"_s, u"01"_s},
                               {u"mone_type"_s, u"人民币"_s},
                               {u"mone_rate"_s, 1.0}});
        insert(u"baseitem"_s, {{u"gods_spec_id"_s, u"01"_s},
                               {u"gods_spec"_s, u"十字"_s},
                               {u"mone_code"_s, u"02"_s},
                               {u"mone_type"_s, u"美元"_s},
                               {u"mone_rate"_s, 7.1}});

        auto bill = [&](const QString& table, const QString& no, QDate date, const QString& comp,
                        const QString& type, double due, double paid) {
            insert(table, {{u"bill_no"_s, no},
                           {u"bill_date"_s, date},
                           {u"comp_code"_s, comp},
                           {u"bill_type"_s, type},
                           {u"shou_tota"_s, due},
                           {u"fact_tota"_s, paid},
                           {u"vouc_no"_s, u"V"_s + no.right(4)},
                           {u"oper_name"_s, u"王五"_s}});
        };
        auto line = [&](const QString& table, const QString& no, const QString& code, double amount,
                        double price, const QString& remark = {}) {
            insert(table, {{u"bill_no"_s, no},
                           {u"gods_code"_s, code},
                           {u"sub_amou"_s, amount},
                           {u"unit_pric"_s, price},
                           {u"remark"_s, remark}});
        };
        bill(u"inmain"_s, I3, QDate(2024, 1, 31), u"C01"_s, u"retu"_s, 10, 10);
        line(u"ingoods"_s, I3, u"G001"_s, 2, 5, u"不入库"_s);
        bill(u"inmain"_s, I1, QDate(2024, 1, 5), u"C01"_s, u"in"_s, 130, 0);
        line(u"ingoods"_s, I1, u"G001"_s, 10, 5);
        line(u"ingoods"_s, I1, u"G002"_s, 4, 7.5);
        line(u"ingoods"_s, I1, u"G001"_s, 10, 5);  // the same line twice
        bill(u"inmain"_s, I4, QDate(2024, 2, 1), u"C01"_s, u"in"_s, 42, 0);
        line(u"ingoods"_s, I4, u"G002"_s, 6, 7);
        bill(u"inmain"_s, I2, QDate(2024, 1, 20), u"C02"_s, u"in"_s, 50, 20);
        line(u"ingoods"_s, I2, u"G003"_s, 20, 2.5);
        bill(u"inmain"_s, I5, QDate(2024, 1, 30), u"C03"_s, u"in"_s, 0, 0);

        bill(u"outmain"_s, O2, QDate(2024, 1, 15), u"C02"_s, u"out"_s, 35, 35);
        line(u"outgoods"_s, O2, u"G001"_s, 2, 10);
        line(u"outgoods"_s, O2, u"G002"_s, 1, 15);
        bill(u"outmain"_s, O4, QDate(2023, 12, 31), u"C01"_s, u"out"_s, 12, 12);
        line(u"outgoods"_s, O4, u"G001"_s, 1, 12);
        bill(u"outmain"_s, O3, QDate(2024, 1, 25), u"C02"_s, u"retu"_s, 10, 0);
        line(u"outgoods"_s, O3, u"G003"_s, 4, 2.5);
        bill(u"outmain"_s, O1, QDate(2024, 1, 10), u"C01"_s, u"out"_s, 48, 0);
        line(u"outgoods"_s, O1, u"G001"_s, 3, 12);
        line(u"outgoods"_s, O1, u"G003"_s, 6, 2);

        for (const auto& [code, amount, cost] :
             {std::tuple{u"G001"_s, 20.0, 5.0}, std::tuple{u"G002"_s, 3.0, 7.5},
              std::tuple{u"G003"_s, 250.0, 2.5}, std::tuple{u"ZZ99"_s, 7.0, 1.0},
              std::tuple{u" "_s, 1.0, 1.0}})
            insert(u"storemain"_s,
                   {{u"gods_code"_s, code}, {u"gods_amou"_s, amount}, {u"cost_pric"_s, cost}});
        // Counts of December and January.
        for (const auto& [code, book, counted, date] :
             {std::tuple{u"G002"_s, 2.0, 1.5, QDate(2023, 12, 31)},
              std::tuple{u"G001"_s, 9.0, 8.0, QDate(2023, 12, 31)},
              std::tuple{u"G003"_s, 250.0, 248.0, QDate(2024, 1, 31)},
              std::tuple{u"G001"_s, 20.0, 19.0, QDate(2024, 1, 31)}})
            insert(u"storchek"_s, {{u"gods_code"_s, code},
                                   {u"gods_amou"_s, book},
                                   {u"chek_amou"_s, counted},
                                   {u"chek_date"_s, date}});

        insert(u"gathmain"_s, {{u"comp_code"_s, u"C01"_s},
                               {u"fei_date"_s, QDate(2024, 1, 15)},
                               {u"fei_no"_s, u"S001"_s},
                               {u"fei_tota"_s, 50.0}});
        insert(u"gathmain"_s, {{u"comp_code"_s, u"C02"_s},
                               {u"fei_date"_s, QDate(2024, 1, 16)},
                               {u"fei_no"_s, u"S002"_s},
                               {u"fei_tota"_s, 20.0}});
        insert(u"paymain"_s, {{u"comp_code"_s, u"C01"_s},
                              {u"fei_date"_s, QDate(2024, 1, 20)},
                              {u"fei_no"_s, u"P001"_s},
                              {u"fei_tota"_s, 100.0}});
    }

    // The values of the named columns, one text per row, joined by "|".
    static QStringList values(const db::ResultSet& result, const QString& columns) {
        std::vector<int> indexes;
        for (const QString& name : columns.split(u',')) indexes.push_back(result.columnIndex(name));
        QStringList rows;
        for (const db::ResultRow& row : result.rows) {
            QStringList cells;
            for (int i : indexes) cells << (i < 0 ? u"<no column>"_s : row[size_t(i)].toString());
            rows << cells.join(u'|');
        }
        return rows;
    }

    QStringList select(const QString& sql, const QString& columns, const QVariantMap& params = {}) {
        return values(engine_.query(sql, params), columns);
    }

    double number(const QString& sql, const QVariantMap& params = {}) {
        const db::ResultSet r = engine_.query(sql, params);
        if (r.rows.size() != 1) throw db::DbError(u"expected one row: "_s + sql);
        return r.rows[0][0].toDouble();
    }

    QTemporaryDir dir_;
    QString path_;
    db::SqliteEngine engine_;
};

struct QueryCase {
    const char* what;
    QString sql;
    QVariantMap params;
    QString columns;        // the result columns checked, comma-separated
    QStringList expected;   // one entry per row, in order: the columns' values joined by "|"
    bool anyOrder = false;  // the statement asks for no order and an index may give one
};

QVariantMap range(QDate from, QDate to, QVariantMap more = {}) {
    more.insert(u"date1"_s, from);
    more.insert(u"date2"_s, to);
    return more;
}

QVariantMap month(int year, int month) { return {{u"cyear"_s, year}, {u"cmonth"_s, month}}; }

const QStringList kSettleHead = {u"select distinct  bill_no,bill_date,"_s,
                                 u"oper_name,comp_code,shou_tota,fact_tota "_s};
const QStringList kStockQuery = {
    u"select a.gods_code,b.gods_name,a.gods_amou,a.cost_pric,a.gods_amou*a.cost_pric "_s,
    u" from storemain a left outer join goods b on b.gods_code=a.gods_code "_s};
const QStringList kAlarm = {
    u"select a.gods_code,b.gods_name,b.gods_kind,b.max_amou,b.min_amou,a.gods_amou "_s,
    u" from storemain a left outer join goods b on b.gods_code=a.gods_code "_s,
    u" where (a.gods_amou>b.max_amou or a.gods_amou<b.min_amou) and  "_s};
const QStringList kInList = {u"select distinct comp_code,b.bill_no,gods_code,"_s,
                             u"unit_pric,sub_amou from inmain a inner join "_s,
                             u"ingoods b on a.bill_no=b.bill_no "_s,
                             u"where a.bill_date between :date1 and :date2  "_s};
const QStringList kOutList = {u"select distinct comp_code,b.bill_no,gods_code,"_s,
                              u"unit_pric,sub_amou from OutMain a inner join "_s,
                              u"OutGoods b on a.bill_no=b.bill_no "_s,
                              u"where a.bill_date between :date1 and :date2  "_s};
const QStringList kSortGoods = {u"select distinct b.gods_code,"_s,
                                u"sum(b.sub_amou) as sub_amou,avg(unit_pric) as unit_pric,"_s,
                                u"sum(b.unit_pric*b.sub_amou) as sub_tota "_s,
                                u"from OutMain a inner join OutGoods b "_s,
                                u"on a.bill_no=b.bill_no "_s,
                                u"where a.bill_date between :date1 and :date2  "_s};
const QStringList kSortCompany = {u"select distinct comp_code,sum(b.sub_amou) as sub_amou,"_s,
                                  u"sum(b.unit_pric*b.sub_amou) as sub_tota from OutMain a"_s,
                                  u"inner join OutGoods b on a.bill_no=b.bill_no "_s,
                                  u"where a.bill_date between :date1 and :date2  "_s};
const QString kMonthLock =
    lines({u" select top 1 * from storchek "_s, u"where year(chek_date)=:cyear and "_s,
           u"month(chek_date)=:cmonth "_s, u"order by gods_code "_s});

// Every statement the program reads with, as it writes them, and the rows each must give.
std::vector<QueryCase> queryCases() {
    return {
        // shared datasets as they start, and the master-data screens
        {"first userinfo row", u"select top 1 * from userinfo"_s, {}, u"gods_code"_s, {u"编码"_s}},
        {"employees",
         u"select * from employee"_s,
         {},
         u"empl_code"_s,
         {u"E00"_s, u"E01"_s, u"E02"_s}},
        {"companies as stored",
         u"select * from company"_s,
         {},
         u"comp_code"_s,
         {u"C02"_s, u"C03"_s, u"C01"_s}},
        {"companies by code",
         u"select * from company order by comp_code"_s,
         {},
         u"comp_code"_s,
         {u"C01"_s, u"C02"_s, u"C03"_s}},
        {"goods as stored",
         u"select * from goods"_s,
         {},
         u"gods_code"_s,
         {u"G003"_s, u"G001"_s, u"G004"_s, u"G002"_s}},
        {"goods by code",
         u"select * from goods order by gods_code"_s,
         {},
         u"gods_code"_s,
         {u"G001"_s, u"G002"_s, u"G003"_s, u"G004"_s}},
        {"goods codes for opening stock",
         u"select gods_code from goods "_s,
         {},
         u"gods_code"_s,
         {u"G001"_s, u"G002"_s, u"G003"_s, u"G004"_s},
         true},
        {"users", u"select * from powers"_s, {}, u"user_id"_s, {u"E00"_s}},
        {"login finds the user id in any letter case",
         u"select * from powers where user_id=:user_id"_s,
         {{u"user_id"_s, u"e00"_s}},
         u"user_id"_s,
         {u"E00"_s}},
        {"bill headers", u"select * from inmain"_s, {}, u"bill_no"_s, {I3, I1, I4, I2, I5}},
        {"first sales header", u"select top 1 * from outmain"_s, {}, u"bill_no"_s, {O2}},
        {"bill lines",
         u"select * from ingoods"_s,
         {},
         u"gods_code"_s,
         {u"G001"_s, u"G001"_s, u"G002"_s, u"G001"_s, u"G002"_s, u"G003"_s}},
        {"first sales line", u"select Top 1 * from outgoods"_s, {}, u"bill_no"_s, {O2}},
        {"stock",
         u"select * from storemain "_s,
         {},
         u"gods_code"_s,
         {u"G001"_s, u"G002"_s, u"G003"_s, u"ZZ99"_s, u" "_s}},
        {"first receipt", u"select top 1 * from gathmain"_s, {}, u"fei_no"_s, {u"S001"_s}},
        {"first payment", u"select top 1 * from paymain"_s, {}, u"fei_no"_s, {u"P001"_s}},

        // the five pick lists: distinct pairs, sorted, an empty entry first
        {"size pick list",
         u"select distinct gods_spec_id,gods_spec from baseitem"_s,
         {},
         u"gods_spec_id,gods_spec"_s,
         {u"01|十字"_s, u"02|宽"_s}},
        {"size pick list by code",
         u"select distinct gods_spec_id,gods_spec  from baseitem order by gods_spec_id "_s,
         {},
         u"gods_spec"_s,
         {u"十字"_s, u"宽"_s}},
        {"models",
         u"select distinct gods_type_id,gods_type from baseitem"_s,
         {},
         u"gods_type_id,gods_type"_s,
         {u"|"_s, u"01|大号"_s, u"02|重型"_s}},
        {"models by code",
         u"select distinct gods_type_id,Gods_type from baseitem order by gods_type_id "_s,
         {},
         u"gods_type"_s,
         {u""_s, u"大号"_s, u"重型"_s}},
        {"categories",
         u"select distinct gods_kind_id,gods_kind from baseitem"_s,
         {},
         u"gods_kind"_s,
         {u""_s, u"工具"_s, u"耗材"_s}},
        {"categories by code",
         u"select distinct gods_kind_id,gods_kind from baseitem order by gods_kind_id "_s,
         {},
         u"gods_kind_id"_s,
         {u""_s, u"01"_s, u"02"_s}},
        {"settlement types",
         u"select distinct fee_code,fee_type from baseitem"_s,
         {},
         u"fee_type"_s,
         {u""_s, u"现金"_s, u"支票"_s}},
        {"settlement types by code",
         u"select distinct fee_code,fee_type from baseitem order by fee_code "_s,
         {},
         u"fee_code"_s,
         {u""_s, u"01"_s, u"02"_s}},
        {"currencies",
         u"select distinct mone_code,mone_type,mone_rate from baseitem"_s,
         {},
         u"mone_code,mone_type,mone_rate"_s,
         {u"01|人民币|1"_s, u"02|美元|7.1"_s}},
        {"currencies by code",
         u"select distinct mone_code,mone_type,mone_rate from baseitem order by mone_code "_s,
         {},
         u"mone_rate"_s,
         {u"1"_s, u"7.1"_s}},

        // FillComboDistinct and LookupValue
        {"distinct units",
         u"select distinct gods_unit from goods"_s,
         {},
         u"gods_unit"_s,
         {u"卷"_s, u"双"_s, u"把"_s}},
        {"distinct categories",
         u"select distinct gods_kind from goods"_s,
         {},
         u"gods_kind"_s,
         {u"劳保"_s, u"工具"_s, u"耗材"_s}},
        {"exchange rate",
         u"select distinct mone_type,mone_rate from baseitem where mone_type=\"美元\""_s,
         {},
         u"mone_rate"_s,
         {u"7.1"_s}},
        {"price by code in any case",
         u"select distinct gods_code,valu_in from goods where gods_code=\"g001\""_s,
         {},
         u"valu_in"_s,
         {u"5"_s}},
        {"code by name",
         u"select distinct comp_name,comp_code from company where comp_name=\"华南五金\""_s,
         {},
         u"comp_code"_s,
         {u"C01"_s}},
        {"unknown key",
         u"select distinct gods_code,valu_out from goods where gods_code=\"G999\""_s,
         {},
         u"valu_out"_s,
         {}},

        // month lock and the month's count
        {"month counted", kMonthLock, month(2024, 1), u"gods_code"_s, {u"G001"_s}},
        {"December counted", kMonthLock, month(2023, 12), u"gods_code"_s, {u"G001"_s}},
        {"month not counted", kMonthLock, month(2024, 2), u"gods_code"_s, {}},
        {"count of a month",
         lines({u"select top 1 * from storchek "_s, u"where year(chek_date)=:cyear and "_s,
                u"month(chek_date)=:cmonth "_s, u"order by gods_code"_s}),
         month(2024, 1),
         u"gods_code,chek_amou,chek_date"_s,
         {u"G001|19|2024-01-31"_s}},

        // the four bill screens
        {"purchase of today",
         lines({u"select top 1 * from inmain where bill_type='in' "_s, u" and bill_date=:date1"_s}),
         {{u"date1"_s, QDate(2024, 1, 5)}},
         u"bill_no"_s,
         {I1}},
        {"no purchase on a return's day",
         lines({u"select top 1 * from inmain where bill_type='in' "_s, u" and bill_date=:date1"_s}),
         {{u"date1"_s, QDate(2024, 1, 31)}},
         u"bill_no"_s,
         {}},
        {"customer return of today",
         lines(
             {u"select top 1 * from inmain where bill_type='retu' "_s, u" and bill_date=:date1"_s}),
         {{u"date1"_s, QDate(2024, 1, 31)}},
         u"bill_no,bill_date"_s,
         {I3 + u"|2024-01-31"_s}},
        {"sale of today",
         lines({u"select top 1 * from outmain  where bill_type='out' "_s,
                u" and bill_date=:date1"_s}),
         {{u"date1"_s, QDate(2024, 1, 10)}},
         u"bill_no"_s,
         {O1}},
        {"return to supplier of today",
         lines({u"select top 1 * from outmain where bill_type='retu' "_s,
                u" and bill_date=:date1"_s}),
         {{u"date1"_s, QDate(2024, 1, 25)}},
         u"bill_no"_s,
         {O3}},
        {"purchase lines",
         lines({u" select * from ingoods "_s, u" where bill_no=:bill_no "_s}),
         {{u"bill_no"_s, I1}},
         u"gods_code,sub_amou,unit_pric"_s,
         {u"G001|10|5"_s, u"G002|4|7.5"_s, u"G001|10|5"_s}},
        {"sales lines",
         lines({u" select * from outgoods "_s, u" where bill_no=:bill_no "_s}),
         {{u"bill_no"_s, O1}},
         u"gods_code"_s,
         {u"G001"_s, u"G003"_s}},
        {"found purchase",
         u"select  * from inmain where bill_no=:bill_no and bill_type='in' "_s,
         {{u"bill_no"_s, I2}},
         u"bill_no,comp_code,shou_tota"_s,
         {I2 + u"|C02|50"_s}},
        {"a return is no purchase",
         u"select  * from inmain where bill_no=:bill_no and bill_type='in' "_s,
         {{u"bill_no"_s, I3}},
         u"bill_no"_s,
         {}},
        {"found customer return",
         u"select  * from inmain where bill_no=:bill_no and bill_type='retu' "_s,
         {{u"bill_no"_s, I3}},
         u"bill_no"_s,
         {I3}},
        {"found sale of any kind",
         u"select  * from outmain where bill_no=:bill_no"_s,
         {{u"bill_no"_s, O3}},
         u"bill_no"_s,
         {O3}},
        {"a sale is no return to supplier",
         u"select  * from outmain where bill_no=:bill_no and bill_type='retu' "_s,
         {{u"bill_no"_s, O1}},
         u"bill_no"_s,
         {}},

        // bill search: both end days belong to the range
        {"purchases of the range",
         lines({u"select * from inmain "_s,
                u" where bill_date between :date1 and :date2 and bill_type=:billtype"_s}),
         range(QDate(2024, 1, 5), QDate(2024, 1, 20), {{u"billtype"_s, u"in"_s}}),
         u"bill_no"_s,
         {I1, I2},
         true},
        {"range without its end days",
         lines({u"select * from inmain "_s,
                u" where bill_date between :date1 and :date2 and bill_type=:billtype"_s}),
         range(QDate(2024, 1, 6), QDate(2024, 1, 19), {{u"billtype"_s, u"in"_s}}),
         u"bill_no"_s,
         {}},
        {"customer returns of the range",
         u"select * from inmain "_s +
             u" where bill_date between :date1 and :date2 and bill_type=:billtype"_s,
         range(kJan1, kJan31, {{u"billtype"_s, u"retu"_s}}),
         u"bill_no"_s,
         {I3}},
        {"search by number, voucher and company",
         u"select * from inmain "_s +
             u" where bill_date between :date1 and :date2 and bill_type=:billtype"_s +
             u" and bill_no=:bill_no "_s + u" and vouc_no=:vouc_no "_s +
             u" and comp_code=:comp_code "_s,
         range(kJan1, kJan31,
               {{u"billtype"_s, u"in"_s},
                {u"bill_no"_s, I1},
                {u"vouc_no"_s, u"v0000"_s},
                {u"comp_code"_s, u"c01"_s}}),
         u"bill_no"_s,
         {I1}},
        {"sales of the range, kind in capitals",
         u"select * from outmain "_s +
             u" where bill_date between :date1 and :date2  and bill_type=:billtype "_s,
         range(kJan1, kJan31, {{u"billtype"_s, u"OUT"_s}}),
         u"bill_no"_s,
         {O1, O2},
         true},
        {"one parameter used twice, named in another case",
         u"select * from inmain where bill_date between :date1 and :DATE1"_s,
         {{u"date1"_s, QDate(2024, 1, 5)}},
         u"bill_no"_s,
         {I1}},

        // stock query: a left outer join keeps stock without goods
        {"stock of one code",
         lines(kStockQuery +
               QStringList{u" where a.gods_code=:gods_code "_s, u" order by a.gods_code"_s}),
         {{u"gods_code"_s, u"g003"_s}},
         u"gods_code,gods_name,a.gods_amou*a.cost_pric"_s,
         {u"G003|胶带|625"_s}},
        {"stock of one category",
         lines(kStockQuery +
               QStringList{u" where b.gods_kind=:gods_kind "_s, u" order by a.gods_code"_s}),
         {{u"gods_kind"_s, u"工具"_s}},
         u"gods_code"_s,
         {u"G001"_s, u"G002"_s}},
        {"all stock but blank codes",
         lines(kStockQuery +
               QStringList{u" where trim(a.gods_code)<>'' "_s, u" order by a.gods_code"_s}),
         {},
         u"gods_code,gods_name"_s,
         {u"G001|螺丝刀"_s, u"G002|扳手"_s, u"G003|胶带"_s, u"ZZ99|"_s}},

        // stock alarm
        {"all alarms",
         lines(kAlarm + QStringList{u"  trim(a.gods_code)<>'' "_s, u" order by a.gods_code"_s}),
         {},
         u"gods_code,gods_amou"_s,
         {u"G002|3"_s, u"G003|250"_s}},
        {"alarm of one code",
         lines(kAlarm + QStringList{u" a.gods_code=:gods_code "_s, u" order by a.gods_code"_s}),
         {{u"gods_code"_s, u"G002"_s}},
         u"gods_code"_s,
         {u"G002"_s}},
        {"no alarm within the limits",
         lines(kAlarm + QStringList{u" a.gods_code=:gods_code "_s, u" order by a.gods_code"_s}),
         {{u"gods_code"_s, u"G001"_s}},
         u"gods_code"_s,
         {}},
        {"alarms of one category",
         lines(kAlarm + QStringList{u" b.gods_kind=:gods_kind "_s, u" order by a.gods_code"_s}),
         {{u"gods_kind"_s, u"耗材"_s}},
         u"gods_code,max_amou"_s,
         {u"G003|200"_s}},

        // receipts and payments: the bills come oldest first
        {"customer's bills to settle",
         lines(kSettleHead + QStringList{u"from OutMain "_s,
                                         u"where bill_date between :date1 and :date2 "_s,
                                         u"and comp_code=:comp_code "_s}),
         range(kJan1, kJan31, {{u"comp_code"_s, u"C02"_s}}),
         u"bill_no,shou_tota,fact_tota"_s,
         {O2 + u"|35|35"_s, O3 + u"|10|0"_s}},
        {"all bills of a range to settle",
         lines(kSettleHead +
               QStringList{u"from OutMain "_s, u"where bill_date between :date1 and :date2 "_s}),
         range(QDate(2024, 1, 10), QDate(2024, 1, 25)),
         u"bill_no"_s,
         {O1, O2, O3}},
        {"one bill to settle",
         lines(kSettleHead + QStringList{u"from OutMain "_s,
                                         u"where bill_date between :date1 and :date2 "_s,
                                         u"and bill_no=:bill_no "_s}),
         range(kJan1, kJan31, {{u"bill_no"_s, O1}}),
         u"bill_no,oper_name,comp_code"_s,
         {O1 + u"|王五|C01"_s}},
        {"supplier's bills to pay",
         lines(kSettleHead + QStringList{u"from InMain "_s,
                                         u"where bill_date between :date1 and :date2 "_s,
                                         u"and comp_code=:comp_code "_s}),
         range(kJan1, kJan31, {{u"comp_code"_s, u"c01"_s}}),
         u"bill_no"_s,
         {I1, I3}},
        {"all bills to pay by number, not by date",
         lines(kSettleHead +
               QStringList{u"from InMain "_s, u"where bill_date between :date1 and :date2 "_s}),
         range(kJan1, kJan31),
         u"bill_no,bill_date"_s,
         {I5 + u"|2024-01-30"_s, I1 + u"|2024-01-05"_s, I2 + u"|2024-01-20"_s,
          I3 + u"|2024-01-31"_s}},
        {"receipts of a day",
         u"select * from gathmain where fei_date=:fei_date "_s,
         {{u"fei_date"_s, QDate(2024, 1, 15)}},
         u"fei_no"_s,
         {u"S001"_s}},
        {"receipt by number",
         lines({u"select * from gathmain where "_s, u" fei_no=:fei_no "_s}),
         {{u"fei_no"_s, u"s002"_s}},
         u"fei_no,fei_tota"_s,
         {u"S002|20"_s}},
        {"receipts of a picked day",
         lines({u"select * from gathmain where "_s, u" fei_date=:fei_date "_s}),
         {{u"fei_date"_s, QDate(2024, 1, 16)}},
         u"fei_no"_s,
         {u"S002"_s}},
        {"payments of a day",
         u"select * from paymain where fei_date=:fei_date "_s,
         {{u"fei_date"_s, QDate(2024, 1, 20)}},
         u"fei_no"_s,
         {u"P001"_s}},
        {"payment by number",
         lines({u"select * from paymain where "_s, u" fei_no=:fei_no "_s}),
         {{u"fei_no"_s, u"p001"_s}},
         u"fei_no"_s,
         {u"P001"_s}},
        {"no payment on a day",
         lines({u"select * from paymain where "_s, u" fei_date=:fei_date "_s}),
         {{u"fei_date"_s, QDate(2024, 1, 21)}},
         u"fei_no"_s,
         {}},

        // statements of unsettled bills
        {"customer's unsettled bills",
         lines(kSettleHead +
               QStringList{u"from OutMain "_s, u"where bill_date between :date1 and :date2 "_s,
                           u"and shou_tota<>fact_tota "_s, u"and comp_code=:comp_code "_s}),
         range(kJan1, kJan31, {{u"comp_code"_s, u"C02"_s}}),
         u"bill_no"_s,
         {O3}},
        {"all unsettled sales",
         lines(kSettleHead + QStringList{u"from OutMain "_s,
                                         u"where bill_date between :date1 and :date2 "_s,
                                         u"and shou_tota<>fact_tota "_s}),
         range(kJan1, kJan31),
         u"bill_no"_s,
         {O1, O3}},
        {"supplier's unsettled bills",
         lines(kSettleHead +
               QStringList{u"from inmain "_s, u"where bill_date between :date1 and :date2 "_s,
                           u"and comp_code=:comp_code "_s, u"and shou_tota<>fact_tota "_s}),
         range(kJan1, kJan31, {{u"comp_code"_s, u"C01"_s}}),
         u"bill_no"_s,
         {I1}},

        // purchase statistics: distinct rows sorted by company, bill, goods, price, quantity
        {"all incoming lines",
         lines(kInList),
         range(kJan1, kJan31),
         u"comp_code,bill_no,gods_code,sub_amou"_s,
         {u"C01|"_s + I1 + u"|G001|10"_s, u"C01|"_s + I1 + u"|G002|4"_s,
          u"C01|"_s + I3 + u"|G001|2"_s, u"C02|"_s + I2 + u"|G003|20"_s}},
        {"purchase lines only",
         lines(kInList + QStringList{u" and bill_type='in' "_s}),
         range(kJan1, kJan31),
         u"bill_no,gods_code"_s,
         {I1 + u"|G001"_s, I1 + u"|G002"_s, I2 + u"|G003"_s}},
        {"customer-return lines only",
         lines(kInList + QStringList{u" and bill_type='retu' "_s}),
         range(kJan1, kJan31),
         u"bill_no,gods_code"_s,
         {I3 + u"|G001"_s}},
        {"incoming lines of one goods",
         lines(kInList + QStringList{u"and gods_code=:gods_code "_s}),
         range(kJan1, kJan31, {{u"gods_code"_s, u"G001"_s}}),
         u"bill_no"_s,
         {I1, I3}},
        {"purchase lines of one supplier",
         lines(kInList + QStringList{u" and bill_type='in' "_s, u"and comp_code=:comp_code "_s}),
         range(kJan1, QDate(2024, 2, 1), {{u"comp_code"_s, u"C01"_s}}),
         u"bill_no,gods_code,unit_pric"_s,
         {I1 + u"|G001|5"_s, I1 + u"|G002|7.5"_s, I4 + u"|G002|7"_s}},

        // sales statistics: 'Out' matches the stored "out"
        {"sales lines",
         lines(kOutList + QStringList{u" and bill_type='Out' "_s}),
         range(kJan1, kJan31),
         u"comp_code,bill_no,gods_code"_s,
         {u"C01|"_s + O1 + u"|G001"_s, u"C01|"_s + O1 + u"|G003"_s, u"C02|"_s + O2 + u"|G001"_s,
          u"C02|"_s + O2 + u"|G002"_s}},
        {"return-to-supplier lines",
         lines(kOutList + QStringList{u" and bill_type='retu' "_s}),
         range(kJan1, kJan31),
         u"bill_no,gods_code"_s,
         {O3 + u"|G003"_s}},
        {"all outgoing lines",
         lines(kOutList),
         range(kJan1, kJan31),
         u"bill_no"_s,
         {O1, O1, O2, O2, O3}},
        {"sales of one goods to one customer",
         lines(kOutList + QStringList{u" and bill_type='Out' "_s, u"and gods_code=:gods_code "_s,
                                      u"and comp_code=:comp_code "_s}),
         range(kJan1, kJan31, {{u"gods_code"_s, u"G001"_s}, {u"comp_code"_s, u"C02"_s}}),
         u"bill_no,unit_pric"_s,
         {O2 + u"|10"_s}},

        // sales rankings
        {"goods by amount",
         lines(kSortGoods + QStringList{u"and bill_type='Out' "_s, u" group by gods_code "_s,
                                        u"order by 4 desc"_s}),
         range(kJan1, kJan31),
         u"gods_code,sub_amou,unit_pric,sub_tota"_s,
         {u"G001|5|11|56"_s, u"G002|1|15|15"_s, u"G003|6|2|12"_s}},
        {"goods by quantity",
         lines(kSortGoods + QStringList{u"and bill_type='Out' "_s, u" group by gods_code "_s,
                                        u"order by 2 desc"_s}),
         range(kJan1, kJan31),
         u"gods_code"_s,
         {u"G003"_s, u"G001"_s, u"G002"_s}},
        {"goods of all outgoing bills",
         lines(kSortGoods + QStringList{u" group by gods_code "_s, u"order by 4 desc"_s}),
         range(kJan1, kJan31),
         u"gods_code,sub_amou,unit_pric,sub_tota"_s,
         {u"G001|5|11|56"_s, u"G003|10|2.25|22"_s, u"G002|1|15|15"_s}},
        {"goods of one day",
         lines(kSortGoods + QStringList{u"and bill_type='Out' "_s, u" group by gods_code "_s,
                                        u"order by 2 desc"_s}),
         range(QDate(2023, 12, 31), QDate(2023, 12, 31)),
         u"gods_code,sub_tota"_s,
         {u"G001|12"_s}},
        {"customers by amount",
         lines(kSortCompany + QStringList{u"and bill_type='Out' "_s, u" group by comp_code "_s,
                                          u"order by 3 desc"_s}),
         range(kJan1, kJan31),
         u"comp_code,sub_amou,sub_tota"_s,
         {u"C01|9|48"_s, u"C02|3|35"_s}},
        {"customers of returns by quantity",
         lines(kSortCompany + QStringList{u"and bill_type='retu' "_s, u" group by comp_code "_s,
                                          u"order by 2 desc"_s}),
         range(kJan1, kJan31),
         u"comp_code,sub_amou,sub_tota"_s,
         {u"C02|4|10"_s}},
    };
}

TEST_F(StatementsTest, EveryQueryGivesItsRows) {
    for (const QueryCase& c : queryCases()) {
        SCOPED_TRACE(c.what);
        QStringList got;
        try {
            got = select(c.sql, c.columns, c.params);
        } catch (const db::DbError& e) {
            ADD_FAILURE() << e.message().toStdString() << "\n" << c.sql.toStdString();
            continue;
        }
        if (c.anyOrder) got.sort();
        EXPECT_EQ(got, c.expected) << c.sql.toStdString();
    }
}

TEST_F(StatementsTest, LookupOfAKeyHoldingAQuoteOrOfAMissingTableFails) {
    EXPECT_THROW(
        engine_.query(u"select distinct gods_code,valu_in from goods where gods_code=\"a\"b\""_s),
        db::DbError);
    EXPECT_THROW(
        engine_.query(u"select distinct gods_code,valu_in from nosuch where gods_code=\"G001\""_s),
        db::DbError);
    // The typed login text is bound, so a quote in it is only an unknown user.
    EXPECT_TRUE(engine_
                    .query(u"select * from powers where user_id=:user_id"_s,
                           {{u"user_id"_s, u"E00' or ''='"_s}})
                    .rows.empty());
}

TEST_F(StatementsTest, SaleBillIsCopiedForPrinting) {
    EXPECT_EQ(engine_.execute(u"delete * from outtemp "_s), 0);
    EXPECT_EQ(engine_.execute(u"insert into outtemp  select * from outgoods where bill_no='"_s +
                              O1 + u"'"_s),
              2);
    // The filler rows name only the bill; their row numbers follow the copied ones.
    engine_.execute(u"insert into outtemp (bill_no) values (:bill_no)"_s, {{u"bill_no"_s, O1}});
    EXPECT_EQ(select(u"select * from outtemp "_s, u"gods_code,sub_amou"_s),
              (QStringList{u"G001|3"_s, u"G003|6"_s, u"|"_s}));
    EXPECT_EQ(engine_.execute(u"delete * from outtemp "_s), 3);
}

TEST_F(StatementsTest, StockAdjustment) {
    engine_.execute(u"delete * from  chektemp"_s);
    EXPECT_EQ(
        engine_.execute(lines({u"insert into chektemp select gods_code,gods_amou from storemain "_s,
                               u"order by gods_code"_s})),
        5);
    // Fewer columns than the table: chek_amou and chek_date stay empty.
    EXPECT_EQ(
        select(u"select * from chektemp "_s, u"gods_code,gods_amou,chek_amou,chek_date"_s),
        (QStringList{u" |1||"_s, u"G001|20||"_s, u"G002|3||"_s, u"G003|250||"_s, u"ZZ99|7||"_s}));
    EXPECT_EQ(engine_.execute(u"update chektemp set chek_amou=gods_amou"_s), 5);
    EXPECT_EQ(number(u"select sum(chek_amou) from chektemp"_s), 281);

    // A number written as a quoted text, or bound as a text, is stored as the number.
    EXPECT_EQ(engine_.execute(u"update storemain set gods_amou='12.5' where gods_code='G001'"_s),
              1);
    EXPECT_EQ(
        engine_.execute(u"update storemain set gods_amou=:gods_amou where gods_code=:gods_code"_s,
                        {{u"gods_amou"_s, u"8"_s}, {u"gods_code"_s, u"g002"_s}}),
        1);
    const db::ResultSet stock =
        engine_.query(u"select gods_amou from storemain where gods_code in ('G001','G002')"_s);
    ASSERT_EQ(stock.rows.size(), 2u);
    EXPECT_EQ(stock.rows[0][0].typeId(), QMetaType::Double);
    EXPECT_EQ(stock.rows[0][0].toDouble(), 12.5);
    EXPECT_EQ(stock.rows[1][0].toDouble(), 8.0);
    EXPECT_EQ(
        number(u"select sum(gods_amou) from storemain where gods_code='G001' and gods_amou>12"_s),
        12.5);
}

TEST_F(StatementsTest, StockTakingSavesAndReloadsAMonth) {
    const QString lock =
        lines({u"select top 1 * from storchek "_s, u"where year(chek_date)=:cyear and "_s,
               u"month(chek_date)=:cmonth "_s, u"order by gods_code"_s});
    ASSERT_TRUE(engine_.query(lock, month(2024, 2)).rows.empty());
    engine_.execute(u"delete * from  chektemp"_s);
    EXPECT_EQ(
        engine_.execute(lines({u"insert into chektemp select gods_code,gods_amou from  storemain"_s,
                               u"order by gods_code"_s})),
        5);
    // The screen posts every row with its count and the count's date.
    engine_.execute(u"update chektemp set chek_amou=gods_amou-1, chek_date=:d"_s,
                    {{u"d"_s, QDate(2024, 2, 29)}});
    EXPECT_EQ(engine_.execute(u"insert into storchek select * from chektemp "_s), 5);
    EXPECT_EQ(select(lock, u"gods_code,chek_date"_s, month(2024, 2)),
              QStringList{u" |2024-02-29"_s});

    EXPECT_EQ(engine_.execute(u"delete * from chektemp"_s), 5);
    EXPECT_EQ(engine_.execute(lines({u"insert into chektemp select * from storchek "_s,
                                     u"where year(chek_date)=:cyear and "_s,
                                     u"month(chek_date)=:cmonth "_s, u"order by gods_code"_s}),
                              month(2024, 1)),
              2);
    EXPECT_EQ(select(u"select * from chektemp "_s, u"gods_code,gods_amou,chek_amou,chek_date"_s),
              (QStringList{u"G001|20|19|2024-01-31"_s, u"G003|250|248|2024-01-31"_s}));
    EXPECT_EQ(select(u"select * from storemain "_s, u"gods_code"_s).size(), 5);
}

TEST_F(StatementsTest, MonthlyMovementOfJanuary) {
    engine_.execute(u"delete * from  mios"_s);
    engine_.execute(u"delete * from  miostemp"_s);
    EXPECT_TRUE(engine_.query(u"select * from  mios"_s).rows.empty());
    EXPECT_TRUE(engine_.query(u"select * from  miostemp"_s).rows.empty());

    // Opening quantities: December's count.
    const db::ResultSet opening =
        engine_.query(lines({u"select gods_code,chek_amou,chek_date "_s, u"from storchek "_s,
                             u"where year(chek_date)=:cyear and "_s, u"month(chek_date)=:cmonth "_s,
                             u"order by gods_code"_s}),
                      month(2023, 12));
    ASSERT_EQ(values(opening, u"gods_code,chek_amou"_s), (QStringList{u"G001|8"_s, u"G002|1.5"_s}));
    for (const db::ResultRow& row : opening.rows)
        engine_.execute(lines({u"insert into miostemp (gods_code,last_amou)"_s,
                               u" values(:gods_code,:last_amou)"_s}),
                        {{u"gods_code"_s, row[0]}, {u"last_amou"_s, row[1]}});

    // Incoming and outgoing lines, over comma joins; a repeated line of one bill counts once.
    const auto reading = [&](const QString& from, const QString& order) {
        return engine_.query(
            lines({u"select distinct a.bill_no,b.bill_no,a.bill_date,b.gods_code,b.sub_amou "_s,
                   from, u"where a.bill_no=b.bill_no and "_s, u"year(a.bill_date)=:cyear and "_s,
                   u"month(a.bill_date)=:cmonth "_s, order}),
            month(2024, 1));
    };
    const db::ResultSet in = reading(u"from inmain a,ingoods b"_s, u"order by gods_code"_s);
    EXPECT_EQ(values(in, u"gods_code"_s),
              (QStringList{u"G001"_s, u"G001"_s, u"G002"_s, u"G003"_s}));
    QStringList seen = values(in, u"bill_no,gods_code,sub_amou"_s);
    seen.sort();  // the order among one code's lines is not given
    EXPECT_EQ(seen, (QStringList{I1 + u"|G001|10"_s, I1 + u"|G002|4"_s, I2 + u"|G003|20"_s,
                                 I3 + u"|G001|2"_s}));
    for (const db::ResultRow& row : in.rows)
        engine_.execute(lines({u"insert into miostemp (gods_code,in_amou)"_s,
                               u" values(:gods_code,:in_amou)"_s}),
                        {{u"gods_code"_s, row[3]}, {u"in_amou"_s, row[4]}});
    const db::ResultSet out = reading(u"from outmain a,outgoods b"_s, u"order by b.gods_code"_s);
    EXPECT_EQ(values(out, u"gods_code"_s),
              (QStringList{u"G001"_s, u"G001"_s, u"G002"_s, u"G003"_s, u"G003"_s}));
    for (const db::ResultRow& row : out.rows)
        engine_.execute(lines({u"insert into miostemp (gods_code,out_amou)"_s,
                               u" values(:gods_code,:out_amou)"_s}),
                        {{u"gods_code"_s, row[3]}, {u"out_amou"_s, row[4]}});

    EXPECT_EQ(engine_.execute(u"update miostemp set now_amou=last_amou+in_amou-out_amou"_s), 11);
    EXPECT_EQ(number(u"select sum(in_amou) from  miostemp"_s), 36);
    EXPECT_EQ(number(u"select sum(out_amou) from  miostemp"_s), 16);
    // G002's opening 1.5 is stored as the whole number 2.
    EXPECT_EQ(number(u"select sum(now_amou) from  miostemp"_s), 30);

    EXPECT_EQ(engine_.execute(lines({u"insert into mios  select gods_code, "_s,
                                     u"sum(last_amou) as last_amou,sum(in_amou) as in_amou,"_s,
                                     u"sum(out_amou) as out_amou,sum(now_amou) as now_amou "_s,
                                     u" from miostemp group by gods_code  "_s})),
              3);
    EXPECT_EQ(select(u"select * from  mios"_s, u"gods_code,last_amou,in_amou,out_amou,now_amou"_s),
              (QStringList{u"G001|8|12|5|15"_s, u"G002|1.5|4|1|5"_s, u"G003|0|20|10|10"_s}));
}

TEST_F(StatementsTest, MovementFiguresAreWholeAndQuantitiesDefaultToZero) {
    const QString insertOpening = lines(
        {u"insert into miostemp (gods_code,last_amou)"_s, u" values(:gods_code,:last_amou)"_s});
    engine_.execute(insertOpening, {{u"gods_code"_s, u"A"_s}, {u"last_amou"_s, 2.5}});
    engine_.execute(insertOpening, {{u"gods_code"_s, u"B"_s}, {u"last_amou"_s, -2.5}});
    engine_.execute(insertOpening, {{u"gods_code"_s, u"C"_s}, {u"last_amou"_s, 2.4}});
    engine_.execute(u"update miostemp set now_amou=last_amou+in_amou-out_amou"_s);
    const db::ResultSet r =
        engine_.query(u"select gods_code,in_amou,out_amou,now_amou from miostemp"_s);
    EXPECT_EQ(values(r, u"gods_code,in_amou,out_amou,now_amou"_s),
              (QStringList{u"A|0|0|3"_s, u"B|0|0|-3"_s, u"C|0|0|2"_s}));
    EXPECT_EQ(r.columns[3].type, db::ColumnType::Decimal);

    engine_.execute(u"insert into mios (gods_code,now_amou) values ('A', 7.5)"_s);
    engine_.execute(u"insert into mios (gods_code,now_amou) values ('B', '1.5')"_s);
    EXPECT_EQ(select(u"select * from mios"_s, u"gods_code,now_amou"_s),
              (QStringList{u"A|8"_s, u"B|2"_s}));

    // An empty counted quantity is an error, not a row that spoils every sum.
    EXPECT_THROW(
        engine_.execute(insertOpening, {{u"gods_code"_s, u"D"_s}, {u"last_amou"_s, QVariant()}}),
        db::DbError);
}

TEST_F(StatementsTest, EngineErrorsCarryTheEngineMessage) {
    const struct {
        QString sql;
        QString message;
    } cases[] = {
        {u"select * from nosuch"_s, u"no such table: nosuch"_s},
        {u"select nosuch from goods"_s, u"no such column: nosuch"_s},
        {u"selec * from goods"_s, u"syntax error"_s},
        {u"select * from goods where gods_code=:code"_s, u"参数 :code 没有值"_s},
        {u"delete from goods; delete from company"_s, u"一次只能执行一条语句"_s},
        {u"insert into chektemp select * from goods"_s, u"values were supplied"_s},
    };
    for (const auto& c : cases) {
        try {
            engine_.execute(c.sql);
            ADD_FAILURE() << "no error: " << c.sql.toStdString();
        } catch (const db::DbError& e) {
            EXPECT_TRUE(e.message().contains(c.message)) << e.message().toStdString();
            EXPECT_EQ(QString::fromStdString(e.what()), e.message());
        }
    }
    // The refused double statement ran no part of itself.
    EXPECT_EQ(number(u"select count(*) from goods"_s), 4);
}

TEST_F(StatementsTest, ValuesThatDoNotFitTheirColumnAreRefused) {
    const QString date = u"insert into inmain (bill_no,bill_date) values ('D',:v)"_s;
    const QString price = u"insert into goods (gods_code,valu_in) values (:code,:v)"_s;
    const struct {
        const char* what;
        QString sql;
        QVariant value;
        QString refusal;  // empty when the value is stored
    } cases[] = {
        {"code at its width",
         u"insert into goods (gods_code) values (:v)"_s,
         QString(20, u'A'),
         {}},
        {"code past its width", u"insert into goods (gods_code) values (:v)"_s, QString(21, u'A'),
         u"gods_code 超过 20 个字符"_s},
        {"40 Chinese characters",
         u"insert into goods (gods_code,gods_name) values ('N1',:v)"_s,
         QString(40, u'货'),
         {}},
        {"41 Chinese characters", u"insert into goods (gods_code,gods_name) values ('N1',:v)"_s,
         QString(41, u'货'), u"gods_name 超过 40 个字符"_s},
        {"bill number of 15 digits", date.left(date.indexOf(u",bill_date"_s)) + u") values (:v)"_s,
         u"202401050900001"_s, u"bill_no 超过 14 个字符"_s},
        {"a word for a price", price, u"abc"_s, u"valu_in 不是数字"_s},
        {"an empty text for a price", price, u""_s, u"valu_in 不是数字"_s},
        {"a price as a text", price, u"12.5"_s, {}},
        {"a whole price", price, 3, {}},
        {"no price", price, QVariant(), {}},
        {"February 30th", date, u"2024-02-30"_s, u"bill_date 不是日期"_s},
        {"February 29th of a common year", date, u"2023-02-29"_s, u"bill_date 不是日期"_s},
        {"month 13", date, u"2024-13-01"_s, u"bill_date 不是日期"_s},
        {"a word for a date", date, u"abc"_s, u"bill_date 不是日期"_s},
        {"digits for a date", date, u"20240105"_s, u"bill_date 不是日期"_s},
        {"a number for a date", date, 45000.5, u"bill_date 不是日期"_s},
        {"hour 24", date, u"2024-01-05 24:00:00"_s, u"bill_date 不是日期"_s},
        {"February 29th of a leap year", date, u"2024-02-29"_s, {}},
        {"a date", date, QDate(2024, 2, 29), {}},
        {"a date and time", date, QDateTime(QDate(2024, 1, 5), QTime(10, 30)), {}},
        {"no date", date, QVariant(), {}},
        {"an empty date picker", date, QDate(), {}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QVariantMap params{{u"v"_s, c.value}, {u"code"_s, u"N%1"_s.arg(++n)}};
        if (c.refusal.isEmpty()) {
            EXPECT_NO_THROW(engine_.execute(c.sql, params));
        } else {
            try {
                engine_.execute(c.sql, params);
                ADD_FAILURE() << "stored";
            } catch (const db::DbError& e) {
                EXPECT_TRUE(e.message().contains(c.refusal)) << e.message().toStdString();
            }
        }
    }
    // What was stored reads back with its type.
    const db::ResultSet r = engine_.query(u"select bill_date from inmain where bill_no='D'"_s);
    ASSERT_EQ(r.rows.size(), 5u);
    EXPECT_EQ(r.rows[0][0].toDate(), QDate(2024, 2, 29));
    EXPECT_EQ(r.rows[1][0].typeId(), QMetaType::QDate);
    EXPECT_EQ(r.rows[2][0].toDateTime(), QDateTime(QDate(2024, 1, 5), QTime(10, 30)));
    EXPECT_TRUE(r.rows[3][0].isNull());
    EXPECT_TRUE(r.rows[4][0].isNull());
    EXPECT_EQ(select(u"select valu_in from goods where gods_code in ('N8','N9')"_s, u"valu_in"_s),
              (QStringList{u"12.5"_s, u"3"_s}));
}

TEST_F(StatementsTest, IdentifyingCodesAreUniqueWithoutRegardToCase) {
    const QString duplicates[] = {
        u"insert into goods (gods_code) values ('g001')"_s,
        u"insert into company (comp_code) values ('c01')"_s,
        u"insert into employee (empl_code) values ('e01')"_s,
        u"insert into powers (user_id) values ('e00')"_s,
        u"insert into storemain (gods_code) values ('g001')"_s,
        u"update goods set gods_code='G002' where gods_code='g001'"_s,
    };
    for (const QString& sql : duplicates) {
        try {
            engine_.execute(sql);
            ADD_FAILURE() << "accepted: " << sql.toStdString();
        } catch (const db::DbError& e) {
            EXPECT_TRUE(e.message().contains(u"UNIQUE"_s)) << e.message().toStdString();
        }
    }
    EXPECT_EQ(engine_.execute(u"insert into goods (gods_code) values ('G005')"_s), 1);
    // Bill numbers are not identifying codes: a bill may share its number.
    EXPECT_EQ(engine_.execute(u"insert into inmain (bill_no) values (:no)"_s, {{u"no"_s, I1}}), 1);
}

TEST_F(StatementsTest, ResultColumnsTellTheirSourceAndType) {
    const db::ResultSet goods = engine_.query(u"select * from Goods"_s);
    ASSERT_FALSE(goods.columns.empty());
    EXPECT_EQ(goods.columns[0].name, u"in_id"_s);
    EXPECT_EQ(goods.columns[0].type, db::ColumnType::Auto);
    EXPECT_EQ(goods.columns[0].table, u"goods"_s);
    EXPECT_EQ(goods.columns[1].type, db::ColumnType::Text);
    EXPECT_EQ(goods.columns[goods.columnIndex(u"VALU_IN"_s)].type, db::ColumnType::Float);

    const db::ResultSet join = engine_.query(lines(
        kStockQuery + QStringList{u" where a.gods_code='G001' "_s, u" order by a.gods_code"_s}));
    EXPECT_EQ(join.columns[0].table, u"storemain"_s);
    EXPECT_EQ(join.columns[1].table, u"goods"_s);
    EXPECT_EQ(join.columns[1].origin, u"gods_name"_s);
    EXPECT_TRUE(join.columns[4].origin.isEmpty());
    EXPECT_EQ(join.columns[4].type, db::ColumnType::Float);

    const db::ResultSet scratch = engine_.query(u"select * from chektemp"_s);
    EXPECT_EQ(scratch.columns[3].type, db::ColumnType::DateTime);
    EXPECT_EQ(scratch.columns[0].table, u"chektemp"_s);

    engine_.execute(u"insert into goods (gods_code) values ('G005')"_s);
    EXPECT_EQ(number(u"select in_id from goods where gods_code='G005'"_s),
              double(engine_.lastInsertId()));
}

TEST_F(StatementsTest, CodeAndDateLookupsUseAnIndex) {
    const struct {
        QString sql;
        QVariantMap params;
    } lookups[] = {
        {u"select * from goods where gods_code=:k"_s, {{u"k"_s, u"g002"_s}}},
        {u"select * from goods where gods_name=:k"_s, {{u"k"_s, u"扳手"_s}}},
        {u"select * from storemain where gods_code=:k"_s, {{u"k"_s, u"G002"_s}}},
        {u"select * from company where comp_code=:k"_s, {{u"k"_s, u"C02"_s}}},
        {u"select * from employee where empl_code=:k"_s, {{u"k"_s, u"E01"_s}}},
        {u"select * from powers where user_id=:k"_s, {{u"k"_s, u"E00"_s}}},
        {u"select  * from inmain where bill_no=:k and bill_type='in' "_s, {{u"k"_s, I2}}},
        {u"select  * from outmain where bill_no=:k"_s, {{u"k"_s, O2}}},
        {lines({u" select * from ingoods "_s, u" where bill_no=:k "_s}), {{u"k"_s, I1}}},
        {lines({u" select * from outgoods "_s, u" where bill_no=:k "_s}), {{u"k"_s, O1}}},
        {u"select * from outmain where bill_date between :date1 and :date2"_s,
         range(kJan1, QDate(2024, 1, 2))},
    };
    for (const auto& l : lookups) {
        engine_.resetStats();
        engine_.query(l.sql, l.params);
        EXPECT_EQ(engine_.stats().fullScanSteps, 0) << l.sql.toStdString();
    }
    engine_.resetStats();
    engine_.query(u"select * from goods where gods_spec=:k"_s, {{u"k"_s, u"大号"_s}});
    EXPECT_GT(engine_.stats().fullScanSteps, 0);
}

TEST_F(StatementsTest, ScratchTablesBelongToOneConnection) {
    db::SqliteEngine other;
    other.open(path_);
    engine_.execute(lines({u"insert into chektemp select gods_code,gods_amou from storemain "_s,
                           u"order by gods_code"_s}));
    other.execute(u"insert into chektemp (gods_code) values ('X')"_s);
    EXPECT_EQ(number(u"select count(*) from chektemp"_s), 5);
    EXPECT_EQ(select(u"select * from chektemp"_s, u"gods_code"_s).size(), 5);
    EXPECT_EQ(other.query(u"select * from chektemp"_s).rows.size(), 1u);
    other.execute(u"delete * from chektemp"_s);
    EXPECT_EQ(number(u"select count(*) from chektemp"_s), 5);
    // The shared tables are shared.
    other.execute(u"insert into goods (gods_code) values ('G005')"_s);
    EXPECT_EQ(number(u"select count(*) from goods"_s), 5);
}

TEST_F(StatementsTest, TransactionKeepsAllOrNothing) {
    const QString count = u"select count(*) from goods"_s;
    {
        db::Transaction tx(engine_);
        engine_.execute(u"delete * from goods"_s);
        EXPECT_EQ(number(count), 0);
    }
    EXPECT_FALSE(engine_.inTransaction());
    EXPECT_EQ(number(count), 4);

    // A nested guard joins the outer one: its commit does not make the outer one's work stay.
    {
        db::Transaction outer(engine_);
        engine_.execute(u"delete from goods where gods_code='G001'"_s);
        {
            db::Transaction inner(engine_);
            engine_.execute(u"delete from goods where gods_code='G002'"_s);
            inner.commit();
        }
        EXPECT_TRUE(engine_.inTransaction());
    }
    EXPECT_EQ(number(count), 4);

    {
        db::Transaction outer(engine_);
        engine_.execute(u"delete from goods where gods_code='G001'"_s);
        {
            db::Transaction inner(engine_);
            engine_.execute(u"delete from goods where gods_code='G002'"_s);
            inner.commit();
        }
        outer.commit();
    }
    EXPECT_EQ(number(count), 2);

    // A failure half-way, injected before a statement runs, undoes the steps before it.
    engine_.setStatementHook([](const QString& sql) {
        if (sql.contains(u"company"_s)) throw db::DbError(u"disk full"_s);
    });
    try {
        db::Transaction tx(engine_);
        engine_.execute(u"delete * from goods"_s);
        engine_.execute(u"update company set rest_tota=0"_s);
        tx.commit();
        ADD_FAILURE() << "the hook did not fail";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.message(), u"disk full"_s);
    }
    engine_.setStatementHook({});
    EXPECT_EQ(number(count), 2);
    EXPECT_EQ(number(u"select rest_tota from company where comp_code='C01'"_s), 30);
}

TEST_F(StatementsTest, SecondCopyWaitsForAShortWrite) {
    using namespace std::chrono_literals;
    std::latch begun(1);
    std::atomic<bool> writerFailed = false;
    std::thread writer([&] {
        try {
            db::SqliteEngine other;
            other.open(path_);
            db::Transaction tx(other);
            other.execute(u"update company set rest_tota=99 where comp_code='C01'"_s);
            begun.count_down();
            std::this_thread::sleep_for(300ms);
            tx.commit();
        } catch (...) {
            writerFailed = true;
            begun.count_down();
        }
    });
    begun.wait();
    QElapsedTimer timer;
    timer.start();
    EXPECT_NO_THROW(
        engine_.execute(u"update company set rest_tota=rest_tota+1 where comp_code='C01'"_s));
    const qint64 waited = timer.elapsed();
    writer.join();
    ASSERT_FALSE(writerFailed);
    EXPECT_GE(waited, 200);
    EXPECT_EQ(number(u"select rest_tota from company where comp_code='C01'"_s), 100);
}

TEST_F(StatementsTest, LocalFileUsesWalAndACheckpointMakesTheFileComplete) {
    EXPECT_EQ(select(u"PRAGMA journal_mode"_s, u"journal_mode"_s), QStringList{u"wal"_s});
    engine_.execute(u"insert into goods (gods_code) values ('G005')"_s);
    engine_.checkpoint();
    // A plain copy of the file alone, as a backup makes it.
    const QString copy = dir_.filePath(u"backup.mdb"_s);
    ASSERT_TRUE(QFile::copy(path_, copy));
    db::SqliteEngine restored;
    restored.open(copy);
    EXPECT_EQ(restored.query(u"select * from goods where gods_code='G005'"_s).rows.size(), 1u);
    EXPECT_EQ(restored.query(u"select * from inmain"_s).rows.size(), 5u);
}

TEST_F(StatementsTest, OpeningAMissingOrForeignFileFails) {
    db::SqliteEngine engine;
    const QString missing = dir_.filePath(u"missing.mdb"_s);
    EXPECT_THROW(engine.open(missing), db::DbError);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(engine.isOpen());

    const QString empty = dir_.filePath(u"empty.mdb"_s);
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_THROW(engine.open(empty), db::DbError);
    EXPECT_EQ(QFileInfo(empty).size(), 0);

    const QString text = dir_.filePath(u"text.mdb"_s);
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    EXPECT_THROW(engine.open(text), db::DbError);
    EXPECT_FALSE(engine.isOpen());

    EXPECT_THROW(db::createDatabase(path_, {u"E00"_s, u"管理员"_s, u"pw"_s}), db::DbError);
}

}  // namespace
