#pragma once

#include <QDialog>
#include <QPushButton>
#include <functional>

#include "ui/ControlStates.h"

namespace talvor {

// A screen with a screen mode: it cannot be closed while a row or a bill is being entered.
// Only 退出 and the title bar's close box close it; Esc does not.
class EditingDialog : public QDialog {
    Q_OBJECT

  public:
    ScreenMode mode() const { return mode_; }

  protected:
    using QDialog::QDialog;

    // A tool-bar button whose handler's errors end in the general error report.
    QPushButton* toolButton(const char* name, const QString& caption,
                            std::function<void()> handler);
    // 退出: closes the window, which the mode may refuse.
    QPushButton* exitButton();

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

    ScreenMode mode_ = ScreenMode::Null;
};

// Keeps any screen open on Esc (Qt's dialogs would take it for 取消): the query and other
// screens opened from the menu that are no EditingDialog get it from the main window.
void keepOpenOnEscape(QDialog& screen);

}  // namespace talvor
