#include "BenchData.h"

#include <malloc.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"

namespace talvor::bench {

namespace {

constexpr int kCompanies = 2000;
constexpr int kEmployees = 50;
// Bump when the generated data or the schema changes, so a stale cache is not used.
constexpr const char* kVersion = "4";

const QString kinds[] = {QStringLiteral("五金"), QStringLiteral("电器"), QStringLiteral("文具"),
                         QStringLiteral("食品"), QStringLiteral("日化")};
const QString units[] = {QStringLiteral("个"), QStringLiteral("箱"), QStringLiteral("件"),
                         QStringLiteral("套")};

void fillMasters(db::Engine& e) {
    for (int i = 0; i < kEmployees; ++i)
        e.execute(QStringLiteral("insert into employee (empl_code,empl_name) values (:c,:n)"),
                  {{QStringLiteral("c"), QStringLiteral("E%1").arg(i, 3, 10, QChar(u'0'))},
                   {QStringLiteral("n"), QStringLiteral("职员%1").arg(i)}});
    for (int i = 0; i < kCompanies; ++i)
        e.execute(QStringLiteral("insert into company (comp_code,comp_name,rela_phon,head_name) "
                                 "values (:c,:n,:p,:h)"),
                  {{QStringLiteral("c"), QStringLiteral("C%1").arg(i, 5, 10, QChar(u'0'))},
                   {QStringLiteral("n"), QStringLiteral("某某贸易有限公司%1").arg(i)},
                   {QStringLiteral("p"), QStringLiteral("0571-8800%1").arg(i)},
                   {QStringLiteral("h"), QStringLiteral("负责人%1").arg(i)}});
    for (int i = 0; i < kGoods; ++i) {
        const QString code = goodsCode(i);
        e.execute(
            QStringLiteral(
                "insert into goods (gods_code,gods_name,gods_spec,gods_type,gods_kind,gods_unit,"
                "valu_in,valu_out,max_amou,min_amou,prod_code,supp_code) values "
                "(:c,:n,:s,:t,:k,:u,:vi,:vo,:mx,:mn,:pc,:sc)"),
            {{QStringLiteral("c"), code},
             {QStringLiteral("n"), QStringLiteral("测试商品名称%1").arg(i)},
             {QStringLiteral("s"), QStringLiteral("%1×%2mm").arg(i % 50).arg(i % 7)},
             {QStringLiteral("t"), QStringLiteral("XH-%1").arg(i % 300)},
             {QStringLiteral("k"), kinds[i % 5]},
             {QStringLiteral("u"), units[i % 4]},
             {QStringLiteral("vi"), 10.0 + i % 97},
             {QStringLiteral("vo"), 15.5 + i % 97},
             {QStringLiteral("mx"), 500.0},
             {QStringLiteral("mn"), 5.0},
             {QStringLiteral("pc"), QStringLiteral("C%1").arg(i % kCompanies, 5, 10, QChar(u'0'))},
             {QStringLiteral("sc"),
              QStringLiteral("C%1").arg((i * 7) % kCompanies, 5, 10, QChar(u'0'))}});
        e.execute(QStringLiteral(
                      "insert into storemain (gods_code,gods_amou,cost_pric) values (:c,:a,:p)"),
                  {{QStringLiteral("c"), code},
                   {QStringLiteral("a"), 100.0 + i % 50},
                   {QStringLiteral("p"), 9.5 + i % 90}});
    }
}

void fillBills(db::Engine& e) {
    const QDate start(2026, 1, 1);
    const int bills = kBillLines / kLinesPerBill;
    for (int b = 0; b < bills; ++b) {
        const bool purchase = b % 2 == 0;
        const QDate date = start.addDays(b * 365 / bills);
        const QString billNo = date.toString(QStringLiteral("yyyyMMdd")) +
                               QStringLiteral("%1").arg(b % 1000000, 6, 10, QChar(u'0'));
        const QString header = purchase ? QStringLiteral("inmain") : QStringLiteral("outmain");
        const QString lines = purchase ? QStringLiteral("ingoods") : QStringLiteral("outgoods");
        e.execute(
            QStringLiteral("insert into %1 "
                           "(bill_no,bill_date,comp_code,hand_code,oper_code,shou_tota,bill_type)"
                           " values (:b,:d,:c,:h,:o,:t,:k)")
                .arg(header),
            {{QStringLiteral("b"), billNo},
             {QStringLiteral("d"), date},
             {QStringLiteral("c"), QStringLiteral("C%1").arg(b % kCompanies, 5, 10, QChar(u'0'))},
             {QStringLiteral("h"), QStringLiteral("E%1").arg(b % kEmployees, 3, 10, QChar(u'0'))},
             {QStringLiteral("o"), QStringLiteral("E000")},
             {QStringLiteral("t"), 1000.0},
             {QStringLiteral("k"), purchase ? QStringLiteral("in") : QStringLiteral("out")}});
        for (int l = 0; l < kLinesPerBill; ++l) {
            const int goods = (b * 37 + l * 4099) % kGoods;
            e.execute(
                QStringLiteral(
                    "insert into %1 (bill_no,gods_code,sub_amou,unit_pric) values (:b,:g,:a,:p)")
                    .arg(lines),
                {{QStringLiteral("b"), billNo},
                 {QStringLiteral("g"), goodsCode(goods)},
                 {QStringLiteral("a"), double(1 + l % 9)},
                 {QStringLiteral("p"), 10.0 + goods % 97}});
        }
    }
}

QString cachePath() {
    return QDir::temp().filePath(
        QStringLiteral("talvor-bench-v%1.mdb").arg(QLatin1String(kVersion)));
}

}  // namespace

QString goodsCode(int i) { return QStringLiteral("G%1").arg(i, 6, 10, QChar(u'0')); }

QString benchDatabase() {
    const QString path = cachePath();
    if (QFile::exists(path)) return path;
    const QString building = path + QStringLiteral(".building");
    QFile::remove(building);
    std::fprintf(stderr, "generating the bench database (once)...\n");
    db::createDatabase(
        building, {QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin")});
    {
        db::SqliteEngine engine;
        engine.open(building);
        db::Transaction tx(engine);
        fillMasters(engine);
        fillBills(engine);
        tx.commit();
        engine.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile::remove(building + QStringLiteral("-wal"));
    QFile::remove(building + QStringLiteral("-shm"));
    QFile::rename(building, path);
    return path;
}

QString writableBenchDatabase() {
    static std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    static int copies = 0;
    const QString path = dir->filePath(QStringLiteral("copy%1.mdb").arg(++copies));
    QFile::copy(benchDatabase(), path);
    return path;
}

long long heapInUse() { return static_cast<long long>(mallinfo2().uordblks); }

}  // namespace talvor::bench
