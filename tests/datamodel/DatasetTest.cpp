#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <functional>

#include "datamodel/DisplayFormat.h"
#include "datamodel/db/DbError.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

namespace talvor {
namespace {

using test::TestDatabase;

class DatasetTest : public ::testing::Test {
  protected:
    TestDatabase t;
    TFrmDataMod& m = *t.module;

    void addGoods(const QString& code, const QString& name) {
        t.exec(
            QStringLiteral("insert into goods (gods_code,gods_name,gods_unit) values (:c,:n,'个')"),
            {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}});
    }
    void addLine(const QString& bill, const QString& code, double amount, double price) {
        t.exec(
            QStringLiteral(
                "insert into ingoods (bill_no,gods_code,sub_amou,unit_pric) values (:b,:c,:a,:p)"),
            {{QStringLiteral("b"), bill},
             {QStringLiteral("c"), code},
             {QStringLiteral("a"), amount},
             {QStringLiteral("p"), price}});
    }
    int count(const char* table) {
        return t.scalar(QStringLiteral("select count(*) from ") + QLatin1String(table)).toInt();
    }
};

TEST_F(DatasetTest, FixedFieldListRefusesAStatementWithoutAListedField) {
    m.GoodsQ->setSql(QStringLiteral("select gods_code,gods_name from goods"));
    EXPECT_THROW(m.GoodsQ->open(), db::DbError);
    EXPECT_FALSE(m.GoodsQ->isActive());
    m.GoodsQ->setSql(QStringLiteral("select * from goods"));
    m.GoodsQ->open();
    EXPECT_EQ(m.GoodsQ->fieldCount(), 18);
    EXPECT_EQ(m.GoodsQ->field(17).name, u"supp_name");
}

TEST_F(DatasetTest, OpeningLinesOpensTheClosedGoodsAndCutsLookupsToTheirGbkWidth) {
    const QString twenty = QString(20, QChar(0x6C34));  // 20 Chinese characters, 40 GBK bytes
    addGoods(QStringLiteral("A1"), twenty);
    addLine(QStringLiteral("B1"), QStringLiteral("A1"), 2, 3.5);
    ASSERT_FALSE(m.GoodsQ->isActive());
    m.InGoodsQ->setSql(QStringLiteral("select * from ingoods"));
    m.InGoodsQ->open();
    EXPECT_TRUE(m.GoodsQ->isActive());
    EXPECT_EQ(m.InGoodsQ->text(QStringLiteral("gods_name")), twenty);  // width 50
    EXPECT_EQ(m.InGoodsQ->text(QStringLiteral("gods_unit")), u"个");
    EXPECT_DOUBLE_EQ(m.InGoodsQ->number(QStringLiteral("sub_tota")), 7.0);

    m.StoreQ->setSql(QStringLiteral("select * from storemain"));
    t.exec(QStringLiteral("insert into storemain (gods_code,gods_amou) values ('A1',1)"));
    m.StoreQ->open();
    EXPECT_EQ(m.StoreQ->text(QStringLiteral("gods_name")), twenty.left(15));  // width 30
}

TEST_F(DatasetTest, LookupsReadTheSourceAsItIsNow) {
    addGoods(QStringLiteral("A1"), QStringLiteral("螺丝"));
    addGoods(QStringLiteral("B2"), QStringLiteral("螺母"));
    addLine(QStringLiteral("X"), QStringLiteral("A1"), 1, 1);
    addLine(QStringLiteral("X"), QStringLiteral("B2"), 1, 1);
    addLine(QStringLiteral("X"), QStringLiteral("a1"), 1, 1);  // letter case counts
    m.InGoodsQ->setSql(QStringLiteral("select * from ingoods order by in_id"));
    m.InGoodsQ->open();
    EXPECT_EQ(m.InGoodsQ->value(0, QStringLiteral("gods_name")).toString(), u"螺丝");
    EXPECT_EQ(m.InGoodsQ->value(1, QStringLiteral("gods_name")).toString(), u"螺母");
    EXPECT_TRUE(m.InGoodsQ->value(2, QStringLiteral("gods_name")).isNull());

    m.GoodsQ->close();
    m.GoodsQ->setSql(QStringLiteral("select * from goods where gods_code='B2'"));
    m.GoodsQ->open();
    EXPECT_TRUE(m.InGoodsQ->value(0, QStringLiteral("gods_name")).isNull());
    EXPECT_EQ(m.InGoodsQ->value(1, QStringLiteral("gods_name")).toString(), u"螺母");

    // A change to the source shows at once.
    m.GoodsQ->setValue(QStringLiteral("gods_name"), QStringLiteral("垫片"));
    EXPECT_EQ(m.InGoodsQ->value(1, QStringLiteral("gods_name")).toString(), u"垫片");
    m.GoodsQ->close();
    EXPECT_TRUE(m.InGoodsQ->value(1, QStringLiteral("gods_name")).isNull());
}

TEST_F(DatasetTest, OptimisticPostsAreWrittenAtOnceAndGetTheirNumber) {
    m.GoodsQ->open();
    m.GoodsQ->append();
    m.GoodsQ->setValue(QStringLiteral("gods_code"), QStringLiteral("N1"));
    m.GoodsQ->setValue(QStringLiteral("valu_in"), QStringLiteral("12.5"));
    m.GoodsQ->post();
    EXPECT_EQ(count("goods"), 1);
    EXPECT_GT(m.GoodsQ->value(QStringLiteral("in_id")).toLongLong(), 0);
    EXPECT_DOUBLE_EQ(t.scalar(QStringLiteral("select valu_in from goods")).toDouble(), 12.5);

    m.GoodsQ->setValue(QStringLiteral("gods_name"), QStringLiteral("新名"));
    m.GoodsQ->post();
    EXPECT_EQ(t.scalar(QStringLiteral("select gods_name from goods")).toString(), u"新名");
    m.GoodsQ->deleteRow();
    EXPECT_EQ(count("goods"), 0);
}

TEST_F(DatasetTest, CancellingANewRowReturnsToTheRowBeforeIt) {
    for (const char* c : {"1", "2", "3"}) addGoods(QLatin1String(c), QStringLiteral("x"));
    m.GoodsQ->open();
    m.GoodsQ->setCurrentRow(1);
    m.GoodsQ->append();
    m.GoodsQ->cancel();
    EXPECT_EQ(m.GoodsQ->currentRow(), 1);
    EXPECT_EQ(m.GoodsQ->recordCount(), 3);
}

TEST_F(DatasetTest, MovingOnDropsAnUntouchedNewRowAndPostsATouchedOne) {
    Dataset* lines = m.InGoodsQ;
    lines->setSql(QStringLiteral("select * from ingoods"));
    lines->onNewRecord = [](Dataset& d) {
        d.setValue(QStringLiteral("bill_no"), QStringLiteral("B1"));
    };
    lines->open();
    lines->append();
    lines->checkBrowseMode();
    EXPECT_EQ(lines->recordCount(), 0);  // the bill number of the new row alone is no input
    lines->append();
    lines->setValue(QStringLiteral("sub_amou"), 2.0);
    lines->checkBrowseMode();
    ASSERT_EQ(lines->recordCount(), 1);
    EXPECT_EQ(lines->text(QStringLiteral("bill_no")), u"B1");
    lines->clearEvents();
}

// A screen whose constructor throws after attaching its handlers must not leave them on the
// shared dataset, where the next screen's posts would call into the destroyed one.
TEST_F(DatasetTest, AttachedHandlersLeaveWithTheirScopeAlsoWhenAConstructorThrows) {
    struct Screen {
        DatasetEvents events;
        explicit Screen(Dataset& lines, int& calls) : events(lines) {
            events.attach(&Dataset::afterPost, [&calls](Dataset&) { ++calls; });
            throw std::runtime_error("lines failed to open");
        }
    };
    Dataset* lines = m.InGoodsQ;
    lines->beforePost = [](Dataset&) {};  // attached by someone else: stays
    int calls = 0;
    EXPECT_THROW(Screen(*lines, calls), std::runtime_error);
    EXPECT_FALSE(lines->afterPost);
    EXPECT_TRUE(lines->beforePost);
    lines->openWith(QStringLiteral("select * from ingoods where bill_no=:b"),
                    {{QStringLiteral("b"), QStringLiteral("B1")}});
    lines->append();
    lines->setValue(QStringLiteral("bill_no"), QStringLiteral("B1"));
    lines->post();
    EXPECT_EQ(calls, 0);
    lines->clearEvents();
}

TEST_F(DatasetTest, OpenWithReplacesTheParametersOfTheLastStatement) {
    addGoods(QStringLiteral("A1"), QStringLiteral("x"));
    m.GoodsQ->openWith(QStringLiteral("select * from goods where gods_code=:c"),
                       {{QStringLiteral("c"), QStringLiteral("A1")}});
    EXPECT_EQ(m.GoodsQ->recordCount(), 1);
    m.GoodsQ->openWith(QStringLiteral("select * from goods order by gods_code"));
    EXPECT_TRUE(m.GoodsQ->params().isEmpty());
    EXPECT_EQ(m.GoodsQ->recordCount(), 1);
}

TEST_F(DatasetTest, FailedPostStaysInEditAndWritesNothing) {
    m.GoodsQ->open();
    m.GoodsQ->append();
    m.GoodsQ->setValue(QStringLiteral("gods_code"), QString(21, u'x'));
    EXPECT_THROW(m.GoodsQ->post(), db::DbError);
    EXPECT_EQ(m.GoodsQ->state(), DatasetState::Insert);
    EXPECT_EQ(count("goods"), 0);
    EXPECT_THROW(m.GoodsQ->setValue(QStringLiteral("valu_in"), QStringLiteral("abc")), db::DbError);
}

TEST_F(DatasetTest, BatchHoldsChangesUntilUpdateBatchAndCancelBatchRestoresThem) {
    addLine(QStringLiteral("B1"), QStringLiteral("A"), 1, 1);
    addLine(QStringLiteral("B1"), QStringLiteral("B"), 2, 2);
    Dataset* lines = m.InGoodsQ;
    lines->setSql(QStringLiteral("select * from ingoods where bill_no=:bill_no order by in_id"));
    lines->setParam(QStringLiteral("bill_no"), QStringLiteral("B1"));
    lines->open();
    lines->first();
    lines->setValue(QStringLiteral("sub_amou"), 9.0);
    lines->next();
    lines->deleteRow();
    lines->append();
    lines->setValue(QStringLiteral("bill_no"), QStringLiteral("B1"));
    lines->setValue(QStringLiteral("gods_code"), QStringLiteral("C"));
    lines->post();
    EXPECT_TRUE(lines->hasPendingChanges());
    EXPECT_EQ(t.scalar(QStringLiteral("select sum(sub_amou) from ingoods")).toDouble(), 3.0);

    lines->cancelBatch();
    ASSERT_EQ(lines->recordCount(), 2);
    EXPECT_EQ(lines->value(0, QStringLiteral("sub_amou")).toDouble(), 1.0);
    EXPECT_EQ(lines->value(1, QStringLiteral("gods_code")).toString(), u"B");
    EXPECT_FALSE(lines->hasPendingChanges());

    lines->first();
    lines->setValue(QStringLiteral("sub_amou"), 9.0);
    lines->last();
    lines->deleteRow();
    lines->append();
    lines->setValue(QStringLiteral("bill_no"), QStringLiteral("B1"));
    lines->setValue(QStringLiteral("gods_code"), QStringLiteral("C"));
    lines->updateBatch();
    EXPECT_FALSE(lines->hasPendingChanges());
    lines->reopen();
    ASSERT_EQ(lines->recordCount(), 2);
    EXPECT_EQ(lines->value(0, QStringLiteral("sub_amou")).toDouble(), 9.0);
    EXPECT_EQ(lines->value(1, QStringLiteral("gods_code")).toString(), u"C");
}

TEST_F(DatasetTest, AFailedBatchWritesNothingAndStaysPending) {
    Dataset* lines = m.InGoodsQ;
    lines->setSql(QStringLiteral("select * from ingoods"));
    lines->open();
    lines->append();
    lines->setValue(QStringLiteral("gods_code"), QStringLiteral("OK"));
    lines->append();
    lines->setValue(QStringLiteral("remark"), QStringLiteral("备注太长了超过十个字符啊"));
    lines->post();
    EXPECT_THROW(lines->updateBatch(), db::DbError);
    EXPECT_EQ(count("ingoods"), 0);
    EXPECT_TRUE(lines->hasPendingChanges());
    EXPECT_TRUE(lines->value(0, QStringLiteral("in_id")).isNull());
    lines->setCurrentRow(1);
    lines->setValue(QStringLiteral("remark"), QStringLiteral("不入库"));
    lines->updateBatch();
    EXPECT_EQ(count("ingoods"), 2);
}

TEST_F(DatasetTest, RowsOfATableWithoutKeyAreFoundByTheirValues) {
    t.exec(QStringLiteral("insert into baseitem (fee_code,fee_type) values ('01','现金')"));
    t.exec(QStringLiteral("insert into baseitem (fee_code,fee_type) values ('02','转帐')"));
    Dataset* fees = m.FeeDefiQ;
    fees->setSql(
        QStringLiteral("select distinct fee_code,fee_type from baseitem order by fee_code"));
    fees->open();
    fees->locate(QStringLiteral("fee_code"), QStringLiteral("02"));
    fees->setValue(QStringLiteral("fee_type"), QStringLiteral("支票"));
    fees->first();
    fees->deleteRow();
    fees->updateBatch();
    const db::ResultSet rows =
        t.engine().query(QStringLiteral("select fee_code,fee_type from baseitem"));
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0][1].toString(), u"支票");
}

TEST_F(DatasetTest, LinesFollowTheHeadersBillNumber) {
    for (const char* bill : {"B1", "B2"})
        t.exec(QStringLiteral("insert into inmain (bill_no,bill_type) values (:b,'in')"),
               {{QStringLiteral("b"), QLatin1String(bill)}});
    addLine(QStringLiteral("B1"), QStringLiteral("A"), 1, 1);
    addLine(QStringLiteral("B2"), QStringLiteral("A"), 1, 1);
    addLine(QStringLiteral("B2"), QStringLiteral("B"), 1, 1);
    m.InMainQ->setSql(QStringLiteral("select * from inmain order by bill_no"));
    m.InGoodsQ->setSql(QStringLiteral(" select * from ingoods  where bill_no=:bill_no "));
    m.InGoodsQ->setMasterLink(m.InMainQ, QStringLiteral("bill_no"), QStringLiteral("bill_no"));
    m.InMainQ->open();
    EXPECT_EQ(m.InGoodsQ->recordCount(), 1);
    m.InMainQ->next();
    EXPECT_EQ(m.InGoodsQ->recordCount(), 2);
    m.InMainQ->close();
    m.InMainQ->setSql(QStringLiteral("select * from inmain where bill_no='nothing'"));
    m.InMainQ->open();
    EXPECT_EQ(m.InGoodsQ->recordCount(), 0);
}

TEST_F(DatasetTest, LocateIsExactAndLetterCaseCounts) {
    addLine(QStringLiteral("B"), QStringLiteral("ab"), 1, 1);
    addLine(QStringLiteral("B"), QStringLiteral("AB"), 1, 1);
    m.InGoodsQ->setSql(QStringLiteral("select * from ingoods order by in_id"));
    m.InGoodsQ->open();
    EXPECT_TRUE(m.InGoodsQ->locate(QStringLiteral("gods_code"), QStringLiteral("AB")));
    EXPECT_EQ(m.InGoodsQ->currentRow(), 1);
    EXPECT_FALSE(m.InGoodsQ->locate(QStringLiteral("gods_code"), QStringLiteral("A")));
    EXPECT_EQ(m.InGoodsQ->currentRow(), 1);
}

TEST_F(DatasetTest, WalkingVisitsEveryRowOnce) {
    for (const char* c : {"1", "2", "3"}) addGoods(QLatin1String(c), QStringLiteral("x"));
    m.GoodsQ->open();
    int visited = 0;
    for (m.GoodsQ->first(); !m.GoodsQ->eof(); m.GoodsQ->next()) ++visited;
    EXPECT_EQ(visited, 3);
    m.GoodsQ->close();
    m.GoodsQ->setSql(QStringLiteral("select * from goods where 1=0"));
    m.GoodsQ->open();
    EXPECT_TRUE(m.GoodsQ->eof());
}

TEST_F(DatasetTest, APostOverARowAnotherCopyChangedIsRefused) {
    addGoods(QStringLiteral("A1"), QStringLiteral("螺丝"));
    addGoods(QStringLiteral("B2"), QStringLiteral("螺母"));
    m.GoodsQ->setSql(QStringLiteral("select * from goods order by gods_code"));
    m.GoodsQ->open();
    const auto other = t.anotherCopy();
    other->AdoConn().execute(
        QStringLiteral("update goods set gods_name='垫片' where gods_code='A1'"));
    other->AdoConn().execute(QStringLiteral("delete from goods where gods_code='B2'"));

    // A column the other copy left alone may still be written.
    m.GoodsQ->setValue(QStringLiteral("valu_in"), 3.0);
    m.GoodsQ->post();
    EXPECT_DOUBLE_EQ(t.scalar(QStringLiteral("select valu_in from goods")).toDouble(), 3.0);

    const auto refused = [&](const std::function<void()>& write) {
        try {
            write();
        } catch (const db::DbError& e) {
            return e.message() == u"记录已被其他用户修改或删除";
        }
        return false;
    };
    m.GoodsQ->setValue(QStringLiteral("gods_name"), QStringLiteral("螺钉"));
    EXPECT_TRUE(refused([&] { m.GoodsQ->post(); }));
    m.GoodsQ->cancel();
    EXPECT_TRUE(refused([&] { m.GoodsQ->deleteRow(); })) << "the row no longer holds what was read";
    m.GoodsQ->next();
    EXPECT_TRUE(refused([&] { m.GoodsQ->deleteRow(); })) << "the row is gone";
    EXPECT_EQ(t.scalar(QStringLiteral("select gods_name from goods")).toString(), u"垫片");
    EXPECT_EQ(m.GoodsQ->recordCount(), 2);
}

// Lookups and locate go through hash indexes that follow each change of a row instead of being
// built again; each step checks the first row holding each code against a plain scan.
TEST_F(DatasetTest, IndexesFollowEveryChangeOfTheirRows) {
    for (const char* code : {"A", "B", "A", "C"})
        addLine(QStringLiteral("X"), QLatin1String(code), 1, 1);
    Dataset* lines = m.InGoodsQ;
    lines->setLockMode(LockMode::Batch);
    lines->openWith(QStringLiteral("select * from ingoods order by in_id"));
    const auto expectIndexAgreesWithScan = [&](const char* step) {
        for (const char* code : {"A", "B", "C", "D"}) {
            int scanned = -1;
            for (int row = 0; row < lines->recordCount() && scanned < 0; ++row)
                if (lines->value(row, QStringLiteral("gods_code")) == QLatin1String(code))
                    scanned = row;
            EXPECT_EQ(lines->findFirst(QStringLiteral("gods_code"), QLatin1String(code)), scanned)
                << step << ": " << code;
        }
    };
    expectIndexAgreesWithScan("opened");
    lines->first();
    lines->deleteRow();
    expectIndexAgreesWithScan("first A deleted");
    lines->locate(QStringLiteral("gods_code"), QStringLiteral("B"));
    lines->setValue(QStringLiteral("gods_code"), QStringLiteral("D"));
    lines->post();
    expectIndexAgreesWithScan("B changed to D");
    lines->append();
    lines->setValue(QStringLiteral("gods_code"), QStringLiteral("B"));
    lines->post();
    expectIndexAgreesWithScan("B appended");
    EXPECT_TRUE(lines->locate(QStringLiteral("gods_code"), QStringLiteral("B")));
    EXPECT_EQ(lines->currentRow(), 3);
    lines->setCurrentRow(1);
    lines->setValue(QStringLiteral("gods_code"), QStringLiteral("C"));
    lines->cancel();
    expectIndexAgreesWithScan("edit cancelled");

    lines->cancelBatch();
    expectIndexAgreesWithScan("batch cancelled");
    QStringList codes;
    for (int row = 0; row < lines->recordCount(); ++row)
        codes << lines->value(row, QStringLiteral("gods_code")).toString();
    EXPECT_EQ(codes, (QStringList{u"A"_s, u"B"_s, u"A"_s, u"C"_s})) << "rows back in their places";

    lines->setCurrentRow(2);
    lines->deleteRow();
    lines->updateBatch();
    expectIndexAgreesWithScan("deletion written");
    EXPECT_EQ(count("ingoods"), 3);
    EXPECT_FALSE(lines->hasPendingChanges());
}

TEST(DisplayFormatTest, FloatsShowAtMostTwoDecimals) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {3, "3"},
        {2.5, "2.5"},
        {1234.567, "1234.57"},
        {-12.345, "-12.35"},
        {-0.001, "0"},
        {1e7, "10000000"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatFloat(value), QLatin1String(text)) << value;
    EXPECT_EQ(formatPlainNumber(6.6666666666666670), u"6.666666666666667");
    EXPECT_EQ(formatPlainNumber(7.0), u"7");
}

TEST(DisplayFormatTest, DatesShowTheTimeOnlyWhenItIsNotMidnight) {
    EXPECT_EQ(formatDate(QDate(2026, 3, 5)), u"2026/3/5");
    EXPECT_EQ(formatDate(QDateTime(QDate(2026, 3, 5), QTime(0, 0))), u"2026/3/5");
    EXPECT_EQ(formatDate(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3))), u"2026/3/5 9:07:03");
}

TEST(DisplayFormatTest, GbkWidthCutsAtWholeCharacters) {
    EXPECT_EQ(gbkWidth(QStringLiteral("ab中文")), 6);
    EXPECT_EQ(cutToGbkWidth(QStringLiteral("ab中文"), 5), u"ab中");
    EXPECT_EQ(cutToGbkWidth(QStringLiteral("中文"), 3), u"中");
    EXPECT_EQ(cutToGbkWidth(QStringLiteral("abc"), 20), u"abc");
}

}  // namespace
}  // namespace talvor
