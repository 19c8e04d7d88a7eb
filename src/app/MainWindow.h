#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <utility>
#include <vector>

#include "app/Screens.h"
#include "ui/ScreenRegistry.h"

class QLabel;
class QToolBar;
class QToolButton;

namespace talvor {

class TFrmLogin;

struct ToolButtonDef {
    const char* name;
    const char* caption;
    const char* menuItem;
    int module;  // -1: always enabled
};

// The main window and the program's only navigation: every menu item and tool button opens
// one screen modally. Its first showing runs the login; closing it, once confirmed, ends the
// program.
class TfrmMain : public QMainWindow {
    Q_OBJECT

  public:
    explicit TfrmMain(ScreenRegistry& screens = screenRegistry(), QWidget* parent = nullptr);

    void setLoginDialog(TFrmLogin* login) { login_ = login; }

    // The background and the operator panel follow the width of the screen.
    void placeForScreen(int screenWidth);
    static int operatorPanelWidth(int screenWidth) { return screenWidth / 3 + 40; }

    // Creates the item's screen, shows it modally and destroys it when it closes.
    void openScreen(const QString& menuItem);
    // The login succeeded and the menus follow the user's rights.
    bool sessionStarted() const { return sessionStarted_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenu();
    void buildToolBar(QWidget* client);
    QToolButton* toolButton(const ToolButtonDef& def, QWidget* parent);
    QAction* menuItem(const QString& name) const;
    void startSession();
    void showOperator();
    void enableByRights();

    ScreenRegistry& screens_;
    TFrmLogin* login_ = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLabel* statusPanel_;
    QLabel* Image1;
    QLabel* Image2;
    // What the use right of a module enables.
    std::vector<std::pair<QAction*, int>> moduleItems_;
    std::vector<std::pair<QWidget*, int>> moduleButtons_;
    int screenWidth_ = 0;
    QDateTime shownAt_;
    bool shown_ = false;
    bool sessionStarted_ = false;
};

}  // namespace talvor
