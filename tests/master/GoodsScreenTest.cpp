#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>

#include "master/MasterScreenFixture.h"
#include "master/TFrmCompFind.h"
#include "master/TFrmGoods.h"
#include "master/TFrmGoodsFind.h"
#include "ui/DataGrid.h"

namespace talvor {
namespace {

class GoodsScreenTest : public test::MasterScreenFixture {
  protected:
    void addGoods(const char* code, const char* name) {
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values (:c,:n)"),
               {{QStringLiteral("c"), QString::fromUtf8(code)},
                {QStringLiteral("n"), QString::fromUtf8(name)}});
    }
    Dataset& goods() { return *t.module->GoodsQ; }
};

TEST_F(GoodsScreenTest, ControlsFollowTheModeAndTheRights) {
    CurrentUser().rights[size_t(Right::Edit)] =
        QStringLiteral("1011");  // no edit right at module 1
    TFrmGoods screen;
    struct Expect {
        const char* control;
        bool inNull, inAdd;
    };
    const Expect table[] = {
        {"DBGrid1", true, false},  {"cmd_add", true, false},   {"cmd_edit", false, false},
        {"cmd_dele", true, false}, {"cmd_save", false, true},  {"cmd_canc", false, true},
        {"cmd_exit", true, false}, {"GroupBox2", false, true}, {"GroupBox1", true, false},
    };
    for (const Expect& e : table) EXPECT_EQ(enabled(screen, e.control), e.inNull) << e.control;
    click(screen, "cmd_add");
    EXPECT_EQ(screen.mode(), ScreenMode::Add);
    for (const Expect& e : table) EXPECT_EQ(enabled(screen, e.control), e.inAdd) << e.control;
    click(screen, "cmd_canc");
    for (const Expect& e : table) EXPECT_EQ(enabled(screen, e.control), e.inNull) << e.control;
}

TEST_F(GoodsScreenTest, ANewGoodsIsSavedStaysCurrentAndItsUnitJoinsThePickList) {
    addGoods("B1", "螺母");
    addGoods("D1", "垫片");
    TFrmGoods screen;
    EXPECT_EQ(child<DataGrid>(screen, "DBGrid1")->model()->headerData(1, Qt::Horizontal).toString(),
              u"货名");
    click(screen, "cmd_add");
    type(screen, "DBEdit_gods_code", QStringLiteral(" C1 "));
    type(screen, "DBEdit_gods_name", QStringLiteral("螺丝"));
    typeCombo(screen, "DBComboBox_gods_unit", QStringLiteral("盒"));
    type(screen, "DBEdit_valu_in", QStringLiteral("2.5"));
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(
        count(QStringLiteral(
            "select count(*) from goods where gods_code='C1' and gods_unit='盒' and valu_in=2.5")),
        1);
    EXPECT_EQ(goods().text(QStringLiteral("gods_code")), u"C1");
    EXPECT_GE(child<QComboBox>(screen, "DBComboBox_gods_unit")->findText(QStringLiteral("盒")), 0);
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(GoodsScreenTest, BlankCodesDoNothingAndCloseIsRefusedWhileEntering) {
    TFrmGoods screen;
    click(screen, "cmd_edit");  // empty table: nothing to edit
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    click(screen, "cmd_dele");
    EXPECT_TRUE(answers.texts().isEmpty());

    click(screen, "cmd_add");
    type(screen, "DBEdit_gods_code", QStringLiteral("   "));
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Add);
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods")), 0);

    screen.show();
    EXPECT_FALSE(screen.close());
    EXPECT_TRUE(screen.isVisible());
    click(screen, "cmd_canc");
    EXPECT_TRUE(screen.close());
}

TEST_F(GoodsScreenTest, EditingTheCodeKeepsTheSavedRowCurrent) {
    addGoods("A1", "甲");
    addGoods("B1", "乙");
    addGoods("C1", "丙");
    TFrmGoods screen;
    goods().locate(QStringLiteral("gods_code"), QStringLiteral("A1"));
    click(screen, "cmd_edit");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit);
    type(screen, "DBEdit_gods_code", QStringLiteral("Z9"));
    click(screen, "cmd_save");
    EXPECT_EQ(goods().text(QStringLiteral("gods_name")), u"甲");
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods where gods_code='Z9'")), 1);
}

TEST_F(GoodsScreenTest, DeleteAsksAndCancelKeepsTheRow) {
    addGoods("A1", "甲");
    TFrmGoods screen;
    answers.answer(QMessageBox::Cancel);
    click(screen, "cmd_dele");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("确认删除?")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods")), 1);
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_dele");
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods")), 0);
}

TEST_F(GoodsScreenTest, ARefusedSaveIsShownAndKeepsTheEntryOpen) {
    addGoods("A1", "甲");
    TFrmGoods screen;
    click(screen, "cmd_add");
    type(screen, "DBEdit_gods_code", QStringLiteral("a1"));  // codes are unique in any letter case
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Add);
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].startsWith(u"保存失败：")) << answers.texts()[0].toStdString();
    click(screen, "cmd_canc");
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods")), 1);
}

TEST_F(GoodsScreenTest, QuickFindNeedsTheWholeCode) {
    addGoods("A100", "甲");
    addGoods("B200", "乙");
    TFrmGoods screen;
    type(screen, "Edit1", QStringLiteral("B2"));
    click(screen, "cmd_find");
    EXPECT_EQ(goods().text(QStringLiteral("gods_code")), u"A100");
    type(screen, "Edit1", QStringLiteral("B200"));
    click(screen, "cmd_find");
    EXPECT_EQ(goods().text(QStringLiteral("gods_code")), u"B200");
}

TEST_F(GoodsScreenTest, TheProducerPickerFillsCodeAndName) {
    t.exec(QStringLiteral("insert into company (comp_code,comp_name) values ('P1','宏达五金厂')"));
    TFrmGoods screen;
    click(screen, "cmd_add");
    type(screen, "DBEdit_gods_code", QStringLiteral("N1"));
    onNextModal([](QDialog& d) { d.reject(); });
    click(screen, "BitBtn1");
    EXPECT_TRUE(child<QLineEdit>(screen, "DBEdit_prod_code")->text().isEmpty());
    onNextModal([](QDialog& d) { d.accept(); });
    click(screen, "BitBtn1");
    EXPECT_EQ(child<QLineEdit>(screen, "DBEdit_prod_code")->text(), u"P1");
    EXPECT_EQ(child<QLineEdit>(screen, "DBEdit_prod_name")->text(), u"宏达五金厂");
    click(screen, "cmd_save");
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods where prod_code='P1'")), 1);
}

TEST_F(GoodsScreenTest, GoodsFindChoosesOnlyFromAFilledList) {
    {
        TFrmGoodsFind empty;
        click(empty, "cmd_prin");
        EXPECT_NE(empty.result(), QDialog::Accepted);
    }
    addGoods("A1", "甲");
    addGoods("B1", "乙");
    TFrmGoodsFind find;
    child<QLineEdit>(find, "Edit1")->setText(QStringLiteral("B"));  // no whole code: stays
    EXPECT_EQ(find.chosenCode(), u"A1");
    child<QLineEdit>(find, "Edit1")->setText(QStringLiteral("B1 "));
    EXPECT_EQ(find.chosenCode(), u"B1");
    child<QComboBox>(find, "ComboBox1")->setCurrentText(QStringLiteral("甲"));
    EXPECT_EQ(child<QLineEdit>(find, "Edit1")->text(), u"A1");
    click(find, "cmd_prin");
    EXPECT_EQ(find.result(), QDialog::Accepted);
    EXPECT_EQ(find.chosenCode(), u"A1");
}

// A list of every name took seconds to fill at a million goods: the box lists none, and names
// are offered only as they are typed.
TEST_F(GoodsScreenTest, GoodsFindOffersNamesAsTypedInsteadOfListingThemAll) {
    addGoods("S3", "螺丝M3");
    addGoods("S4", "螺丝M4");
    addGoods("N1", "螺母");
    addGoods("P1", "垫片");
    TFrmGoodsFind find;
    auto* box = child<QComboBox>(find, "ComboBox1");
    EXPECT_EQ(box->count(), 0);
    const auto offered = [&](const char* typed) {
        box->lineEdit()->setText(QString::fromUtf8(typed));  // as if typed
        emit box->lineEdit()->textEdited(box->lineEdit()->text());
        QStringList names;
        const QAbstractItemModel* model = box->completer()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    };
    EXPECT_EQ(offered("螺丝"), (QStringList{QStringLiteral("螺丝M3"), QStringLiteral("螺丝M4")}));
    EXPECT_EQ(offered("m"), (QStringList{QStringLiteral("螺丝M3"), QStringLiteral("螺丝M4"),
                                         QStringLiteral("螺母")}));
    EXPECT_TRUE(offered("钉").isEmpty());
    box->setCurrentText(QStringLiteral("螺母"));
    EXPECT_EQ(find.chosenCode(), u"N1");
}

TEST_F(GoodsScreenTest, CompanyFindOnAnEmptyListGivesEmptyTexts) {
    TFrmCompFind find;
    click(find, "BitBtn1");
    EXPECT_EQ(find.result(), QDialog::Accepted);
    EXPECT_TRUE(find.chosenCode().isEmpty());
    EXPECT_TRUE(find.chosenName().isEmpty());
}

}  // namespace
}  // namespace talvor
