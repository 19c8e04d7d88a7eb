#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>

#include "app/Login.h"
#include "common/core/IniFile.h"
#include "datamodel/db/SqliteEngine.h"
#include "ui/ProgramDirFixture.h"

namespace talvor {
namespace {

class LoginScreenTest : public test::ProgramDirFixture {
  protected:
    TFrmLogin login;
    std::vector<int> endRequests;

    LoginScreenTest() {
        login.setEndProgram([this](int code) { endRequests.push_back(code); });
        login.show();
    }

    QLineEdit* edit(const char* name) { return child<QLineEdit>(login, name); }

    void press(const QString& id, const QString& password) {
        edit("Edit1")->setText(id);
        edit("Edit2")->setText(password);
        QTest::mouseClick(child<QPushButton>(login, "cmd_ok"), Qt::LeftButton);
    }

    IniFile ini() const { return IniFile(iniPath()); }
};

TEST_F(LoginScreenTest, LaysOutCaptionsEchoAndTabOrder) {
    EXPECT_EQ(login.windowTitle(), QStringLiteral("用户登录"));
    EXPECT_EQ(child<QLabel>(login, "Label1")->text(), QStringLiteral("用户名："));
    EXPECT_EQ(child<QLabel>(login, "Label2")->text(), QStringLiteral("密  码："));
    EXPECT_EQ(child<QPushButton>(login, "cmd_ok")->text(), QStringLiteral("确定[&O]"));
    EXPECT_EQ(child<QPushButton>(login, "cmd_close")->text(), QStringLiteral("关闭[&X]"));
    // The close box alone keeps a window manager from offering minimise and maximise; closing
    // there ends the program as 关闭 does.
    EXPECT_FALSE(login.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(login.minimumSize(), login.maximumSize());

    QLineEdit* password = edit("Edit2");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    QStyleOptionFrame option;
    option.initFrom(password);
    EXPECT_EQ(
        password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, password),
        u'*');

    QStringList order;
    QWidget* w = edit("Edit1");
    for (int i = 0; i < 4; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
        order << w->objectName();
    }
    EXPECT_EQ(order.join(u','), QStringLiteral("Edit1,Edit2,cmd_ok,cmd_close"));
}

TEST_F(LoginScreenTest, TrimmedIdInAnotherLetterCaseLogsInAsTyped) {
    press(QStringLiteral("  ADMIN\t"), QStringLiteral(" secret "));
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(CurrentUser().id, QStringLiteral("ADMIN"));
    for (const QString& rights : CurrentUser().rights)
        EXPECT_EQ(rights, QString(kModuleCount, u'1'));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(endRequests.empty());
}

TEST_F(LoginScreenTest, NullRightsLogInWithNoRightAtAll) {
    addUser(QStringLiteral("clerk"), QStringLiteral("pw"), QVariant());
    press(QStringLiteral("clerk"), QStringLiteral("pw"));
    ASSERT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(CurrentUser().id, QStringLiteral("clerk"));
    for (const QString& rights : CurrentUser().rights) EXPECT_TRUE(rights.isEmpty());
    EXPECT_FALSE(HasRight(Right::Use, 0));
}

TEST_F(LoginScreenTest, EnterInThePasswordBoxPressesOk) {
    edit("Edit1")->setText(QStringLiteral("admin"));
    QTest::keyClicks(edit("Edit2"), QStringLiteral("secret"));
    QTest::keyClick(edit("Edit2"), Qt::Key_Return);
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(CurrentUser().id, QStringLiteral("admin"));
}

TEST_F(LoginScreenTest, TheDatabaseHoldsNoPasswordAsTyped) {
    db::SqliteEngine engine;
    engine.open(databasePath());
    const QString stored =
        engine.query(QStringLiteral("select password from powers")).rows[0][0].toString();
    EXPECT_TRUE(stored.startsWith(u"$argon2id$")) << stored.toStdString();
    EXPECT_FALSE(stored.contains(u"secret"));
}

// A database made before passwords were hashed: ten characters for the password, stored as
// typed. Its user logs in once with it and leaves a hash behind.
TEST_F(LoginScreenTest, APasswordStoredAsTypedLogsInOnceAndIsRehashed) {
    sql(QStringLiteral("drop table powers"));
    sql(
        QStringLiteral("create table powers (user_id TEXT(10) COLLATE NOCASE, password TEXT(10) "
                       "COLLATE NOCASE CHECK (length(password) <= 10), pow_use TEXT(50), "
                       "pow_add TEXT(50), pow_edit TEXT(50), pow_dele TEXT(50), pow_chek "
                       "TEXT(50), pow_find TEXT(50), pow_prin TEXT(50))"));
    addUser(QStringLiteral("old"), QStringLiteral("plain"), QStringLiteral("11"));

    press(QStringLiteral("old"), QStringLiteral("PLAIN"));
    EXPECT_NE(login.result(), QDialog::Accepted) << "passwords compare with their letter case";
    press(QStringLiteral("old"), QStringLiteral("plain"));
    ASSERT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(CurrentUser().rightsOf(Right::Use), u"11");

    db::SqliteEngine engine;
    engine.open(databasePath());
    const QString stored =
        engine.query(QStringLiteral("select password from powers")).rows[0][0].toString();
    EXPECT_TRUE(stored.startsWith(u"$argon2id$"));

    TFrmLogin again;
    again.setEndProgram([](int) {});
    again.AttemptLogin(QStringLiteral("old"), QStringLiteral("plain"));
    EXPECT_EQ(again.result(), QDialog::Accepted);
}

// Typed SQL is only text: none of these may log anyone in or break the query.
class WrongCredentialsTest
    : public LoginScreenTest,
      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(WrongCredentialsTest, AreRefusedWithTheMessageAndFocusInTheUserBox) {
    const auto [id, password] = GetParam();
    press(QString::fromUtf8(id), QString::fromUtf8(password));
    EXPECT_NE(login.result(), QDialog::Accepted);
    EXPECT_TRUE(login.isVisible());
    EXPECT_TRUE(CurrentUser().id.isEmpty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("用户名或密码错误！"));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(messages.shown()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(login.focusWidget(), edit("Edit1"));
}

INSTANTIATE_TEST_SUITE_P(Login, WrongCredentialsTest,
                         ::testing::Values(std::pair{"admin", "wrong"},
                                           std::pair{"nobody", "secret"},
                                           std::pair{"admin", "x' or '1'='1"},
                                           std::pair{"admin' --", "anything"},
                                           std::pair{"admin", "secret\"'"}, std::pair{"", ""}));

class ThirdPressTest : public LoginScreenTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ThirdPressTest, EndsTheProgramAfterItHasBeenHandled) {
    const bool rightAtLast = GetParam();
    for (int i = 0; i < 2; ++i) {
        press(QStringLiteral("admin"), QStringLiteral("wrong"));
        EXPECT_TRUE(endRequests.empty()) << "press " << i + 1;
        EXPECT_TRUE(login.isVisible());
    }
    messages.clear();
    press(QStringLiteral("admin"),
          rightAtLast ? QStringLiteral("secret") : QStringLiteral("wrong"));
    EXPECT_EQ(endRequests, std::vector<int>{0});
    // The attempt itself still runs to its end.
    if (rightAtLast) {
        EXPECT_EQ(CurrentUser().id, QStringLiteral("admin"));
    } else {
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("用户名或密码错误！")});
    }
}

INSTANTIATE_TEST_SUITE_P(Login, ThirdPressTest, ::testing::Bool());

TEST_F(LoginScreenTest, EveryWayOutButALoginEndsWithExitCode1) {
    QTest::keyClick(&login, Qt::Key_Escape);
    EXPECT_TRUE(endRequests.empty()) << "Escape does nothing";

    QTest::mouseClick(child<QPushButton>(login, "cmd_close"), Qt::LeftButton);
    login.close();  // as the window manager closes it
    login.reject();
    EXPECT_EQ(endRequests, (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(module->connected());
    EXPECT_TRUE(CurrentUser().id.isEmpty());
}

TEST_F(LoginScreenTest, EveryPressRereadsThePrintingSettings) {
    ini().writeString(QStringLiteral("billdata"), QStringLiteral("company_name"),
                      QStringLiteral("禾岚商行"));
    ini().writeString(QStringLiteral("billdata"), QStringLiteral("line_count"),
                      QStringLiteral("8"));
    press(QStringLiteral("admin"), QStringLiteral("wrong"));
    EXPECT_EQ(billSettings().companyName, QStringLiteral("禾岚商行"));
    EXPECT_EQ(billSettings().lineCount, 8);

    ini().writeString(QStringLiteral("billdata"), QStringLiteral("company_name"),
                      QStringLiteral("新公司"));
    ini().writeString(QStringLiteral("billdata"), QStringLiteral("bill_bottom"),
                      QStringLiteral("谢谢惠顾"));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_EQ(billSettings().companyName, QStringLiteral("新公司"));
    EXPECT_EQ(billSettings().billBottom, QStringLiteral("谢谢惠顾"));
}

TEST_F(LoginScreenTest, TheFirstConnectionIsNotedOnceAndKept) {
    press(QStringLiteral("admin"), QStringLiteral("wrong"));
    ASSERT_TRUE(module->connected());
    EXPECT_EQ(ini().readString(QStringLiteral("nettype"), QStringLiteral("datasource"), {}),
              databasePath());

    ini().writeString(QStringLiteral("nettype"), QStringLiteral("datasource"),
                      QStringLiteral("elsewhere"));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(ini().readString(QStringLiteral("nettype"), QStringLiteral("datasource"), {}),
              QStringLiteral("elsewhere"));
}

TEST_F(LoginScreenTest, LineCountThatIsNoIntegerEndsThePressBeforeTheConnection) {
    ini().writeString(QStringLiteral("billdata"), QStringLiteral("line_count"),
                      QStringLiteral("ten"));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_NE(login.result(), QDialog::Accepted);
    EXPECT_FALSE(module->connected());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Critical);

    ini().writeString(QStringLiteral("billdata"), QStringLiteral("line_count"),
                      QStringLiteral("10"));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_EQ(login.result(), QDialog::Accepted);
}

TEST_F(LoginScreenTest, AnUnopenableDatabaseIsReportedOnceAndTriedAgainAtTheNextPress) {
    const QString path = databasePath();
    const QString aside = path + QStringLiteral(".aside");
    ASSERT_TRUE(QFile::rename(path, aside));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_FALSE(login.connected());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("数据库无法打开：")))
        << messages.shown()[0].text.toStdString();
    EXPECT_TRUE(messages.shown()[0].text.contains(path));
    EXPECT_FALSE(QFile::exists(path)) << "a missing database is never created empty";

    ASSERT_TRUE(QFile::rename(aside, path));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_TRUE(login.connected());
    EXPECT_EQ(login.result(), QDialog::Accepted);
}

TEST_F(LoginScreenTest, ADamagedPowersTableReportsTheDatabaseAsUnopenable) {
    sql(QStringLiteral("drop table powers"));
    press(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_NE(login.result(), QDialog::Accepted);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts()[0].section(u'\n', 0, 0), u"数据库无法打开");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
}

// A file that cannot serve as the database is told in words that say what is wrong with it.
TEST_F(LoginScreenTest, AnUnusableDatabaseFileIsToldAtStartUp) {
    const QString path = databasePath();
    const QString aside = path + QStringLiteral(".aside");
    ASSERT_TRUE(QFile::rename(path, aside));
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray(4096, 'x'));
         },
         "文件不是本系统的数据库"},
        {[&] { ASSERT_TRUE(QDir().mkpath(path)); }, "无法读写数据库文件"},
    };
    for (const auto& [make, words] : cases) {
        make();
        messages.clear();
        press(QStringLiteral("admin"), QStringLiteral("secret"));
        EXPECT_FALSE(login.connected());
        ASSERT_EQ(messages.texts().size(), 1);
        const QString text = messages.texts()[0];
        EXPECT_TRUE(text.startsWith(QStringLiteral("数据库无法打开："))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << text.toStdString();
        EXPECT_TRUE(text.contains(path)) << text.toStdString();
        QFile::remove(path);
        QDir().rmdir(path);
    }
}

}  // namespace
}  // namespace talvor
