#include <QCloseEvent>

#include "master/TFrmStorIni.h"
#include "ui/DataGrid.h"
#include "warehouse/WarehouseFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class OpeningStockScreenTest : public test::WarehouseFixture {
  protected:
    OpeningStockScreenTest() {
        goods(u"A1"_s, u"螺丝"_s);
        goods(u"A2"_s, u"螺母"_s);
        goods(u"A3"_s, u"垫片"_s);
        goods(u"A4"_s, u"胶水"_s);
    }
    int ledgerRows() { return count(u"select count(*) from storemain"_s); }
    Dataset& list() { return *t.module->StoreiniQ; }
};

TEST_F(OpeningStockScreenTest, ImportAddsMissingGoodsOnceAndKeepsExistingRows) {
    stock(u"A2"_s, 5, 3);
    stock(u"Z9"_s, 1, 1);  // its goods is gone: listed without descriptions
    TFrmStorIni screen;
    answers.answer(QMessageBox::Cancel);
    click(screen, "cmd_add");
    EXPECT_EQ(ledgerRows(), 2);
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].caption, u"确认"_s);

    click(screen, "cmd_add");
    click(screen, "cmd_add");
    EXPECT_EQ(ledgerRows(), 5);
    EXPECT_EQ(amount(u"A2"_s), 5);
    EXPECT_EQ(list().recordCount(), 5);
    ASSERT_TRUE(list().locate(u"gods_code"_s, u"Z9"_s));
    EXPECT_TRUE(list().text(u"gods_name"_s).isEmpty());
}

TEST_F(OpeningStockScreenTest, EditingIsHeldUntilSaveAndTheTypedCellIsSavedWithoutLeavingIt) {
    stock(u"A1"_s, 1, 1);
    stock(u"A2"_s, 2, 2);
    TFrmStorIni screen;
    click(screen, "cmd_edit");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit);
    typeCell(screen, 0, u"gods_amou"_s, u"10"_s);
    typeCell(screen, 1, u"cost_pric"_s, u"7.5"_s);  // left open
    EXPECT_EQ(amount(u"A1"_s), 1);                  // held
    EXPECT_FALSE(enabled(screen, "cmd_exit"));
    screen.show();
    EXPECT_FALSE(screen.close());  // refused while editing
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(amount(u"A1"_s), 10);
    EXPECT_EQ(t.scalar(u"select cost_pric from storemain where gods_code='A2'"_s).toDouble(), 7.5);
    EXPECT_TRUE(screen.close());
}

TEST_F(OpeningStockScreenTest, DeleteWritesTheHeldChangesWhichCancelCannotTakeBack) {
    for (const char* code : {"A1", "A2", "A3", "A4"}) stock(QString::fromLatin1(code), 1, 1);
    TFrmStorIni screen;
    click(screen, "cmd_edit");
    typeCell(screen, 0, u"gods_amou"_s, u"5"_s);
    typeCell(screen, 1, u"gods_amou"_s, u"6"_s);
    typeCell(screen, 2, u"gods_amou"_s, u"7"_s);
    leaveTo(screen, 3);
    click(screen, "cmd_dele");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit);
    click(screen, "cmd_canc");
    EXPECT_EQ(ledgerRows(), 3);
    EXPECT_EQ(amount(u"A1"_s) + amount(u"A2"_s) + amount(u"A3"_s), 18);

    click(screen, "cmd_edit");
    typeCell(screen, 0, u"gods_amou"_s, u"99"_s);
    click(screen, "cmd_canc");
    EXPECT_EQ(amount(u"A1"_s), 5);
    EXPECT_EQ(list().value(0, u"gods_amou"_s).toDouble(), 5);
}

TEST_F(OpeningStockScreenTest, EditOnAnEmptyLedgerStoresARowWithoutCode) {
    TFrmStorIni screen;
    click(screen, "cmd_edit");
    typeCell(screen, 0, u"gods_amou"_s, u"3"_s);
    click(screen, "cmd_save");
    EXPECT_EQ(count(u"select count(*) from storemain where gods_code is null and gods_amou=3"_s),
              1);
}

TEST_F(OpeningStockScreenTest, ControlsFollowTheModeAndTheRights) {
    CurrentUser().rights[size_t(Right::Delete)] = QString(kModuleCount, u'0');
    stock(u"A1"_s, 1, 1);
    TFrmStorIni screen;
    struct Expect {
        const char* control;
        bool inNull, inEdit;
    };
    const Expect table[] = {{"cmd_add", true, false},   {"cmd_edit", true, false},
                            {"cmd_dele", false, false}, {"cmd_save", false, true},
                            {"cmd_canc", false, true},  {"cmd_exit", true, false}};
    for (const Expect& e : table) EXPECT_EQ(enabled(screen, e.control), e.inNull) << e.control;
    EXPECT_EQ(child<DataGrid>(screen, "DBGrid1")->editTriggers(),
              QAbstractItemView::NoEditTriggers);
    click(screen, "cmd_edit");
    for (const Expect& e : table) EXPECT_EQ(enabled(screen, e.control), e.inEdit) << e.control;
    EXPECT_NE(child<DataGrid>(screen, "DBGrid1")->editTriggers(),
              QAbstractItemView::NoEditTriggers);
}

}  // namespace
}  // namespace talvor
