#include <QCheckBox>
#include <QComboBox>

#include "ui/DataGrid.h"
#include "warehouse/StockLists.h"
#include "warehouse/WarehouseFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class StockListsTest : public test::WarehouseFixture {
  protected:
    StockListsTest() {
        goods(u"A1"_s, u"螺丝"_s, u"五金"_s, 100, 10);
        goods(u"A2"_s, u"螺母"_s, u"五金"_s, 100, 10);
        goods(u"B1"_s, u"胶水"_s, u"化工"_s, 0, 0);
        goods(u"B2"_s, u"螺丝"_s, u"化工"_s);  // a name two goods share
    }
    static QCheckBox* all(QWidget& s) { return child<QCheckBox>(s, "CheckBox_all"); }
    static QComboBox* combo(QWidget& s, const char* name) { return child<QComboBox>(s, name); }
};

TEST_F(StockListsTest, StockQueryListsTheLedgerWithTotalsAndOneRestriction) {
    stock(u"A1"_s, 10, 2.5);
    stock(u"A2"_s, -3, 2);
    stock(u"B1"_s, 4);     // no cost price: 小计 0
    stock(u"  "_s, 7, 1);  // a blank code is never listed
    stock(u"Z9"_s, 1, 1);  // a ledger row whose goods is gone
    TFrmStore screen;
    EXPECT_TRUE(all(screen)->isChecked());
    EXPECT_EQ(child<DataGrid>(screen, "DBGrid1")->model()->headerData(1, Qt::Horizontal),
              u"货名"_s);

    click(screen, "cmd_find");
    Dataset& list = *t.module->StoreQ;
    EXPECT_EQ(codes(list), QStringList({u"A1"_s, u"A2"_s, u"B1"_s, u"Z9"_s}));
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"12"_s);
    EXPECT_EQ(boxText(screen, "Edit_zcb"), u"20"_s);  // 25 - 6 + 0 + 1
    EXPECT_EQ(list.currentRow(), 0);

    struct Case {
        const char* box;
        QString text;
        QStringList listed;
        QString quantity;
    };
    const Case cases[] = {
        {"ComboBox_kind", u"五金"_s, {u"A1"_s, u"A2"_s}, u"7"_s},
        {"ComboBox_kind", u"化工"_s, {u"B1"_s}, u"4"_s},  // Z9 has no category
        {"Edit_code", u" b1 "_s, {u"B1"_s}, u"4"_s},      // codes compare without case
        {"Edit_code", u"X"_s, {}, u"0"_s},
    };
    for (const Case& c : cases) {
        if (QLatin1StringView(c.box) == "Edit_code"_L1)
            child<QLineEdit>(screen, c.box)->setText(c.text);
        else
            combo(screen, c.box)->setEditText(c.text);
        click(screen, "cmd_find");
        EXPECT_EQ(codes(list), c.listed) << c.box << c.text.toStdString();
        EXPECT_EQ(boxText(screen, "Edit_zsl"), c.quantity) << c.text.toStdString();
    }
}

TEST_F(StockListsTest, FilterBoxesEmptyEachOtherSilently) {
    stock(u"A1"_s, 1);
    stock(u"A2"_s, 2);
    stock(u"B1"_s, 3);
    TFrmStore screen;
    click(screen, "cmd_find");
    Dataset& list = *t.module->StoreQ;

    combo(screen, "ComboBox_kind")->setEditText(u"五金"_s);
    EXPECT_FALSE(all(screen)->isChecked());

    // A name puts its code in the code box (the first goods of that name), keeps the code
    // box's own rule from running, empties the category and moves the list.
    combo(screen, "ComboBox_name")->setEditText(u"螺母"_s);
    EXPECT_EQ(boxText(screen, "Edit_code"), u"A2"_s);
    EXPECT_EQ(combo(screen, "ComboBox_name")->currentText(), u"螺母"_s);
    EXPECT_TRUE(combo(screen, "ComboBox_kind")->currentText().isEmpty());
    EXPECT_EQ(list.text(u"gods_code"_s), u"A2"_s);
    combo(screen, "ComboBox_name")->setEditText(u"螺丝"_s);
    EXPECT_EQ(boxText(screen, "Edit_code"), u"A1"_s);

    // A category empties code and name; typing a code moves the list and empties the category.
    combo(screen, "ComboBox_kind")->setEditText(u"化工"_s);
    EXPECT_TRUE(boxText(screen, "Edit_code").isEmpty());
    EXPECT_TRUE(combo(screen, "ComboBox_name")->currentText().isEmpty());
    child<QLineEdit>(screen, "Edit_code")->setText(u"B1"_s);
    EXPECT_EQ(list.text(u"gods_code"_s), u"B1"_s);
    EXPECT_TRUE(combo(screen, "ComboBox_kind")->currentText().isEmpty());

    // 全部 empties all three; a programmatic unmark ran no rule.
    combo(screen, "ComboBox_name")->setEditText(u"胶水"_s);
    all(screen)->click();
    EXPECT_TRUE(all(screen)->isChecked());
    for (const char* box : {"ComboBox_name", "ComboBox_kind"})
        EXPECT_TRUE(combo(screen, box)->currentText().isEmpty()) << box;
    EXPECT_TRUE(boxText(screen, "Edit_code").isEmpty());
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(StockListsTest, ACodeTypedWhileTheListIsEmptyWinsOverTheCategory) {
    stock(u"A1"_s, 1);
    stock(u"B1"_s, 3);
    TFrmStore screen;
    combo(screen, "ComboBox_kind")->setEditText(u"五金"_s);
    child<QLineEdit>(screen, "Edit_code")->setText(u"B1"_s);  // the list is not open yet
    click(screen, "cmd_find");
    EXPECT_EQ(codes(*t.module->StoreQ), QStringList{u"B1"_s});
}

TEST_F(StockListsTest, AlarmListsStrictlyOutsideTheLimitsAndZeroLimitsCount) {
    struct Case {
        QString code;
        double quantity;
        bool listed;
    };
    const Case cases[] = {
        {u"A1"_s, 101, true},
        {u"A2"_s, 100, false},
        {u"B1"_s, 0, false},
        {u"B2"_s, 500, false},  // no limits: never alarmed
    };
    for (const Case& c : cases) stock(c.code, c.quantity);
    goods(u"C1"_s, u"油漆"_s, u"化工"_s, 100, 10);
    goods(u"C2"_s, u"砂纸"_s, u"五金"_s, 100, 10);
    goods(u"D1"_s, u"胶带"_s, u"化工"_s, 0, 0);
    stock(u"C1"_s, 9);
    stock(u"C2"_s, 10);
    stock(u"D1"_s, -2);
    stock(u"Z9"_s, 1000);  // no goods row: no limits
    TFrmAlarm screen;
    click(screen, "cmd_find");
    EXPECT_EQ(codes(*t.module->AlarmQ), QStringList({u"A1"_s, u"C1"_s, u"D1"_s}));
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"108"_s);

    combo(screen, "ComboBox_kind")->setEditText(u"化工"_s);
    click(screen, "cmd_find");
    EXPECT_EQ(codes(*t.module->AlarmQ), QStringList({u"C1"_s, u"D1"_s}));
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"7"_s);

    child<QLineEdit>(screen, "Edit_code")->setText(u"A2"_s);
    click(screen, "cmd_find");
    EXPECT_TRUE(t.module->AlarmQ->isEmpty());
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"0"_s);
    click(screen, "cmd_prin");  // title and headings only
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_TRUE(previews[0].pages[0].textList().contains(u"库存报警"_s));
}

TEST_F(StockListsTest, PrintingWritesTheCaptionsAndTotalsAndFollowsTheRights) {
    stock(u"A1"_s, 10, 2.5);
    TFrmStore screen;
    click(screen, "cmd_find");
    click(screen, "cmd_prin");
    ASSERT_EQ(previews.size(), 1u);
    const QStringList texts = previews[0].pages[0].textList();
    for (const QString& expected : {u"库存报表"_s, u"10"_s, u"25"_s, u"货名"_s, u"A1"_s})
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    EXPECT_FALSE(texts.contains(u"商品名称"_s));

    CurrentUser().rights[size_t(Right::Print)] = QString(kModuleCount, u'0');
    CurrentUser().rights[size_t(Right::Find)] = QString(kModuleCount, u'0');
    TFrmStore denied;
    EXPECT_FALSE(enabled(denied, "cmd_prin"));
    EXPECT_FALSE(enabled(denied, "cmd_find"));
    EXPECT_TRUE(enabled(denied, "cmd_exit"));
}

TEST_F(StockListsTest, AFailingQueryReachesTheErrorReportAndKeepsTheTotals) {
    stock(u"A1"_s, 5);
    TFrmStore screen;
    click(screen, "cmd_find");
    t.exec(u"drop table storemain"_s);
    click(screen, "cmd_find");
    EXPECT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(boxText(screen, "Edit_zsl"), u"5"_s);
    EXPECT_TRUE(enabled(screen, "cmd_find"));
}

}  // namespace
}  // namespace talvor
