#include "warehouse/TFrmStorChg.h"
#include "warehouse/WarehouseFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class StockAdjustmentTest : public test::WarehouseFixture {
  protected:
    StockAdjustmentTest() {
        goods(u"A1"_s, u"螺丝"_s);
        goods(u"A2"_s, u"螺母"_s);
        goods(u"A3"_s, u"垫片"_s);
        stock(u"A1"_s, 10, 2.5);
        stock(u"A2"_s, 4, 1);
        stock(u"A3"_s, 7, 3);
    }
    double cost(const QString& code) {
        return t.scalar(u"select cost_pric from storemain where gods_code=:c"_s, {{u"c"_s, code}})
            .toDouble();
    }
};

TEST_F(StockAdjustmentTest, AdjustingOneGoodsKeepsTheOthersAndTheCostEvenInACountedMonth) {
    t.exec(
        u"insert into storchek (gods_code,gods_amou,chek_amou,chek_date) "
        "values ('A1',10,10,:d)"_s,
        {{u"d"_s, QDate::currentDate()}});
    TFrmStorChg screen;
    click(screen, "cmd_find");
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"21"_s);
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_edit");
    ASSERT_EQ(screen.mode(), ScreenMode::Edit);
    EXPECT_EQ(answers.shown()[0].caption, u"警告"_s);
    EXPECT_EQ(answers.shown()[0].text, u"本操作将影响目前库存，确认是否继续操作?"_s);
    typeCell(screen, 2, u"chek_amou"_s, u"8"_s);  // the last row, not left
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(amount(u"A3"_s), 8);
    EXPECT_EQ(cost(u"A3"_s), 3);
    EXPECT_EQ(amount(u"A1"_s), 10);
    EXPECT_EQ(amount(u"A2"_s), 4);
}

TEST_F(StockAdjustmentTest, NothingIsAskedOrWrittenWithoutAListOrAConfirmation) {
    TFrmStorChg screen;
    click(screen, "cmd_edit");  // empty list
    EXPECT_TRUE(answers.shown().empty());
    EXPECT_EQ(screen.mode(), ScreenMode::Null);

    click(screen, "cmd_find");
    answers.answer(QMessageBox::Cancel);
    click(screen, "cmd_edit");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_TRUE(t.module->ChektempQ->value(0, u"chek_amou"_s).isNull());

    // Closing while adjusting writes nothing.
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_edit");
    typeCell(screen, 0, u"chek_amou"_s, u"1"_s);
    leaveTo(screen, 1);
    EXPECT_TRUE(screen.close());
    EXPECT_EQ(amount(u"A1"_s), 10);
}

// An emptied quantity once ended the save at its row with the rows before it written.
TEST_F(StockAdjustmentTest, AQuantityThatIsNoNumberRefusesTheWholeAdjustment) {
    TFrmStorChg screen;
    click(screen, "cmd_find");
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_edit");
    typeCell(screen, 0, u"chek_amou"_s, u"1"_s);
    typeCell(screen, 1, u"chek_amou"_s, u""_s);
    typeCell(screen, 2, u"chek_amou"_s, u"2"_s);
    answers.clear();
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit);
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].contains(u"A2"_s)) << answers.texts()[0].toStdString();
    EXPECT_EQ(amount(u"A1"_s), 10);
    EXPECT_EQ(amount(u"A3"_s), 7);

    // A text typed into the number cell is refused as it is left, and the row keeps its value.
    typeCell(screen, 1, u"chek_amou"_s, u"十"_s);
    leaveTo(screen, 0);
    EXPECT_EQ(answers.texts().size(), 2);
    typeCell(screen, 1, u"chek_amou"_s, u"3"_s);
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(amount(u"A1"_s) + amount(u"A2"_s) + amount(u"A3"_s), 6);
}

TEST_F(StockAdjustmentTest, PrintingPrintsTheListWithTheCaptions) {
    TFrmStorChg screen;
    click(screen, "cmd_find");
    click(screen, "cmd_prin");
    ASSERT_EQ(previews.size(), 1u);
    const QStringList texts = previews[0].pages[0].textList();
    for (const QString& expected : {u"库存调整表"_s, u"货名"_s, u"A3"_s, u"垫片"_s})
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
}

}  // namespace
}  // namespace talvor
