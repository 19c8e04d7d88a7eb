#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "app/Login.h"
#include "common/core/GoodsCaptions.h"
#include "common/core/ProgramTitle.h"
#include "datamodel/DataModule.h"
#include "datamodel/DisplayFormat.h"
#include "datamodel/Rights.h"
#include "datamodel/db/DbError.h"
#include "ui/EditingDialog.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

constexpr int kSeparator = -1;
constexpr int kAbout = -2;

struct MenuDef {
    const char* caption;
    const char* name;
    std::vector<int> entries;  // module indexes, kSeparator or kAbout
};

const std::vector<MenuDef>& menuTree() {
    static const std::vector<MenuDef> tree = {
        {"基本资料[&B]", "mnuBase", {0, 1, 2, 3, 4, 5}},
        {"进货管理[&I]", "mnuIn", {6, 7, kSeparator, 8}},
        {"出货管理[&O]", "mnuOut", {9, 10, kSeparator, 11, 12, 13}},
        {"仓库管理[&S]", "mnuStore", {14, 15, 16, kSeparator, 17, 18}},
        {"财务管理[&M]", "mnuAccount", {19, 20, kSeparator, 21, 22}},
        {"系统管理[&S]", "mnuSystem", {23, 24, kAbout}},
    };
    return tree;
}

// Groups of the tool bar, a separator between two groups; the second row starts after
// cmd_out.
const std::vector<std::vector<ToolButtonDef>>& toolBarRows(int row) {
    static const std::vector<std::vector<ToolButtonDef>> first = {
        {{"cmd_employee", "员工资料", "N3", 0},
         {"cmd_goods", "产品资料", "N4", 1},
         {"cmd_company", "客户资料", "N5", 2}},
        {{"cmd_in", "进货输入", "N10", 6}, {"cmd_out", "销售输入", "N20", 9}}};
    static const std::vector<std::vector<ToolButtonDef>> second = {
        {{"cmd_gath", "收款单", "N39", 19}, {"cmd_pay", "付款单", "N40", 20}},
        {{"cmd_store", "库存查询", "N31", 14}},
        {{"BitBtn2", "退出系统", "X1", -1}}};
    return row == 0 ? first : second;
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(33);
    return line;
}

QLabel* picture(const char* name, QSize size, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->resize(size);
    label->move(0, 45);
    label->hide();
    return label;
}

// Drawn only for the screen that shows it: the picture costs more than the rest of the window.
void showPicture(QLabel* label, bool show) {
    if (show && label->pixmap().isNull()) label->setPixmap(backgroundPicture(label->size()));
    label->setVisible(show);
}

int primaryScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

}  // namespace

TfrmMain::TfrmMain(ScreenRegistry& screens, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      screens_(screens),
      statusPanel_(new QLabel(this)) {
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(programTitle());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    Image1 = picture("Image1", QSize(800, 520), client);
    Image2 = picture("Image2", QSize(1024, 690), client);
    buildMenu();
    buildToolBar(client);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusPanel_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel_->setFrameShape(QFrame::StyledPanel);
    statusPanel_->hide();  // until someone has logged in
    statusBar()->addWidget(statusPanel_);
    placeForScreen(primaryScreenWidth());
}

void TfrmMain::buildMenu() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuDef& def : menuTree()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QLatin1String(def.name));
        for (int entry : def.entries) {
            if (entry == kSeparator) {
                menu->addSeparator();
                continue;
            }
            const bool about = entry == kAbout;
            const ModuleInfo* module = about ? nullptr : &modules()[size_t(entry)];
            QAction* action = menu->addAction(about ? QStringLiteral("关于")
                                                    : QString::fromUtf8(module->menuCaption));
            const QString name = about ? QStringLiteral("N51") : QLatin1String(module->menuItem);
            action->setObjectName(name);
            connectGuarded(action, &QAction::triggered, this, [this, name] { openScreen(name); });
            if (module) {
                action->setEnabled(false);
                moduleItems_.emplace_back(action, module->index);
            }
        }
    }
    QAction* exit = menuBar()->addAction(QStringLiteral("退出[&X]"));
    exit->setObjectName(QStringLiteral("X1"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

QAction* TfrmMain::menuItem(const QString& name) const {
    return menuBar()->findChild<QAction*>(name);
}

QToolButton* TfrmMain::toolButton(const ToolButtonDef& def, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(def.name));
    button->setText(QString::fromUtf8(def.caption));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setFixedSize(75, 39);
    QAction* action = menuItem(QLatin1String(def.menuItem));
    connect(button, &QToolButton::clicked, action, &QAction::trigger);
    return button;
}

void TfrmMain::buildToolBar(QWidget* client) {
    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setAutoFillBackground(true);
    auto* buttons = new QWidget(ToolBar1);
    auto* rows = new QVBoxLayout(buttons);
    rows->setContentsMargins(2, 2, 2, 2);
    rows->setSpacing(2);
    for (int r = 0; r < 2; ++r) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        bool firstGroup = true;
        for (const std::vector<ToolButtonDef>& group : toolBarRows(r)) {
            if (!firstGroup) row->addWidget(separator(buttons));
            firstGroup = false;
            for (const ToolButtonDef& def : group) {
                QToolButton* button = toolButton(def, buttons);
                row->addWidget(button);
                if (def.module >= 0) {
                    button->setEnabled(false);
                    moduleButtons_.emplace_back(button, def.module);
                }
            }
        }
        row->addStretch();
        rows->addLayout(row);
    }
    ToolBar1->addWidget(buttons);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ToolBar1);
    layout->addStretch();
    Image1->lower();
    Image2->lower();
}

void TfrmMain::placeForScreen(int screenWidth) {
    screenWidth_ = screenWidth;
    showPicture(Image1, screenWidth == 800);
    showPicture(Image2, screenWidth == 1024);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    shownAt_ = QDateTime::currentDateTime();
    // The login runs from the event loop, so that an end requested during it ends the loop.
    QMetaObject::invokeMethod(this, &TfrmMain::startSession, Qt::QueuedConnection);
}

void TfrmMain::startSession() {
    if (!login_ || login_->exec() != QDialog::Accepted) return;
    const WaitCursor wait;
    try {
        TFrmDataMod* module = FrmDataMod();
        if (!module) throw db::DbError(QStringLiteral("数据库无法打开"));
        loadGoodsCaptions(*module->UserQ, GoodsCaptions());
        showOperator();
    } catch (const std::exception&) {
        // Without captions or the operator panel the program still works; the start goes on.
    }
    enableByRights();
    sessionStarted_ = true;
}

void TfrmMain::showOperator() {
    statusPanel_->setFixedWidth(operatorPanelWidth(screenWidth_));
    statusPanel_->show();
    statusPanel_->setText(QStringLiteral("操作人员: ") + CurrentUser().id.trimmed() +
                          QStringLiteral("  登录时间:") + formatDate(shownAt_));
}

void TfrmMain::enableByRights() {
    for (const auto& [action, module] : moduleItems_)
        action->setEnabled(HasRight(Right::Use, module));
    for (const auto& [button, module] : moduleButtons_)
        button->setEnabled(HasRight(Right::Use, module));
}

void TfrmMain::openScreen(const QString& item) {
    const ScreenFactory* factory = screens_.find(item);
    if (!factory) return;
    const std::unique_ptr<QDialog> screen = (*factory)(this);
    keepOpenOnEscape(*screen);
    screen->exec();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!messages().confirm(QStringLiteral("确认退出系统?"))) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace talvor
