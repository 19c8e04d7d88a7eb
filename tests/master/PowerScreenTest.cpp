#include <QCheckBox>
#include <QTableWidget>

#include "datamodel/Users.h"
#include "master/MasterScreenFixture.h"
#include "master/TFrmPower.h"

namespace talvor {
namespace {

class PowerScreenTest : public test::MasterScreenFixture {
  protected:
    PowerScreenTest() {
        t.exec(QStringLiteral("insert into employee (empl_code,empl_name) values ('E1','张三')"));
        t.exec(QStringLiteral("insert into employee (empl_code,empl_name) values ('E2','李四')"));
    }
    void addUser(const char* id, const QVariant& use) {
        t.exec(QStringLiteral("insert into powers (user_id,password,pow_use) values (:id,'',:u)"),
               {{QStringLiteral("id"), QString::fromUtf8(id)}, {QStringLiteral("u"), use}});
    }
    Dataset& powers() { return *t.module->PowerQ; }
    QString stored(const char* column, const char* id) {
        return t
            .scalar(QStringLiteral("select %1 from powers where user_id=:id")
                        .arg(QLatin1String(column)),
                    {{QStringLiteral("id"), QString::fromUtf8(id)}})
            .toString();
    }
    static QTableWidget* grid(QWidget& screen) {
        return child<QTableWidget>(screen, "StringGrid1");
    }
    static void clickCell(QWidget& screen, int row, int column) {
        emit grid(screen)->cellClicked(row, column);
    }
    void selectUser(const char* id) {
        powers().locate(QStringLiteral("user_id"), QString::fromUtf8(id));
    }
    void newUser(TFrmPower& screen, const char* id, const char* password, const char* confirm) {
        click(screen, "cmd_add");
        type(screen, "DBEdit_user_id", QString::fromUtf8(id));
        child<QLineEdit>(screen, "Edit_password")->setText(QString::fromUtf8(password));
        child<QLineEdit>(screen, "Edit_confirm")->setText(QString::fromUtf8(confirm));
    }
};

// Each cell stands for one right of one module: a pattern where every right string differs
// from the others and from its neighbours shows a transposed or shifted cell.
TEST_F(PowerScreenTest, TheRightsGridStoresAndLoadsEveryCell) {
    std::array<QString, kRightCount> pattern;
    for (int c = 0; c < kRightCount; ++c)
        for (int m = 0; m < kModuleCount; ++m)
            pattern[size_t(c)] += (m * 7 + c) % 3 == 0 ? u'1' : u'0';
    addUser("E1", QVariant());
    TFrmPower screen;
    selectUser("E1");
    click(screen, "cmd_edit");
    ASSERT_EQ(screen.mode(), ScreenMode::Edit);
    for (int c = 1; c <= kRightCount; ++c)
        for (int r = 1; r <= kModuleCount; ++r)
            if (pattern[size_t(c - 1)][r - 1] == u'1') clickCell(screen, r, c);
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    for (int c = 0; c < kRightCount; ++c)
        EXPECT_EQ(stored(kRightColumns[size_t(c)], "E1"), pattern[size_t(c)]) << c;

    TFrmPower again;
    selectUser("E1");
    for (int c = 1; c <= kRightCount; ++c)
        for (int r = 1; r <= kModuleCount; ++r)
            EXPECT_EQ(grid(again)->item(r, c)->text(),
                      pattern[size_t(c - 1)][r - 1] == u'1' ? u"√" : u"")
                << r << "," << c;
}

TEST_F(PowerScreenTest, AColumnBoxFillsItsColumnAndShortStringsSaveWithAll25) {
    addUser("E1", QStringLiteral("1"));
    TFrmPower screen;
    selectUser("E1");
    EXPECT_EQ(grid(screen)->item(1, 1)->text(), u"√");
    EXPECT_EQ(grid(screen)->item(2, 1)->text(), u"");
    clickCell(screen, 2, 1);
    EXPECT_EQ(grid(screen)->item(2, 1)->text(), u"") << "browsing changes nothing";
    EXPECT_FALSE(enabled(screen, "CheckBox6"));

    click(screen, "cmd_edit");
    child<QCheckBox>(screen, "CheckBox6")->click();
    click(screen, "cmd_save");
    EXPECT_EQ(stored("pow_find", "E1"), QString(kModuleCount, u'1'));
    EXPECT_EQ(stored("pow_use", "E1"), u'1' + QString(kModuleCount - 1, u'0'));
    EXPECT_EQ(stored("pow_prin", "E1"), QString(kModuleCount, u'0'));
}

TEST_F(PowerScreenTest, CancelShowsTheStoredRightsAgain) {
    addUser("E1", QStringLiteral("11"));
    TFrmPower screen;
    selectUser("E1");
    click(screen, "cmd_edit");
    clickCell(screen, 1, 1);
    clickCell(screen, 5, 3);
    click(screen, "cmd_canc");
    EXPECT_EQ(grid(screen)->item(1, 1)->text(), u"√");
    EXPECT_EQ(grid(screen)->item(5, 3)->text(), u"");
    EXPECT_EQ(stored("pow_use", "E1"), u"11");
}

TEST_F(PowerScreenTest, NewUserIdIsCheckedOnEnter) {
    TFrmPower screen;
    click(screen, "cmd_add");
    auto* id = child<QLineEdit>(screen, "DBEdit_user_id");
    const struct {
        const char* typed;
        const char* message;
        const char* left;
    } cases[] = {
        {"admin", "该员工已存在！", "admin"}, {"X9", "无此员工编码！", ""}, {"E2", nullptr, "E2"}};
    for (const auto& c : cases) {
        answers.clear();
        id->setText(QString::fromUtf8(c.typed));
        emit id->returnPressed();
        EXPECT_EQ(answers.texts(),
                  c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{})
            << c.typed;
        EXPECT_EQ(id->text(), QString::fromUtf8(c.left));
    }
    click(screen, "cmd_canc");
}

TEST_F(PowerScreenTest, PasswordsAreHashedAndAnEmptyPairKeepsThem) {
    TFrmPower screen;
    newUser(screen, "E1", "one", "two");
    click(screen, "cmd_save");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("密码不一致")});
    EXPECT_EQ(screen.mode(), ScreenMode::Add);

    const QString longest(kMaxPasswordLength, u'密');
    child<QLineEdit>(screen, "Edit_password")->setText(longest);
    child<QLineEdit>(screen, "Edit_confirm")->setText(longest);
    click(screen, "cmd_save");
    ASSERT_EQ(screen.mode(), ScreenMode::Null);
    const QString hash = stored("password", "E1");
    EXPECT_TRUE(passwordMatches(hash, longest));
    EXPECT_FALSE(passwordMatches(hash, longest.left(kMaxPasswordLength - 1)));

    selectUser("E1");
    click(screen, "cmd_edit");
    EXPECT_TRUE(child<QLineEdit>(screen, "Edit_password")->text().isEmpty());
    EXPECT_FALSE(enabled(screen, "DBEdit_user_id"));
    clickCell(screen, 3, 2);
    click(screen, "cmd_save");
    EXPECT_EQ(stored("password", "E1"), hash);

    click(screen, "cmd_edit");
    child<QLineEdit>(screen, "Edit_password")->setText(QStringLiteral("new"));
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Edit) << "the confirmation is still asked for";
    child<QLineEdit>(screen, "Edit_confirm")->setText(QStringLiteral("new"));
    click(screen, "cmd_save");
    EXPECT_TRUE(passwordMatches(stored("password", "E1"), QStringLiteral("new")));
}

TEST_F(PowerScreenTest, NobodyCanLockEveryoneOutOfRightsAdministration) {
    const QString administers = QStringLiteral("000001");
    addUser("E1", administers);
    addUser("E2", QStringLiteral("1"));
    CurrentUser().id = QStringLiteral("ADMIN");
    TFrmPower screen;
    const auto removeOwnRight = [&](const char* user) {
        selectUser(user);
        click(screen, "cmd_edit");
        clickCell(screen, 6, 1);
        click(screen, "cmd_save");
    };
    removeOwnRight("admin");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("不能取消自己设置权限的权利")});
    click(screen, "cmd_canc");
    answers.clear();

    selectUser("admin");
    answers.answer(QMessageBox::Yes);
    click(screen, "cmd_dele");
    EXPECT_EQ(answers.texts().last(), QStringLiteral("不能删除当前登录的用户"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from powers where user_id='admin'")), 1);

    answers.clear();
    removeOwnRight("E1");  // another holder is left: the logged-in user
    EXPECT_TRUE(answers.texts().isEmpty());
    EXPECT_EQ(stored("pow_use", "E1"), QString(kModuleCount, u'0'));

    // With the logged-in user's right gone elsewhere, E1 is the last one holding it.
    t.exec(QStringLiteral("update powers set pow_use=:r where user_id='E1'"),
           {{QStringLiteral("r"), administers}});
    t.exec(QStringLiteral("update powers set pow_use='1' where user_id='admin'"));
    powers().reopen();
    removeOwnRight("E1");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("至少保留一个可以设置权限的用户")});
    click(screen, "cmd_canc");
    selectUser("E1");
    answers.answer(QMessageBox::Yes);
    click(screen, "cmd_dele");
    EXPECT_EQ(stored("pow_use", "E1"), administers);
    EXPECT_EQ(answers.texts().last(), QStringLiteral("至少保留一个可以设置权限的用户"));

    selectUser("E2");
    answers.answer(QMessageBox::Yes);
    click(screen, "cmd_dele");
    EXPECT_EQ(count(QStringLiteral("select count(*) from powers where user_id='E2'")), 0);
    EXPECT_FALSE(powers().locate(QStringLiteral("user_id"), QStringLiteral("E2")));
}

TEST_F(PowerScreenTest, EditAndDeleteAskForAUserFirst) {
    TFrmPower screen;
    child<QLineEdit>(screen, "DBEdit_user_id")->clear();
    click(screen, "cmd_edit");
    click(screen, "cmd_dele");
    EXPECT_EQ(answers.texts(), (QStringList{QStringLiteral("请先定位员工编码"),
                                            QStringLiteral("请先定位删除员工")}));
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
}

}  // namespace
}  // namespace talvor
