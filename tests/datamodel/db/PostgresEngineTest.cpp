#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <future>
#include <thread>

#include "bills/core/StockLedger.h"
#include "datamodel/db/DatabaseCopy.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/PostgresEngine.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"
#include "support/TestServer.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

const db::Administrator kAdmin{u"admin"_s, u"管理员"_s, u"secret"_s};

TEST(PostgresEngine, AServerThatCannotBeReachedIsNamedInTheMessage) {
    db::PostgresEngine engine;
    try {
        engine.open(u"host=127.0.0.1 port=1 dbname=talvor connect_timeout=5"_s);
        FAIL() << "connected to a closed port";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.message().startsWith(u"无法连接数据库服务器 127.0.0.1："_s))
            << e.message().toStdString();
    }
    EXPECT_FALSE(engine.isOpen());
    EXPECT_EQ(db::PostgresEngine::hostOf(u"dbname=talvor user=x"_s), u"localhost"_s);
    EXPECT_EQ(db::PostgresEngine::hostOf(u"postgresql://shop-server:5433/talvor"_s),
              u"shop-server"_s);
}

// The tests below need the server TALVOR_TEST_SERVER names (scripts/with-postgres makes one).
class OnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        server_ = test::TestServerSchema::fromEnvironment();
        if (!server_) GTEST_SKIP() << "TALVOR_TEST_SERVER names no PostgreSQL database";
    }

    std::unique_ptr<db::PostgresEngine> connect() {
        auto engine = std::make_unique<db::PostgresEngine>();
        engine->open(server_->connection());
        return engine;
    }

    // A new local database, as a shop has it before moving to the server.
    db::SqliteEngine& local() {
        const QString path = dir_.filePath(u"talvor.mdb"_s);
        db::createDatabase(path, kAdmin);
        local_.open(path);
        return local_;
    }

    std::unique_ptr<test::TestServerSchema> server_;
    QTemporaryDir dir_;
    db::SqliteEngine local_;
};

TEST_F(OnServer, AnEmptyDatabaseIsToldApartAndGetsItsTablesOnce) {
    auto engine = connect();
    EXPECT_TRUE(engine->isEmpty());
    db::createSchema(*engine, kAdmin);
    EXPECT_FALSE(engine->isEmpty());
    EXPECT_EQ(
        engine->query(u"select empl_name from employee where empl_code='ADMIN'"_s).rows.at(0).at(0),
        QVariant(u"管理员"_s));
    // A second connection has its own scratch tables.
    auto other = connect();
    engine->execute(u"insert into chektemp (gods_code) values ('A')"_s);
    EXPECT_EQ(other->query(u"select count(*) from chektemp"_s).rows[0][0].toInt(), 0);
}

// Two counters receive the same goods at once: the second reads the stock only after the first
// has written it, so the cost is the weighted average a serial order gives.
TEST_F(OnServer, ConcurrentReceiptsOfOneGoodsGiveTheSerialWeightedAverage) {
    server_->create(kAdmin);
    auto first = connect();
    auto second = connect();
    first->execute(u"insert into storemain (gods_code,gods_amou,cost_pric) values ('A',10,5)"_s);

    std::promise<void> firstHasRead;
    first->setStatementHook([&, signalled = false](const QString& sql) mutable {
        if (signalled || !sql.startsWith(u"update storemain"_s)) return;
        signalled = true;
        firstHasRead.set_value();
        // Time for the second counter to read the stock, were it allowed to.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    const auto receive = [](db::Engine& engine, double quantity, double price) {
        db::Transaction tx(engine);
        ReceiveIntoStock(engine, u"A"_s, quantity, price);
        tx.commit();
    };
    std::thread counter1([&] { receive(*first, 10, 8); });
    firstHasRead.get_future().wait();
    std::thread counter2([&] { receive(*second, 20, 11); });
    counter1.join();
    counter2.join();

    const db::ResultSet r =
        second->query(u"select gods_amou,cost_pric from storemain where gods_code='A'"_s);
    EXPECT_DOUBLE_EQ(r.rows.at(0).at(0).toDouble(), 40);
    EXPECT_DOUBLE_EQ(r.rows.at(0).at(1).toDouble(), (10 * 5 + 10 * 8 + 20 * 11) / 40.0);
}

// A change that meets another transaction's change of the same row is run again on what that
// one left, not reported as an error.
TEST_F(OnServer, AWriteOvertakenByAConcurrentChangeIsRetried) {
    server_->create(kAdmin);
    auto counter = connect();
    auto other = connect();
    counter->execute(u"insert into goods (gods_code,valu_in) values ('A',0)"_s);
    other->runScript(
        u"BEGIN ISOLATION LEVEL SERIALIZABLE; "
        "UPDATE goods SET valu_in = valu_in + 10 WHERE gods_code = 'A'"_s);
    std::thread write([&] {
        counter->execute(u"update goods set valu_in = valu_in + 1 where gods_code = 'A'"_s);
    });
    // The counter's update waits on the other's row until that commits, then fails to serialize.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other->runScript(u"COMMIT"_s);
    write.join();
    EXPECT_DOUBLE_EQ(
        counter->query(u"select valu_in from goods where gods_code='A'"_s).rows[0][0].toDouble(),
        11);
}

// A local database with rows in every kind of column, copied whole.
TEST_F(OnServer, CopyingALocalDatabaseBringsEveryRowAndContinuesTheNumbering) {
    db::SqliteEngine& local = this->local();
    for (int i = 0; i < 250; ++i) {
        local.execute(
            u"insert into goods (gods_code,gods_name,valu_in) values (:c,:n,:v)"_s,
            {{u"c"_s, u"G%1"_s.arg(i)}, {u"n"_s, u"货品%1"_s.arg(i)}, {u"v"_s, i * 1.25}});
        local.execute(
            u"insert into inmain (bill_no,bill_date,comp_code) values (:b,:d,'C01')"_s,
            {{u"b"_s, u"2024010%1"_s.arg(i)}, {u"d"_s, QDate(2024, 1, 1).addDays(i % 60)}});
    }
    local.execute(u"delete from goods where gods_code='G7'"_s);

    auto remote = connect();
    std::vector<long long> seen;
    db::copyDatabase(local, *remote, [&](const QString& table, long long done, long long) {
        if (table == u"goods"_s) seen.push_back(done);
    });
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 249);

    const QString goods = u"select in_id,gods_code,gods_name,valu_in from goods order by in_id"_s;
    const QString bills = u"select in_id,bill_no,bill_date from inmain order by in_id"_s;
    for (const QString& sql : {goods, bills, u"select * from powers"_s})
        EXPECT_EQ(remote->query(sql).rows, local.query(sql).rows) << sql.toStdString();

    // The server numbers new rows after the copied ones.
    remote->execute(u"insert into goods (gods_code) values ('NEW')"_s);
    EXPECT_EQ(remote->lastInsertId(),
              local.query(u"select max(in_id) from goods"_s).rows[0][0].toLongLong() + 1);
}

TEST_F(OnServer, ACopyIntoADatabaseThatFailsHalfWayLeavesItEmpty) {
    db::SqliteEngine& local = this->local();
    auto remote = connect();
    remote->setStatementHook([](const QString& sql) {
        if (sql.startsWith(u"insert into powers"_s)) throw db::DbError(u"网络中断"_s);
    });
    EXPECT_THROW(db::copyDatabase(local, *remote), db::DbError);
    remote->setStatementHook({});
    EXPECT_TRUE(remote->isEmpty());
}

}  // namespace
}  // namespace talvor
