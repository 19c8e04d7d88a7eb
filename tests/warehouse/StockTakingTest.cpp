#include <QDateEdit>

#include "bills/BillScreen.h"
#include "bills/core/StockLedger.h"
#include "warehouse/TFrmStorChk.h"
#include "warehouse/WarehouseFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

const QString kSafeMethod =
    u"本系统采用安全盘点法：'即初始默认盘点数量与实际库存'大部分相同的情况下进行盘点"_s;

class StockTakingTest : public test::WarehouseFixture {
  protected:
    StockTakingTest() {
        goods(u"A1"_s, u"螺丝"_s);
        goods(u"A2"_s, u"螺母"_s);
        stock(u"A1"_s, 10, 2.5);
        stock(u"A2"_s, 4, 1);
    }
    static void pickMonth(TFrmStorChk& screen, const QDate& date) {
        child<QDateEdit>(screen, "DateTimePicker1")->setDate(date);
    }
    int counted(const QDate& month) {
        return count(
            u"select count(*) from storchek where year(chek_date)=%1 and "
            "month(chek_date)=%2"_s.arg(month.year())
                .arg(month.month()));
    }
    Dataset& list() { return *t.module->ChektempQ; }
};

TEST_F(StockTakingTest, ACountStartsAtTheBookQuantityAndSavingLocksTheMonth) {
    const QDate day(2024, 3, 15);
    TFrmStorChk screen;
    pickMonth(screen, day);
    click(screen, "cmd_edit");
    ASSERT_EQ(screen.mode(), ScreenMode::Edit);
    EXPECT_EQ(answers.texts(), QStringList{kSafeMethod});
    EXPECT_FALSE(enabled(screen, "DateTimePicker1"));
    ASSERT_EQ(list().recordCount(), 2);
    EXPECT_EQ(list().value(1, u"chek_amou"_s).toDouble(), 4);
    EXPECT_EQ(list().value(1, u"lost_amou"_s).toDouble(), 0);

    typeCell(screen, 1, u"chek_amou"_s, u"3.5"_s);  // the last row, not left
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(amount(u"A2"_s), 3.5);
    EXPECT_EQ(amount(u"A1"_s), 10);
    EXPECT_EQ(t.scalar(u"select cost_pric from storemain where gods_code='A1'"_s).toDouble(), 2.5);
    EXPECT_EQ(count(u"select count(*) from storchek where chek_date='2024-03-15'"_s), 2);
    EXPECT_EQ(count(u"select count(*) from storchek where gods_code='A2' and chek_amou=3.5 "
                    "and gods_amou=4"_s),
              1);
    EXPECT_TRUE(IsMonthStockTaken(t.engine(), QDate(2024, 3, 1)));

    // The month is counted once; its count can be queried and printed.
    answers.clear();
    pickMonth(screen, QDate(2024, 3, 2));
    click(screen, "cmd_edit");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(answers.texts(), QStringList{u"该月已盘点，不能再进行盘点操作!请查询."_s});
    click(screen, "cmd_find");
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"14"_s);
    EXPECT_EQ(boxText(screen, "Edit_pdsl"), u"13.5"_s);
    EXPECT_EQ(list().value(1, u"lost_amou"_s).toDouble(), -0.5);
    click(screen, "cmd_prin");
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_TRUE(previews[0].pages[0].textList().contains(u"盘 点 表"_s));
}

TEST_F(StockTakingTest, AnEmptyLedgerGivesAnEmptyCountThatLeavesTheMonthOpen) {
    t.exec(u"delete from storemain"_s);
    TFrmStorChk screen;
    click(screen, "cmd_edit");
    EXPECT_TRUE(list().isEmpty());
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_FALSE(IsMonthStockTaken(t.engine(), QDate::currentDate()));
}

TEST_F(StockTakingTest, QueryingAMonthWithoutCountSaysSoAndCancelWritesNothing) {
    TFrmStorChk screen;
    pickMonth(screen, QDate(2023, 1, 10));
    click(screen, "cmd_find");
    EXPECT_EQ(answers.texts(), QStringList{u"本月没有盘点数据！"_s});
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"0"_s);

    click(screen, "cmd_edit");
    typeCell(screen, 0, u"chek_amou"_s, u"1"_s);
    leaveTo(screen, 1);
    click(screen, "cmd_canc");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(counted(QDate(2023, 1, 1)), 0);
    EXPECT_EQ(amount(u"A1"_s), 10);
    EXPECT_EQ(list().value(0, u"chek_amou"_s).toDouble(), 1);  // the abandoned count stays shown
}

// Another copy of the program saved the same month while this one was counting: the save is
// refused whole, and the ledger keeps its quantities.
TEST_F(StockTakingTest, AMonthSavedMeanwhileIsNotSavedTwice) {
    const QDate day(2024, 5, 20);
    TFrmStorChk screen;
    pickMonth(screen, day);
    click(screen, "cmd_edit");
    typeCell(screen, 0, u"chek_amou"_s, u"1"_s);
    t.exec(
        u"insert into storchek (gods_code,gods_amou,chek_amou,chek_date) "
        "values ('A1',10,9,'2024-05-02')"_s);
    answers.clear();
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit);
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].startsWith(u"保存失败："_s));
    EXPECT_EQ(counted(day), 1);
    EXPECT_EQ(amount(u"A1"_s), 10);
}

TEST_F(StockTakingTest, ABillOfACountedMonthCannotBeDeleted) {
    t.exec(u"insert into inmain (bill_no,bill_date,bill_type) values ('20260101000000',:d,'in')"_s,
           {{u"d"_s, QDate::currentDate()}});
    t.exec(
        u"insert into ingoods (bill_no,gods_code,sub_amou,unit_pric) values "
        "('20260101000000','A1',2,3)"_s);
    {
        TFrmStorChk screen;
        click(screen, "cmd_edit");
        click(screen, "cmd_save");
        ASSERT_EQ(screen.mode(), ScreenMode::Null);
    }
    TFrmIn bills;
    answers.clear();
    answers.answer(QMessageBox::Ok);
    click(bills, "cmd_dele");
    EXPECT_TRUE(answers.texts().contains(u"本单所在月份已经盘点，不可删除"_s));
    EXPECT_EQ(count(u"select count(*) from inmain"_s), 1);
}

}  // namespace
}  // namespace talvor
