#include "app/Login.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

#include "common/core/BillSettings.h"
#include "common/core/IniFile.h"
#include "common/core/ProgramDir.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/Users.h"
#include "datamodel/db/DbError.h"
#include "ui/Desktop.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

// Tries to open the database before a press gives up, and the pause between two tries.
constexpr int kConnectTries = 3;
constexpr int kRetryPauseMs = 150;

QLabel* label(const QString& text, const char* name, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(75, 25);
    return b;
}

TFrmDataMod& dataModule() {
    TFrmDataMod* module = FrmDataMod();
    if (!module) throw db::DbError(QStringLiteral("数据库无法打开"));
    return *module;
}

}  // namespace

TFrmLogin::TFrmLogin(QWidget* parent)
    : QDialog(parent, kDialogFrame),
      Edit1(new QLineEdit(this)),
      Edit2(new QLineEdit(this)),
      cmd_ok(button(QStringLiteral("确定[&O]"), "cmd_ok", this)),
      cmd_close(button(QStringLiteral("关闭[&X]"), "cmd_close", this)),
      end_([](int exitCode) { QCoreApplication::exit(exitCode); }) {
    setObjectName(QStringLiteral("TFrmLogin"));
    setWindowTitle(QStringLiteral("用户登录"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    auto* fields = new QGridLayout;
    fields->addWidget(label(QStringLiteral("用户名："), "Label1", this), 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(label(QStringLiteral("密  码："), "Label2", this), 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_ok);
    buttons->addSpacing(16);
    buttons->addWidget(cmd_close);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(14);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setFixedSize(280, 140);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, cmd_ok);
    setTabOrder(cmd_ok, cmd_close);
    connectGuarded(cmd_ok, &QPushButton::clicked, this, [this] { cmd_okClick(); });
    connectGuarded(Edit2, &QLineEdit::returnPressed, this, [this] { cmd_okClick(); });
    connectGuarded(cmd_close, &QPushButton::clicked, this, [this] { cmd_closeClick(); });
}

void TFrmLogin::cmd_okClick() { AttemptLogin(Edit1->text(), Edit2->text()); }

void TFrmLogin::cmd_closeClick() { end_(1); }

void TFrmLogin::reject() { cmd_closeClick(); }

void TFrmLogin::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmd_closeClick();
}

// Escape would reject the dialog; it does nothing here, as in a dialog without a cancel button.
void TFrmLogin::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return;
    QDialog::keyPressEvent(event);
}

void TFrmLogin::AttemptLogin(const QString& userId, const QString& password) {
    const QString typedPassword = trimmedInput(password);
    if (++attempts_ == 4) end_(0);
    ConnectDatabase();
    if (!connected_) return;

    const QString typedId = trimmedInput(userId);
    std::optional<User> user;
    {
        const WaitCursor wait;
        user = findUser(typedId, typedPassword);
    }
    if (!user) {
        messages().inform(QStringLiteral("用户名或密码错误！"));
        Edit1->setFocus();
        return;
    }
    CurrentUser() = *user;
    accept();
}

// Every press reloads the printing settings; a line count that is no integer ends the press
// here with its error. The connection, once open, stays open.
void TFrmLogin::ConnectDatabase() {
    loadLoginSettings(billSettings(), iniPath());
    if (connected_) return;
    TFrmDataMod& module = dataModule();
    const QString server = serverConnection(iniPath());
    const QString path = server.isEmpty() ? databasePath() : server;
    QString failure;
    for (int attempt = 1; attempt <= kConnectTries && !connected_; ++attempt) {
        if (attempt > 1) QThread::msleep(kRetryPauseMs);
        try {
            module.connectTo(path);
            connected_ = module.connected();
        } catch (const db::DbError& e) {
            failure = e.message();
        }
    }
    if (!connected_) {
        messages().inform(QStringLiteral("数据库无法打开：%1").arg(failure), MessageIcon::Critical);
        return;
    }
    if (!server.isEmpty()) return;
    try {
        writeDataSource(iniPath(), path);
    } catch (const IniWriteError&) {
        // A read-only system.ini only loses the note of the last database; the login goes on.
    }
}

// The typed texts are bound as parameters, so a quote in them is only a character.
std::optional<User> TFrmLogin::findUser(const QString& userId, const QString& password) {
    try {
        return authenticate(*dataModule().TempQ, userId, password);
    } catch (const db::DbError& e) {
        // The reason (a full disk, a damaged file) follows on its own lines.
        throw db::DbError(QStringLiteral("数据库无法打开\n") + e.message());
    } catch (const std::exception&) {
        throw db::DbError(QStringLiteral("数据库无法打开"));
    }
}

}  // namespace talvor
