#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>

#include "AccountFixture.h"
#include "accounts/Statements.h"
#include "datamodel/DisplayFormat.h"
#include "master/MasterScreenFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class StatementScreenTest : public test::MasterScreenFixture {
  protected:
    StatementScreenTest() {
        t.exec(u"insert into company (comp_code,comp_name) values ('C1','宏达')"_s);
        t.exec(u"insert into company (comp_code,comp_name) values ('C2','远方')"_s);
        for (const char* table : {"outmain", "inmain"}) {
            bill(table, u"20240301000001"_s, u"C1"_s, 100, 100);        // settled
            bill(table, u"20240301000002"_s, u"C1"_s, 50, 60);          // over-settled
            bill(table, u"20240301000003"_s, u"C1"_s, 80, 30);          // settled in part
            bill(table, u"20240301000004"_s, u"C1"_s, 40, QVariant());  // nothing received yet
            bill(table, u"20240301000005"_s, u"C2"_s, 7, 0);
            bill(table, u"20240301000006"_s, u"ZZ"_s, 9, 0);  // a code no company has
        }
    }

    void bill(const char* table, const QString& billNo, const QString& company, double due,
              const QVariant& received) {
        test::insertBill(t, table, billNo, company, due, received);
    }
    static void choose(QWidget& screen, const char* combo, const QString& text) {
        child<QComboBox>(screen, combo)->setEditText(text);
    }
    static QStringList totals(QWidget& screen) {
        return {child<QLineEdit>(screen, "Edit1")->text(),
                child<QLineEdit>(screen, "Edit2")->text(),
                child<QLineEdit>(screen, "Edit3")->text()};
    }
    static QStringList listed(QueryScreen& screen) {
        QStringList bills;
        for (int row = 0; row < screen.list().recordCount(); ++row)
            bills << screen.list().value(row, u"bill_no"_s).toString().right(1);
        return bills;
    }
};

TEST_F(StatementScreenTest, OnlyOpenBillsLeaveTheSettledOnesOut) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QueryScreen>()> screen;
    };
    const Case cases[] = {{"sales", [] { return std::make_unique<TFrmOutcost>(); }},
                          {"purchases", [] { return std::make_unique<TFrmIncost>(); }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<QueryScreen> screen = c.screen();
        EXPECT_EQ(child<QPushButton>(*screen, "cmd_find")->text(), u"结算[&F]"_s);
        choose(*screen, "ComboBox1", u"C1"_s);
        EXPECT_EQ(screen->text("ComboBox2"), u"宏达"_s);
        click(*screen, "cmd_find");
        EXPECT_EQ(listed(*screen), QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
        EXPECT_EQ(totals(*screen), QStringList({u"270"_s, u"190"_s, u"80"_s}));

        child<QRadioButton>(*screen, "RadioGroup1_1")->setChecked(true);
        click(*screen, "cmd_find");
        EXPECT_EQ(listed(*screen), QStringList({u"2"_s, u"3"_s, u"4"_s}))
            << "the over-settled bill and the one nothing was received on stay";
        EXPECT_EQ(totals(*screen), QStringList({u"170"_s, u"90"_s, u"80"_s}));
        EXPECT_EQ(screen->list().value(0, u"margin"_s).toDouble(), -10);
    }
}

TEST_F(StatementScreenTest, TheCompanyBoxesChooseWhoseBillsAreListed) {
    TFrmOutcost screen;
    click(screen, "cmd_find");
    EXPECT_EQ(listed(screen).size(), 6) << "no company: every company's bills";

    choose(screen, "ComboBox2", u"远方"_s);
    EXPECT_EQ(screen.text("ComboBox1"), u"C2"_s);
    click(screen, "cmd_find");
    EXPECT_EQ(listed(screen), QStringList{u"5"_s});

    choose(screen, "ComboBox1", u"ZZ"_s);
    EXPECT_EQ(screen.text("ComboBox2"), QString());
    click(screen, "cmd_find");
    EXPECT_EQ(listed(screen), QStringList{u"6"_s});

    child<QDateEdit>(screen, "DateTimePicker1")->setDate(QDate::currentDate().addDays(1));
    child<QDateEdit>(screen, "DateTimePicker2")->setDate(QDate::currentDate().addDays(1));
    click(screen, "cmd_find");
    EXPECT_TRUE(listed(screen).isEmpty());
    EXPECT_EQ(totals(screen), QStringList({u"0"_s, u"0"_s, u"0"_s}));
}

TEST_F(StatementScreenTest, PrintCarriesTheCompanyTheRangeAndTheTotals) {
    test::RecordedPreviews previews(*t.module);
    {
        TFrmIncost screen;
        choose(screen, "ComboBox1", u"C1"_s);
        click(screen, "cmd_find");
        click(screen, "cmd_prin");
        choose(screen, "ComboBox1", u"C9"_s);
        click(screen, "cmd_find");
        click(screen, "cmd_prin");
    }
    ASSERT_EQ(previews.shown.size(), 2u);
    EXPECT_EQ(previews.shown[0].layout, u"Qincost"_s);
    const QString all = previews.firstPage(0);
    for (const QString& expected : {u"进货对帐单"_s, u"C1"_s, u"宏达"_s, u"270"_s, u"190"_s,
                                    u"20240301000004"_s, formatDate(QDate::currentDate())})
        EXPECT_TRUE(all.contains(expected))
            << expected.toStdString() << " in " << all.toStdString();
    const QString empty = previews.firstPage(1);
    EXPECT_TRUE(empty.contains(u"欠付金额"_s)) << "the headings print without rows";
    EXPECT_FALSE(empty.contains(u"20240301"_s));
}

}  // namespace
}  // namespace talvor
