#include "BenchData.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>

#include "datamodel/DataModule.h"
#include "datamodel/Rights.h"
#include "datamodel/db/DatabaseCopy.h"
#include "datamodel/db/PostgresEngine.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"

namespace talvor::bench {

namespace {

constexpr int kCompanies = 2000;
constexpr int kEmployees = 50;
// Bump when the generated data or the schema changes, so a stale cache is not used.
constexpr const char* kVersion = "4";

void fillPeople(db::Engine& e) {
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
}

// Goods i has the code goodsCode(i) and a ledger row. Written by SQLite itself, so that a
// million goods take seconds.
void fillGoods(db::SqliteEngine& e, int goods) {
    const QString numbers =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i+1<%1) ")
            .arg(goods);
    e.runScript(
        numbers +
        QStringLiteral(
            "INSERT INTO goods (gods_code,gods_name,gods_spec,gods_type,gods_kind,gods_unit,"
            "valu_in,valu_out,max_amou,min_amou,prod_code,supp_code) SELECT printf('G%06d',i),"
            "'测试商品名称'||i,(i%50)||'×'||(i%7)||'mm','XH-'||(i%300),"
            "CASE i%5 WHEN 0 THEN '五金' WHEN 1 THEN '电器' WHEN 2 THEN '文具' WHEN 3 THEN '食品' "
            "ELSE '日化' END,CASE i%4 WHEN 0 THEN '个' WHEN 1 THEN '箱' WHEN 2 THEN '件' ELSE '套' "
            "END,10.0+i%97,15.5+i%97,500.0,5.0,printf('C%05d',i%2000),printf('C%05d',(i*7)%2000) "
            "FROM n"));
    e.runScript(numbers + QStringLiteral("INSERT INTO storemain (gods_code,gods_amou,cost_pric) "
                                         "SELECT printf('G%06d',i),100.0+i%50,9.5+i%90 FROM n"));
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

QString cachePath(const QString& name) {
    return QDir::temp().filePath(
        QStringLiteral("talvor-bench-%1-v%2.mdb").arg(name, QLatin1String(kVersion)));
}

// Makes the database once, under a temporary name until it is complete.
QString cached(const QString& name, const std::function<void(db::SqliteEngine&)>& fill) {
    const QString path = cachePath(name);
    if (QFile::exists(path)) return path;
    const QString building = path + QStringLiteral(".building");
    QFile::remove(building);
    std::fprintf(stderr, "generating the bench database %s (once)...\n", qPrintable(name));
    db::createDatabase(
        building, {QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin")});
    {
        db::SqliteEngine engine;
        engine.open(building);
        db::Transaction tx(engine);
        fill(engine);
        tx.commit();
        engine.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile::remove(building + QStringLiteral("-wal"));
    QFile::remove(building + QStringLiteral("-shm"));
    QFile::rename(building, path);
    return path;
}

QString copyOf(const QString& path) {
    static std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    static int copies = 0;
    const QString copy = dir->filePath(QStringLiteral("copy%1.mdb").arg(++copies));
    QFile::copy(path, copy);
    return copy;
}

}  // namespace

QString goodsCode(int i) { return QStringLiteral("G%1").arg(i, 6, 10, QChar(u'0')); }

QString benchDatabase() {
    return cached(QStringLiteral("main"), [](db::SqliteEngine& e) {
        fillPeople(e);
        fillGoods(e, kGoods);
        fillBills(e);
    });
}

QString writableBenchDatabase() { return copyOf(benchDatabase()); }

QString goodsDatabase() {
    return cached(QStringLiteral("goods"), [](db::SqliteEngine& e) {
        fillPeople(e);
        fillGoods(e, kManyGoods);
        e.runScript(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i+1<%1) "
                "INSERT INTO ingoods (bill_no,gods_code,sub_amou,unit_pric) "
                "SELECT '20260101000000',printf('G%06d',(i*37)%10000),1.0,10.0 FROM n")
                .arg(kGoodsDatabaseLines));
    });
}

QString writableGoodsDatabase() { return copyOf(goodsDatabase()); }

QString benchServer() { return qEnvironmentVariable("TALVOR_TEST_SERVER"); }

QString serverBenchDatabase() {
    static const QString connection = [] {
        const QString server = benchServer();
        if (server.isEmpty()) throw std::runtime_error("TALVOR_TEST_SERVER names no server");
        const QString schema = QStringLiteral("bench_v%1").arg(QLatin1String(kVersion));
        db::PostgresEngine admin;
        admin.open(server);
        admin.runScript(
            QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; CREATE SCHEMA %1").arg(schema));
        const QString inSchema =
            server + QStringLiteral(" options='-c search_path=%1,public'").arg(schema);
        std::fprintf(stderr, "copying the bench database to the server...\n");
        db::SqliteEngine local;
        local.open(benchDatabase());
        db::PostgresEngine remote;
        remote.open(inSchema);
        db::copyDatabase(local, remote);
        remote.runScript(QStringLiteral("ANALYZE"));
        return inSchema;
    }();
    return connection;
}

std::unique_ptr<TFrmDataMod> fileModule(const QString& path) {
    auto module = std::make_unique<TFrmDataMod>();
    module->connectTo(path);
    return module;
}

std::unique_ptr<TFrmDataMod> serverModule(const QString& connection) {
    auto module = std::make_unique<TFrmDataMod>(std::make_unique<db::PostgresEngine>());
    module->connectTo(connection);
    return module;
}

bool onServer(const benchmark::State& state) { return state.range(0) == 1; }

QString benchLocation(const benchmark::State& state, bool writes) {
    if (onServer(state)) return serverBenchDatabase();
    return writes ? writableBenchDatabase() : benchDatabase();
}

std::unique_ptr<TFrmDataMod> benchModule(const benchmark::State& state, bool writes) {
    const QString where = benchLocation(state, writes);
    return onServer(state) ? serverModule(where) : fileModule(where);
}

bool skippedWithoutServer(benchmark::State& state) {
    if (!onServer(state) || !benchServer().isEmpty()) return false;
    state.SkipWithError("TALVOR_TEST_SERVER names no server (run under scripts/with-postgres)");
    return true;
}

void grantAll() {
    CurrentUser().id = QStringLiteral("admin");
    for (QString& r : CurrentUser().rights) r = QString(kModuleCount, u'1');
}

long long heapInUse() { return static_cast<long long>(mallinfo2().uordblks); }

long long readEveryColumn(sqlite3_stmt* stmt) {
    long long rows = 0, bytes = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        for (int i = 0; i < columns; ++i) {
            if (sqlite3_column_type(stmt, i) == SQLITE_TEXT)
                bytes += sqlite3_column_bytes(stmt, i);
            else
                benchmark::DoNotOptimize(sqlite3_column_double(stmt, i));
        }
    }
    benchmark::DoNotOptimize(bytes);
    return rows;
}

void RawConnection::run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
}

sqlite3_stmt* RawConnection::prepare(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
    return stmt;
}

void RawConnection::step(sqlite3_stmt* stmt) {
    if (sqlite3_step(stmt) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    sqlite3_reset(stmt);
}

}  // namespace talvor::bench
