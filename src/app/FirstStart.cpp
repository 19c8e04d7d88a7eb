#include "app/FirstStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/core/Routines.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/PasswordHash.h"
#include "datamodel/db/Schema.h"
#include "ui/Desktop.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

QLineEdit* edit(const char* name, int maxLength, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

int columnWidth(const char* table, const char* column) {
    if (const db::TableDef* t = db::findTable(QLatin1String(table)))
        for (const db::ColumnDef& c : t->columns)
            if (qstrcmp(c.name, column) == 0) return c.width;
    return 0;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(75, 25);
    return b;
}

// What a failed creation may have left, so that the next start asks again.
void removeDatabaseFiles(const QString& path) {
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(path + suffix);
}

}  // namespace

TFrmFirstStart::TFrmFirstStart(QString databasePath, QWidget* parent)
    : TFrmFirstStart(databasePath, nullptr, QDir::toNativeSeparators(databasePath), parent) {}

TFrmFirstStart::TFrmFirstStart(db::Engine& server, const QString& host, QWidget* parent)
    : TFrmFirstStart(QString(), &server, QStringLiteral("服务器 %1").arg(host), parent) {}

TFrmFirstStart::TFrmFirstStart(QString databasePath, db::Engine* server, const QString& where,
                               QWidget* parent)
    : QDialog(parent, kDialogFrame),
      databasePath_(std::move(databasePath)),
      server_(server),
      edtCode(edit("edtCode", columnWidth("powers", "user_id"), this)),
      edtName(edit("edtName", columnWidth("employee", "empl_name"), this)),
      edtPassword(edit("edtPassword", kMaxPasswordLength, this)),
      edtConfirm(edit("edtConfirm", kMaxPasswordLength, this)),
      cmd_ok(button(QStringLiteral("确定[&O]"), "cmd_ok", this)),
      cmd_canc(button(QStringLiteral("取消[&C]"), "cmd_canc", this)) {
    setObjectName(QStringLiteral("TFrmFirstStart"));
    setWindowTitle(QStringLiteral("建立数据库"));
    for (QLineEdit* password : {edtPassword, edtConfirm}) {
        password->setEchoMode(QLineEdit::Password);
        password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    }

    auto* intro = new QLabel(
        QStringLiteral("这是本程序第一次启动，还没有数据库。\n请设定系统管理员，它拥有全部权限；"
                       "\n数据库将建立在：\n%1")
            .arg(where),
        this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("管理员编码："), edtCode);
    form->addRow(QStringLiteral("管理员姓名："), edtName);
    form->addRow(QStringLiteral("密码："), edtPassword);
    form->addRow(QStringLiteral("确认密码："), edtConfirm);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_ok);
    buttons->addWidget(cmd_canc);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedWidth(360);

    connectGuarded(cmd_ok, &QPushButton::clicked, this, [this] { cmd_okClick(); });
    connect(cmd_canc, &QPushButton::clicked, this, &QDialog::reject);
}

// Every problem of the entry in one message; the focus goes to the first box at fault.
QStringList TFrmFirstStart::problems(QLineEdit*& firstBad) const {
    QStringList found;
    firstBad = nullptr;
    const auto check = [&](bool bad, QLineEdit* box, const QString& text) {
        if (!bad) return;
        found.append(text);
        if (!firstBad) firstBad = box;
    };
    check(trimmedInput(edtCode->text()).isEmpty(), edtCode, QStringLiteral("请输入管理员编码。"));
    check(trimmedInput(edtName->text()).isEmpty(), edtName, QStringLiteral("请输入管理员姓名。"));
    check(trimmedInput(edtPassword->text()).isEmpty(), edtPassword, QStringLiteral("请输入密码。"));
    check(trimmedInput(edtPassword->text()) != trimmedInput(edtConfirm->text()), edtConfirm,
          QStringLiteral("两次输入的密码不一致。"));
    return found;
}

void TFrmFirstStart::cmd_okClick() {
    QLineEdit* firstBad = nullptr;
    const QStringList found = problems(firstBad);
    if (!found.isEmpty()) {
        messages().inform(found.join(u'\n'), MessageIcon::Warning);
        firstBad->setFocus();
        firstBad->selectAll();
        return;
    }
    createDatabase();
}

void TFrmFirstStart::createDatabase() {
    const db::Administrator admin{trimmedInput(edtCode->text()), trimmedInput(edtName->text()),
                                  trimmedInput(edtPassword->text())};
    // A server's schema is made in one transaction: a failure leaves nothing behind.
    const bool existed = server_ || QFileInfo::exists(databasePath_);
    try {
        const WaitCursor wait;
        if (server_) {
            db::createSchema(*server_, admin);
        } else {
            QDir().mkpath(QFileInfo(databasePath_).absolutePath());
            db::createDatabase(databasePath_, admin);
        }
    } catch (const db::DbError& e) {
        if (!existed) removeDatabaseFiles(databasePath_);
        messages().inform(QStringLiteral("数据库无法建立：%1").arg(e.message()),
                          MessageIcon::Critical);
        return;
    }
    accept();
}

}  // namespace talvor
