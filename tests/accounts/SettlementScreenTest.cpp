#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

#include "AccountFixture.h"
#include "accounts/SettlementFind.h"
#include "accounts/SettlementScreen.h"
#include "master/MasterScreenFixture.h"
#include "ui/DataGrid.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class SettlementScreenTest : public test::MasterScreenFixture {
  protected:
    SettlementScreenTest() {
        t.exec(u"insert into company (comp_code,comp_name,rest_tota) values ('C1','宏达',30)"_s);
        t.exec(u"insert into company (comp_code,comp_name) values ('C2','远方')"_s);
        t.exec(u"insert into employee (empl_code,empl_name) values ('E1','李四')"_s);
        bill("outmain", u"20240301000001"_s, u"C1"_s, 100, 0);
        bill("outmain", u"20240301000002"_s, u"C1"_s, 50, 20);
        bill("outmain", u"20240301000003"_s, u"C1"_s, 80, 80);
        bill("outmain", u"20240301000004"_s, u"C2"_s, 10, 0);
    }

    void bill(const char* table, const QString& billNo, const QString& company, double due,
              double received) {
        test::insertBill(t, table, billNo, company, due, received);
    }
    static QString text(QWidget& screen, const char* box) {
        if (auto* combo = screen.findChild<QComboBox*>(QLatin1String(box)))
            return combo->currentText();
        return child<QLineEdit>(screen, box)->text();
    }
    static void chooseCode(QWidget& screen, const QString& code) {
        auto* box = child<QComboBox>(screen, "comp_code");
        box->lineEdit()->setText(code);
        emit box->lineEdit()->textEdited(code);
    }
    static QStringList figures(QWidget& screen) {
        QStringList shown;
        for (const char* box : {"shou_tota", "fact_tota", "lack_tota", "last_tota", "rest_tota"})
            shown << text(screen, box);
        return shown;
    }
    double received(const QString& billNo) {
        return t.scalar(u"select fact_tota from outmain where bill_no=:b"_s, {{u"b"_s, billNo}})
            .toDouble();
    }
    void receiveFromC1(QWidget& screen, const QString& amount) {
        chooseCode(screen, u"C1"_s);
        click(screen, "cmd_add");
        click(screen, "cmd_calc");
        child<QLineEdit>(screen, "fei_tota")->setText(amount);
        typeCombo(screen, "fei_name", u"李四"_s);
        click(screen, "cmd_save");
    }
};

TEST_F(SettlementScreenTest, ACustomerIsSettledAndAReceiptSaved) {
    TFrmGath screen;
    EXPECT_FALSE(enabled(screen, "cmd_calc")) << "nothing settled yet";
    chooseCode(screen, u"C1"_s);
    EXPECT_EQ(text(screen, "comp_name"), u"宏达"_s);
    click(screen, "cmd_add");
    EXPECT_EQ(figures(screen), QStringList({u"230"_s, u"100"_s, u"130"_s, u"30"_s, u"130"_s}));
    EXPECT_EQ(child<DataGrid>(screen, "DBGrid1")->model()->rowCount(), 3);
    ASSERT_TRUE(enabled(screen, "cmd_calc"));

    click(screen, "cmd_calc");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit);
    EXPECT_EQ(text(screen, "fei_no").size(), 14);
    EXPECT_FALSE(enabled(screen, "GroupBox1"));
    child<QLineEdit>(screen, "fei_tota")->setText(u"90"_s);
    EXPECT_EQ(text(screen, "rest_tota"), u"-10"_s) << "90 + 30 - 130";
    EXPECT_FALSE(screen.close()) << "the window stays while a receipt is entered";

    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(received(u"20240301000001"_s), 100);
    EXPECT_EQ(received(u"20240301000002"_s), 40);
    EXPECT_EQ(count(u"select count(*) from gathmain where fei_tota=90 and comp_name='宏达'"_s), 1);
    EXPECT_EQ(t.scalar(u"select rest_tota from company where comp_code='C1'"_s).toDouble(), 0);
    EXPECT_EQ(figures(screen), QStringList({u"230"_s, u"100"_s, u"130"_s, u"30"_s, u"-10"_s}))
        << "the figures stay as they were";
    EXPECT_FALSE(enabled(screen, "cmd_calc")) << "another receipt needs a new settlement";
    click(screen, "cmd_add");
    EXPECT_EQ(figures(screen), QStringList({u"230"_s, u"220"_s, u"10"_s, u"0"_s, u"10"_s}));
    EXPECT_TRUE(enabled(screen, "cmd_calc"));
    EXPECT_TRUE(screen.close());
}

TEST_F(SettlementScreenTest, SettlingNeedsACustomerOrABillNumber) {
    TFrmGath screen;
    click(screen, "cmd_add");
    EXPECT_EQ(answers.texts(), QStringList{u"请选择客户或流水号结帐！"_s});
    EXPECT_FALSE(t.module->GathQ->isActive());

    // A bill number empties the customer; the bill is settled without the customer's balance.
    chooseCode(screen, u"C1"_s);
    child<QLineEdit>(screen, "bill_no")->setText(u"20240301000004"_s);
    EXPECT_EQ(text(screen, "comp_code"), QString());
    EXPECT_EQ(text(screen, "comp_name"), QString());
    click(screen, "cmd_add");
    EXPECT_EQ(figures(screen), QStringList({u"10"_s, u"0"_s, u"10"_s, u"0"_s, u"10"_s}));

    // A customer without bills: nothing owed, the balance is still read.
    child<QLineEdit>(screen, "bill_no")->clear();
    chooseCode(screen, u"C1"_s);
    child<QDateEdit>(screen, "start_date")->setDate(QDate::currentDate().addDays(1));
    child<QDateEdit>(screen, "end_date")->setDate(QDate::currentDate().addDays(1));
    click(screen, "cmd_add");
    EXPECT_EQ(figures(screen), QStringList({u"0"_s, u"0"_s, u"0"_s, u"30"_s, u"0"_s}));
    EXPECT_FALSE(enabled(screen, "cmd_calc"));
}

TEST_F(SettlementScreenTest, ChangingWhatIsSettledWithdrawsTheReceipt) {
    TFrmGath screen;
    chooseCode(screen, u"C1"_s);
    click(screen, "cmd_add");
    ASSERT_TRUE(enabled(screen, "cmd_calc"));
    chooseCode(screen, u"C2"_s);
    EXPECT_FALSE(enabled(screen, "cmd_calc")) << "the figures shown are C1's";
}

TEST_F(SettlementScreenTest, EnteringAReceiptNeedsTheEditRightOfItsModule) {
    CurrentUser().rights[size_t(Right::Edit)][19] = u'0';
    TFrmGath receipts;
    chooseCode(receipts, u"C1"_s);
    click(receipts, "cmd_add");
    EXPECT_EQ(text(receipts, "lack_tota"), u"130"_s);
    EXPECT_FALSE(enabled(receipts, "cmd_calc"));
}

TEST_F(SettlementScreenTest, CancelWritesNothingAndTheSettlementStillStands) {
    TFrmGath screen;
    chooseCode(screen, u"C1"_s);
    click(screen, "cmd_add");
    click(screen, "cmd_calc");
    child<QLineEdit>(screen, "fei_tota")->setText(u"50"_s);
    click(screen, "cmd_canc");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(text(screen, "fei_tota"), u"50"_s);
    EXPECT_EQ(count(u"select count(*) from gathmain"_s), 0);
    EXPECT_TRUE(enabled(screen, "cmd_calc"));
}

TEST_F(SettlementScreenTest, AFailedOrOvertakenSaveIsShown) {
    TFrmGath screen;
    chooseCode(screen, u"C1"_s);
    click(screen, "cmd_add");
    click(screen, "cmd_calc");
    child<QLineEdit>(screen, "fei_tota")->setText(u"50"_s);
    t.exec(u"drop table gathmain"_s);
    click(screen, "cmd_save");
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].startsWith(u"保存失败："_s));
    EXPECT_EQ(screen.mode(), ScreenMode::Edit) << "the receipt being entered stays";
    EXPECT_EQ(text(screen, "fei_tota"), u"50"_s);
    EXPECT_EQ(received(u"20240301000001"_s), 0);

    answers.clear();
    t.exec(u"update outmain set fact_tota=5 where bill_no='20240301000001'"_s);
    click(screen, "cmd_save");
    EXPECT_EQ(answers.texts(), QStringList{u"账单已被其他用户修改，请重新结算。"_s});
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_FALSE(enabled(screen, "cmd_calc"));
}

TEST_F(SettlementScreenTest, AStoredReceiptIsFoundByNumberOrByDate) {
    {
        TFrmGath screen;
        receiveFromC1(screen, u"200"_s);
    }
    t.exec(
        u"insert into gathmain (fei_no,fei_date,bill_no,fei_tota) values "
        "('OLD1','2020-01-02','20240301000004',10)"_s);
    TFrmGath screen;
    onNextModal([](QDialog& find) {
        EXPECT_EQ(find.objectName(), u"TFrmGathFind"_s);
        Dataset& found = *FrmDataMod()->GathMainQ;
        EXPECT_EQ(found.recordCount(), 1) << "today's receipts";
        find.findChild<QLineEdit*>(u"Edit1"_s)->setText(u"OLD1"_s);
        emit find.findChild<QLineEdit*>(u"Edit1"_s)->textEdited(u"OLD1"_s);
        EXPECT_FALSE(find.findChild<QCheckBox*>(u"CheckBox1"_s)->isChecked());
        find.findChild<QPushButton*>(u"cmd_edit"_s)->click();
        EXPECT_EQ(found.text(u"fei_no"_s), u"OLD1"_s);
        find.findChild<QCheckBox*>(u"CheckBox1"_s)->click();
        find.findChild<QDateEdit*>(u"DateTimePicker1"_s)->setDate(QDate(2020, 1, 2));
        find.findChild<QPushButton*>(u"cmd_edit"_s)->click();
        ASSERT_EQ(found.recordCount(), 1) << "the date applies once the number is gone";
        find.findChild<QPushButton*>(u"cmd_save"_s)->click();
    });
    click(screen, "cmd_find");
    EXPECT_EQ(text(screen, "fei_no"), u"OLD1"_s);
    EXPECT_EQ(text(screen, "bill_no"), u"20240301000004"_s);
    EXPECT_EQ(text(screen, "fei_tota"), u"10"_s);
    EXPECT_EQ(child<QDateEdit>(screen, "fei_date")->date(), QDate(2020, 1, 2));

    onNextModal([](QDialog& find) {
        find.findChild<QPushButton*>(u"cmd_save"_s)->click();  // today's one
    });
    click(screen, "cmd_find");
    EXPECT_EQ(text(screen, "comp_name"), u"宏达"_s);
    EXPECT_EQ(figures(screen), QStringList({u"230"_s, u"100"_s, u"130"_s, u"30"_s, u"100"_s}));
    EXPECT_EQ(text(screen, "fei_name"), u"李四"_s);
    EXPECT_FALSE(enabled(screen, "cmd_calc"));
}

TEST_F(SettlementScreenTest, APaymentSettlesThePurchaseSideAndPrintsItsBills) {
    bill("inmain", u"20240301000009"_s, u"C2"_s, 70, 0);
    test::RecordedPreviews previews(*t.module);
    {
        TFrmPay screen;
        EXPECT_EQ(child<QPushButton>(screen, "cmd_calc")->text(), u"付款[&J]"_s);
        chooseCode(screen, u"C2"_s);
        click(screen, "cmd_add");
        click(screen, "cmd_calc");
        child<QLineEdit>(screen, "fei_tota")->setText(u"100"_s);
        click(screen, "cmd_save");
        click(screen, "cmd_prin");
    }
    EXPECT_EQ(t.scalar(u"select fact_tota from inmain"_s).toDouble(), 70);
    EXPECT_EQ(t.scalar(u"select rest_tota from company where comp_code='C2'"_s).toDouble(), 30);
    ASSERT_EQ(previews.shown.size(), 1u);
    EXPECT_EQ(previews.shown[0].layout, u"Qpay"_s);
    const QString all = previews.firstPage(0);
    for (const QString& expected : {u"付款单"_s, u"20240301000009"_s, u"远方"_s, u"30"_s})
        EXPECT_TRUE(all.contains(expected))
            << expected.toStdString() << " in " << all.toStdString();
    EXPECT_FALSE(all.contains(u"20240301000004"_s)) << "never the receipt screen's bills";
}

}  // namespace
}  // namespace talvor
