#include <QComboBox>
#include <QDateEdit>

#include "master/MasterScreenFixture.h"
#include "master/TFrmEmployee.h"

namespace talvor {
namespace {

class EmployeeScreenTest : public test::MasterScreenFixture {
  protected:
    void addEmployee(const char* code, const char* birth, const char* hired) {
        t.exec(QStringLiteral("insert into employee (empl_code,empl_name,empl_birth,in_date) "
                              "values (:c,'某人',:b,:h)"),
               {{QStringLiteral("c"), QString::fromUtf8(code)},
                {QStringLiteral("b"), QString::fromUtf8(birth)},
                {QStringLiteral("h"), QString::fromUtf8(hired)}});
    }
    static QDateEdit* picker(QWidget& screen, const char* field) {
        return child<QDateEdit>(screen, (std::string("DateTimePicker_") + field).c_str());
    }
    Dataset& employees() { return *t.module->EmployeeQ; }
};

TEST_F(EmployeeScreenTest, SaveAsksForCodeAndNameAndKeepsTheEntryOpen) {
    struct Case {
        const char* code;
        const char* name;
    };
    for (const Case& c : {Case{"", "张三"}, Case{"E9", ""}, Case{"  ", "张三"}}) {
        TFrmEmployee screen;
        click(screen, "BitBtn2");
        type(screen, "DBEdit_empl_code", QString::fromUtf8(c.code));
        type(screen, "DBEdit_empl_name", QString::fromUtf8(c.name));
        click(screen, "BitBtn4");
        EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("员工编号,名称不能为空")}) << c.code;
        EXPECT_EQ(screen.mode(), ScreenMode::Add);
        EXPECT_TRUE(enabled(screen, "GroupBox1"));
        EXPECT_FALSE(enabled(screen, "BitBtn1"));
        click(screen, "BitBtn3");
        answers.clear();
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from employee where empl_code<>'admin'")), 0);
}

TEST_F(EmployeeScreenTest, ANewEmployeeIsMaleWithTheChosenDatesStoredWithoutTime) {
    TFrmEmployee screen;
    click(screen, "BitBtn2");
    EXPECT_EQ(child<QComboBox>(screen, "DBComboBox_empl_sex")->currentText(), u"男");
    EXPECT_EQ(picker(screen, "empl_birth")->date(), QDate::currentDate());
    EXPECT_EQ(picker(screen, "in_date")->date(), QDate::currentDate());
    picker(screen, "empl_birth")->setDate(QDate(1990, 5, 17));
    type(screen, "DBEdit_empl_code", QStringLiteral("E1"));
    type(screen, "DBEdit_empl_name", QStringLiteral("张三"));
    click(screen, "BitBtn4");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(t.scalar(QStringLiteral(
                  "select empl_birth||'/'||empl_sex from employee where empl_code='E1'")),
              QStringLiteral("1990-05-17/男"));
    EXPECT_EQ(t.scalar(QStringLiteral("select in_date from employee where empl_code='E1'")),
              QVariant(QDate::currentDate()));
}

TEST_F(EmployeeScreenTest, PickersFollowTheRowWhileBrowsingOnly) {
    addEmployee("E1", "1980-01-02", "2001-03-04");
    addEmployee("E2", "1985-06-07", "2010-08-09");
    TFrmEmployee screen;
    employees().locate(QStringLiteral("empl_code"), QStringLiteral("E2"));
    EXPECT_EQ(picker(screen, "empl_birth")->date(), QDate(1985, 6, 7));
    EXPECT_EQ(picker(screen, "in_date")->date(), QDate(2010, 8, 9));
    employees().locate(QStringLiteral("empl_code"), QStringLiteral("E1"));
    EXPECT_EQ(picker(screen, "empl_birth")->date(), QDate(1980, 1, 2));

    click(screen, "BitBtn7");
    picker(screen, "in_date")->setDate(QDate(2002, 2, 2));
    click(screen, "BitBtn3");
    EXPECT_EQ(picker(screen, "in_date")->date(), QDate(2001, 3, 4));
}

TEST_F(EmployeeScreenTest, ADepartmentTypedOnceIsOfferedAtTheNextEntry) {
    TFrmEmployee screen;
    auto* departments = child<QComboBox>(screen, "DBComboBox_dept_name");
    click(screen, "BitBtn2");
    type(screen, "DBEdit_empl_code", QStringLiteral("E1"));
    type(screen, "DBEdit_empl_name", QStringLiteral("张三"));
    typeCombo(screen, "DBComboBox_dept_name", QStringLiteral("仓储部"));
    click(screen, "BitBtn4");
    EXPECT_EQ(departments->findText(QStringLiteral("仓储部")), -1);
    click(screen, "BitBtn7");
    EXPECT_GE(departments->findText(QStringLiteral("仓储部")), 0);
    click(screen, "BitBtn3");
}

TEST_F(EmployeeScreenTest, DeletingAnEmployeeWhoIsAUserLeavesTheRightsRow) {
    TFrmEmployee screen;
    employees().locate(QStringLiteral("empl_code"), QStringLiteral("admin"));
    answers.answer(QMessageBox::Ok);
    click(screen, "BitBtn6");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("确认删除?")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from employee")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from powers where user_id='admin'")), 1);
}

}  // namespace
}  // namespace talvor
