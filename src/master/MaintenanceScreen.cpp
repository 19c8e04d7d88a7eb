#include "master/MaintenanceScreen.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/core/Routines.h"
#include "datamodel/Dataset.h"
#include "datamodel/db/DbError.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

const ControlStates kPattern = {
    {"DBGrid1", true, false, false},
    {"cmd_add", true, false, false, Right::Add},
    {"cmd_edit", true, false, false, Right::Edit},
    {"cmd_dele", true, false, false, Right::Delete},
    {"cmd_save", false, true, true},
    {"cmd_canc", false, true, true},
    {"cmd_exit", true, false, false},
    {"GroupBox2", false, true, true},
    {"GroupBox1", true, false, false},
};

// Database steps of the pattern swallow their errors: the mode stays as it was.
template <typename Fn>
bool guarded(Fn&& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

void addFormRow(QGridLayout* grid, int row, int column, const QString& label, QWidget* control) {
    auto* text = new QLabel(label, grid->parentWidget());
    text->setBuddy(control);
    grid->addWidget(text, row, column * 2, Qt::AlignRight);
    grid->addWidget(control, row, column * 2 + 1);
}

MaintenanceScreen::MaintenanceScreen(const QString& objectName, const QString& caption, int module,
                                     Dataset* dataset, const QString& codeField, QWidget* parent)
    : QDialog(parent), module_(module), dataset_(dataset), codeField_(codeField) {
    setObjectName(objectName);
    setWindowTitle(caption);
}

QPushButton* MaintenanceScreen::toolButton(const char* name, const QString& caption,
                                           void (MaintenanceScreen::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connectGuarded(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    return button;
}

QBoxLayout* MaintenanceScreen::buildToolBar() {
    auto* bar = new QHBoxLayout;
    bar->addWidget(toolButton("cmd_add", QStringLiteral("新增[&A]"), &MaintenanceScreen::cmd_addClick));
    bar->addWidget(toolButton("cmd_edit", QStringLiteral("修改[&E]"), &MaintenanceScreen::cmd_editClick));
    bar->addWidget(toolButton("cmd_dele", QStringLiteral("删除[&D]"), &MaintenanceScreen::cmd_deleClick));
    bar->addWidget(toolButton("cmd_save", QStringLiteral("保存[&S]"), &MaintenanceScreen::cmd_saveClick));
    bar->addWidget(toolButton("cmd_canc", QStringLiteral("取消[&C]"), &MaintenanceScreen::cmd_cancClick));
    auto* exit = new QPushButton(QStringLiteral("退出[&X]"), this);
    exit->setObjectName(QStringLiteral("cmd_exit"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    bar->addWidget(exit);
    bar->addStretch();
    return bar;
}

QGroupBox* MaintenanceScreen::buildQuickFind(const QString& label) {
    auto* group = new QGroupBox(QStringLiteral("快速查找"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* row = new QHBoxLayout(group);
    findBox_ = new QLineEdit(group);
    findBox_->setObjectName(QStringLiteral("Edit1"));
    auto* find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(QStringLiteral("cmd_find"));
    find->setAutoDefault(false);
    row->addWidget(new QLabel(label, group));
    row->addWidget(findBox_);
    row->addWidget(find);
    connectGuarded(find, &QPushButton::clicked, this, [this] { cmd_findClick(); });
    connectGuarded(findBox_, &QLineEdit::returnPressed, this, [this] { cmd_findClick(); });
    return group;
}

QGroupBox* MaintenanceScreen::buildDetailGroup(const QString& title) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    return group;
}

void MaintenanceScreen::setGrid(DataGrid* grid) {
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setReadOnly(true);
}

void MaintenanceScreen::start() { setMode(ScreenMode::Null); }

void MaintenanceScreen::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, kPattern, mode, module_);
}

QString MaintenanceScreen::trimmedCode() const { return codeBox_ ? trimmedInput(codeBox_->text()) : QString(); }

bool MaintenanceScreen::locateCode(const QString& code) {
    return guarded([&] { dataset_->locate(codeField_, code); });
}

void MaintenanceScreen::cmd_addClick() {
    if (!guarded([this] { dataset_->append(); })) return;
    setMode(ScreenMode::Add);
    codeBox_->setFocus();
}

void MaintenanceScreen::cmd_editClick() {
    const QString code = trimmedCode();
    if (code.isEmpty()) return;
    if (!guarded([&] {
            if (locatesRowOnEdit()) dataset_->locate(codeField_, code);
            dataset_->edit();
        }))
        return;
    setMode(ScreenMode::Edit);
    codeBox_->setFocus();
}

void MaintenanceScreen::cmd_deleClick() {
    if (codeBox_->text().isEmpty() || dataset_->isEmpty()) return;
    if (!messages().confirm(QStringLiteral("确认删除?"))) return;
    guarded([this] { dataset_->deleteRow(); });
}

void MaintenanceScreen::cmd_saveClick() {
    const QString code = trimmedCode();
    if (code.isEmpty()) return;
    try {
        // The box writes what is still being typed when the row posts; the code is stored
        // without the blanks around it.
        codeBox_->commit();
        if (dataset_->text(codeField_) != code) dataset_->setValue(codeField_, code);
        dataset_->post();
    } catch (const db::DbError& e) {
        messages().inform(QStringLiteral("保存失败：") + e.message(), MessageIcon::Warning);
        return;
    }
    setMode(ScreenMode::Null);
    afterSave(code);
}

void MaintenanceScreen::cmd_cancClick() {
    guarded([this] { dataset_->cancel(); });
    setMode(ScreenMode::Null);
    afterCancel();
}

void MaintenanceScreen::cmd_findClick() { locateCode(trimmedInput(findBox_->text())); }

void MaintenanceScreen::closeEvent(QCloseEvent* event) {
    if (mode_ != ScreenMode::Null) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MaintenanceScreen::reject() {
    if (mode_ == ScreenMode::Null) QDialog::reject();
}

}  // namespace talvor
