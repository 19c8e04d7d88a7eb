#include <gtest/gtest.h>

#include "BillFixture.h"
#include "datamodel/db/DbError.h"

namespace talvor {
namespace {

using test::BillEntry;
using test::LedgerDatabase;

QString str(const char* text) { return QString::fromUtf8(text); }

void expectWritten(const BillResult& result) {
    ASSERT_TRUE(result.written()) << result.message.toStdString();
}

void stockAB(LedgerDatabase& db) {
    db.setStock({str("A"), 10, 5});
    db.setStock({str("B"), 3, 2});
}

struct Scenario {
    const char* name;
    const BillKind* kind;
    // Leaves the screen holding what the operation works on.
    std::function<void(LedgerDatabase&, BillEntry&)> prepare;
    std::function<BillResult(BillEntry&)> act;
    bool keepsPending;
};

const Scenario scenarios[] = {
    {"NewPurchase", &BillKind::Purchase,
     [](LedgerDatabase& db, BillEntry& s) {
         stockAB(db);
         s.begin(str("20240305100000"));
         s.addLine(str("A"), 5, 8);
         s.addLine(str("C"), 2, 1);
         s.addLine(str("A"), 1, 4);
     },
     [](BillEntry& s) { return s.save(); }, true},
    {"NewPurchaseWhoseNumberWasTaken", &BillKind::Purchase,
     [](LedgerDatabase& db, BillEntry& s) {
         stockAB(db);
         s.begin(str("20240305100000"));
         s.addLine(str("A"), 5, 8);
         s.addLine(str("B"), 2, 1);
         db.exec(QStringLiteral(
             "insert into inmain (bill_no,bill_type) values ('20240305100000','in')"));
     },
     [](BillEntry& s) { return s.save(); }, true},
    {"EditedSale", &BillKind::Sale,
     [](LedgerDatabase& db, BillEntry& s) {
         stockAB(db);
         s.begin(str("20240305100000"));
         s.addLine(str("A"), 3);
         s.addLine(str("B"), 2);
         expectWritten(s.save());
         s.beginEdit();
         s.setLine(0, "sub_amou", 5.0);
         s.removeLine(1);
         s.addLine(str("C"), 1);
     },
     [](BillEntry& s) { return s.save(); }, true},
    {"DeletedCustomerReturn", &BillKind::CustomerReturn,
     [](LedgerDatabase& db, BillEntry& s) {
         stockAB(db);
         s.begin(str("20240305100000"));
         s.addLine(str("A"), 2, 9, str("不入库"));
         s.addLine(str("B"), 2, 9);
         s.addLine(str("A"), 1, 9);
         expectWritten(s.save());
     },
     [](BillEntry& s) { return s.remove(); }, false},
};

void PrintTo(const Scenario& sc, std::ostream* os) { *os << sc.name; }

// Rows that take the next numbers of every bill table.
void anotherCopySavesABill(LedgerDatabase& db) {
    for (const char* table : {"inmain", "outmain"})
        db.exec(QStringLiteral("insert into %1 (bill_no,bill_type) values ('OTHER','in')")
                    .arg(QLatin1String(table)));
    for (const char* table : {"ingoods", "outgoods"})
        db.exec(QStringLiteral("insert into %1 (bill_no,gods_code,sub_amou) values ('OTHER','Z',1)")
                    .arg(QLatin1String(table)));
}

class BillFailureTest : public ::testing::TestWithParam<Scenario> {};

// Every statement of the operation in turn fails: the database stays exactly as it was, and
// the same call afterwards, once another copy has saved a bill, leaves it exactly as an
// undisturbed run does.
TEST_P(BillFailureTest, AFailureAnywhereWritesNothingAndTheRetryCompletes) {
    const Scenario& sc = GetParam();
    int statements = 0;
    std::map<QString, QStringList> undisturbed;
    {
        LedgerDatabase db;
        BillEntry s(*db.module, *sc.kind);
        sc.prepare(db, s);
        anotherCopySavesABill(db);
        db.engine().setStatementHook([&](const QString&) { ++statements; });
        expectWritten(sc.act(s));
        db.engine().setStatementHook({});
        undisturbed = db.dump();
    }
    ASSERT_GT(statements, 6);

    for (int failing = 1; failing <= statements; ++failing) {
        SCOPED_TRACE(failing);
        LedgerDatabase db;
        BillEntry s(*db.module, *sc.kind);
        sc.prepare(db, s);
        const auto before = db.dump();
        int n = 0;
        db.engine().setStatementHook([&](const QString&) {
            if (++n == failing) throw db::DbError(QStringLiteral("磁盘已满"));
        });
        try {
            sc.act(s);
            ADD_FAILURE() << "the failure did not reach the caller";
        } catch (const BillError& e) {
            EXPECT_EQ(e.message(), u"保存失败：磁盘已满");
        }
        db.engine().setStatementHook({});
        EXPECT_EQ(db.dump(), before);
        if (sc.keepsPending) {
            EXPECT_TRUE(s.header->hasPendingChanges());
            EXPECT_TRUE(s.lines->hasPendingChanges());
        }
        anotherCopySavesABill(db);
        expectWritten(sc.act(s));
        EXPECT_EQ(db.dump(), undisturbed);
    }
}

INSTANTIATE_TEST_SUITE_P(Bills, BillFailureTest, ::testing::ValuesIn(scenarios),
                         [](const auto& info) { return std::string(info.param.name); });

QString code(int i) { return QStringLiteral("G%1").arg(i, 4, 10, QChar(u'0')); }

// A few hundred goods in the ledger, bills of both tables and a stock-taking of another
// month, so that any scan would step over many rows.
void fillShop(LedgerDatabase& db) {
    db::Transaction tx(db.engine());
    for (int i = 0; i < 400; ++i) {
        db.setStock({code(i), double(i), 2.5});
        db.exec(QStringLiteral("insert into storchek (gods_code,gods_amou,chek_amou,chek_date) "
                               "values (:c,1,1,'2024-01-31')"),
                {{QStringLiteral("c"), code(i)}});
    }
    for (int bill = 0; bill < 40; ++bill) {
        const QVariantMap no{
            {QStringLiteral("b"), QStringLiteral("202402011000%1").arg(bill, 2, 10, QChar(u'0'))}};
        for (const char* table : {"inmain", "outmain"})
            db.exec(
                QStringLiteral(
                    "insert into %1 (bill_no,bill_date,bill_type) values (:b,'2024-02-01','in')")
                    .arg(QLatin1String(table)),
                no);
        for (int line = 0; line < 10; ++line) {
            QVariantMap values = no;
            values.insert(QStringLiteral("c"), code(bill * 10 + line));
            for (const char* table : {"ingoods", "outgoods"})
                db.exec(
                    QStringLiteral(
                        "insert into %1 (bill_no,gods_code,sub_amou,unit_pric) values (:b,:c,1,1)")
                        .arg(QLatin1String(table)),
                    values);
        }
    }
    tx.commit();
}

TEST(BillScanTest, SavingAndDeletingNeverScanATable) {
    LedgerDatabase db;
    // A server's planner picks a scan or an index by cost and the table's size.
    if (db.engine().dialect() != db::SqlDialect::Sqlite)
        GTEST_SKIP() << "the scan counter is SQLite's";
    fillShop(db);
    const auto fullScanSteps = [&](const std::function<void()>& operation) {
        db.engine().resetStats();
        operation();
        return db.engine().stats().fullScanSteps;
    };
    // The counter does see the whole ledger being read.
    EXPECT_GT(fullScanSteps([&] { db.engine().query(QStringLiteral("select * from storemain")); }),
              0);

    for (const BillKind* kind : {&BillKind::Purchase, &BillKind::Sale}) {
        SCOPED_TRACE(kind->billType.data());
        BillEntry s(*db.module, *kind);
        s.begin(str("20240305100000"));
        s.addLine(code(7), 5, 8);
        s.addLine(code(301), 1, 2);
        s.addLine(str("NEW"), 3, 1);
        EXPECT_EQ(fullScanSteps([&] { expectWritten(s.save()); }), 0);

        s.beginEdit();
        s.setLine(0, "sub_amou", 7.0);
        s.removeLine(1);
        s.addLine(code(399), 2, 2);
        EXPECT_EQ(fullScanSteps([&] { expectWritten(s.save()); }), 0);
        EXPECT_EQ(fullScanSteps([&] { expectWritten(s.remove()); }), 0);
    }
}

TEST(BillDeletionTest, SalesLoseTheirLinesFirstOtherKindsTheirHeader) {
    for (const BillKind* kind : {&BillKind::Purchase, &BillKind::CustomerReturn, &BillKind::Sale,
                                 &BillKind::ReturnToSupplier}) {
        SCOPED_TRACE(kind->billType.data());
        LedgerDatabase db;
        BillEntry s(*db.module, *kind);
        s.begin(str("B1"));
        s.addLine(str("A"), 1, 1);
        expectWritten(s.save());
        QStringList deletions;
        db.engine().setStatementHook([&](const QString& sql) {
            if (sql.startsWith(u"delete")) deletions << sql.section(u' ', 3, 3);
        });
        expectWritten(s.remove());
        db.engine().setStatementHook({});
        const QStringList header{kind->headerTable, kind->lineTable};
        const QStringList linesFirst{kind->lineTable, kind->headerTable};
        EXPECT_EQ(deletions, kind == &BillKind::Sale ? linesFirst : header);
        EXPECT_EQ(db.count(kind->headerTable), 0);
        EXPECT_EQ(db.count(kind->lineTable), 0);
    }
}

}  // namespace
}  // namespace talvor
