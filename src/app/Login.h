#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "datamodel/Rights.h"

class QLineEdit;
class QPushButton;

namespace talvor {

// The login dialog: at most three presses of OK in a run; the first successful connection
// is kept for the rest of the run.
class TFrmLogin : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmLogin(QWidget* parent = nullptr);

    // How the dialog ends the program (the third press, 关闭, closing the window). It takes
    // effect when control returns to the event loop.
    using EndProgram = std::function<void(int exitCode)>;
    void setEndProgram(EndProgram end) { end_ = std::move(end); }

    void AttemptLogin(const QString& userId, const QString& password);
    void ConnectDatabase();
    bool connected() const { return connected_; }

    void cmd_okClick();
    void cmd_closeClick();
    // Any way of leaving the dialog other than a login ends the program, as 关闭 does, so
    // that the main window never runs without a user.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::optional<User> findUser(const QString& userId, const QString& password);

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* cmd_ok;
    QPushButton* cmd_close;
    int attempts_ = 1;
    bool connected_ = false;
    EndProgram end_;
};

}  // namespace talvor
