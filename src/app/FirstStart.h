#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace talvor {

namespace db {
class Engine;
}

// The first start: there is no database yet. The operator names the administrator and sets
// the password, which nobody else knows; then the database is created with that one user.
// On a server, the empty database the connection opened receives the tables.
class TFrmFirstStart : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmFirstStart(QString databasePath, QWidget* parent = nullptr);
    TFrmFirstStart(db::Engine& server, const QString& host, QWidget* parent = nullptr);

    void cmd_okClick();

  private:
    TFrmFirstStart(QString databasePath, db::Engine* server, const QString& where, QWidget* parent);
    QStringList problems(QLineEdit*& firstBad) const;
    void createDatabase();

    QString databasePath_;
    db::Engine* server_;
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtPassword;
    QLineEdit* edtConfirm;
    QPushButton* cmd_ok;
    QPushButton* cmd_canc;
};

}  // namespace talvor
