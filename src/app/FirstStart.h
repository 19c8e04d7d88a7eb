#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace talvor {

// The first start: there is no database yet. The operator names the administrator and sets
// the password, which nobody else knows; then the database is created with that one user.
class TFrmFirstStart : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmFirstStart(QString databasePath, QWidget* parent = nullptr);

    void cmd_okClick();

  private:
    QStringList problems(QLineEdit*& firstBad) const;
    void createDatabase();

    QString databasePath_;
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtPassword;
    QLineEdit* edtConfirm;
    QPushButton* cmd_ok;
    QPushButton* cmd_canc;
};

}  // namespace talvor
