#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/FirstStart.h"
#include "datamodel/db/PasswordHash.h"
#include "datamodel/db/SqliteEngine.h"
#include "ui/Messages.h"

namespace talvor {
namespace {

class FirstStartScreenTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data/talvor.mdb"));
    ScriptedMessages messages;
    TFrmFirstStart dialog{path};

    FirstStartScreenTest() { dialog.show(); }

    QLineEdit* box(const char* name) { return dialog.findChild<QLineEdit*>(QLatin1String(name)); }
    void enter(const char* code, const char* name, const char* password, const char* confirm) {
        box("edtCode")->setText(QString::fromUtf8(code));
        box("edtName")->setText(QString::fromUtf8(name));
        box("edtPassword")->setText(QString::fromUtf8(password));
        box("edtConfirm")->setText(QString::fromUtf8(confirm));
        dialog.findChild<QPushButton*>(QStringLiteral("cmd_ok"))->click();
    }
};

TEST_F(FirstStartScreenTest, EveryProblemIsToldAtOnceAndNothingIsCreated) {
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*>
        cases[] = {
            {"", " ", "", "", "请输入管理员编码。\n请输入管理员姓名。\n请输入密码。", "edtCode"},
            {"admin", "王", "pw", "px", "两次输入的密码不一致。", "edtConfirm"},
            {"admin", "", "pw", " pw ", "请输入管理员姓名。", "edtName"},
            {"admin", "王", "\t", "", "请输入密码。", "edtPassword"},
        };
    for (const auto& [code, name, password, confirm, said, focus] : cases) {
        messages.clear();
        enter(code, name, password, confirm);
        EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(said)});
        EXPECT_EQ(dialog.focusWidget(), box(focus));
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(FirstStartScreenTest, CreatesTheDatabaseWithTheAdministratorAsEntered) {
    EXPECT_EQ(box("edtPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(box("edtCode")->maxLength(), 10);
    enter(" boss ", "王老板", "s3cret", "s3cret ");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(QFile::exists(path));

    db::SqliteEngine engine;
    engine.open(path);
    const db::ResultSet users =
        engine.query(QStringLiteral("select user_id,password,pow_use from powers"));
    ASSERT_EQ(users.rows.size(), 1u) << "nobody else can log in";
    EXPECT_EQ(users.rows[0][0].toString(), QStringLiteral("boss"));
    EXPECT_TRUE(passwordMatches(users.rows[0][1].toString(), QStringLiteral("s3cret")));
    EXPECT_FALSE(users.rows[0][1].toString().contains(u"s3cret"));
    EXPECT_EQ(users.rows[0][2].toString(), QString(25, u'1'));
    EXPECT_EQ(engine.query(QStringLiteral("select empl_name from employee where empl_code='boss'"))
                  .rows.at(0)
                  .at(0)
                  .toString(),
              QStringLiteral("王老板"));
}

TEST_F(FirstStartScreenTest, AFailedCreationLeavesNothingBehind) {
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TFrmFirstStart blocked(dir.filePath(QStringLiteral("blocker/data/talvor.mdb")));
    blocked.findChild<QLineEdit*>(QStringLiteral("edtCode"))->setText(QStringLiteral("boss"));
    blocked.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("王"));
    blocked.findChild<QLineEdit*>(QStringLiteral("edtPassword"))->setText(QStringLiteral("pw"));
    blocked.findChild<QLineEdit*>(QStringLiteral("edtConfirm"))->setText(QStringLiteral("pw"));
    blocked.cmd_okClick();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("数据库无法建立：")))
        << messages.texts()[0].toStdString();
    EXPECT_NE(blocked.result(), QDialog::Accepted);
}

// A user's data directory may not exist yet at the first start of an installed program.
TEST_F(FirstStartScreenTest, SaysWhereTheDatabaseWillBeAndCreatesItsDirectories) {
    const QString nested = dir.filePath(QStringLiteral("share/talvor/data/talvor.mdb"));
    TFrmFirstStart first(nested);
    EXPECT_TRUE(first.findChild<QLabel*>(QStringLiteral("lblIntro"))->text().endsWith(nested));
    first.findChild<QLineEdit*>(QStringLiteral("edtCode"))->setText(QStringLiteral("boss"));
    first.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("王"));
    first.findChild<QLineEdit*>(QStringLiteral("edtPassword"))->setText(QStringLiteral("pw"));
    first.findChild<QLineEdit*>(QStringLiteral("edtConfirm"))->setText(QStringLiteral("pw"));
    first.cmd_okClick();
    EXPECT_EQ(first.result(), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(nested));
}

}  // namespace
}  // namespace talvor
