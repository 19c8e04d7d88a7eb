#include "master/MaintenanceScreen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/Dataset.h"
#include "datamodel/db/DbError.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/ReadOnlyLook.h"
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

}  // namespace

void addFormRow(QGridLayout* grid, int row, int column, const QString& label, QWidget* control) {
    auto* text = new QLabel(label, grid->parentWidget());
    text->setBuddy(control);
    grid->addWidget(text, row, column * 2, Qt::AlignRight);
    grid->addWidget(control, row, column * 2 + 1);
}

MaintenanceScreen::MaintenanceScreen(const QString& objectName, const QString& caption, int module,
                                     Dataset* dataset, const QString& codeField, QWidget* parent)
    : EditingDialog(parent), module_(module), dataset_(dataset), codeField_(codeField) {
    setObjectName(objectName);
    setWindowTitle(caption);
}

QBoxLayout* MaintenanceScreen::buildToolBar(const ToolBarNames& names) {
    auto* bar = new QHBoxLayout;
    const auto caption = [](const char* text) { return QString::fromUtf8(text); };
    bar->addWidget(toolButton(names.add, caption(names.addCaption), [this] { cmd_addClick(); }));
    bar->addWidget(toolButton(names.edit, caption(names.editCaption), [this] { cmd_editClick(); }));
    bar->addWidget(toolButton(names.dele, caption(names.deleCaption), [this] { cmd_deleClick(); }));
    bar->addWidget(toolButton(names.save, caption(names.saveCaption), [this] { cmd_saveClick(); }));
    bar->addWidget(toolButton(names.canc, caption(names.cancCaption), [this] { cmd_cancClick(); }));
    QPushButton* exit = exitButton();
    exit->setObjectName(QLatin1String(names.exit));
    exit->setText(caption(names.exitCaption));
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
    showDisabledAsReadOnly(*group);
    return group;
}

void MaintenanceScreen::setGrid(DataGrid* grid) {
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setReadOnly(true);
}

const ControlStates& MaintenanceScreen::controlStates() const { return kPattern; }

void MaintenanceScreen::start() { setMode(ScreenMode::Null); }

void MaintenanceScreen::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, controlStates(), mode, module_);
}

QString MaintenanceScreen::trimmedCode() const {
    return codeBox_ ? trimmedInput(codeBox_->text()) : QString();
}

bool MaintenanceScreen::locateCode(const QString& code) {
    return quietly([&] { dataset_->locate(codeField_, code); });
}

void MaintenanceScreen::cmd_addClick() {
    if (!quietly([this] { dataset_->append(); })) return;
    setMode(ScreenMode::Add);
    codeBox_->setFocus();
    afterEntering();
}

void MaintenanceScreen::cmd_editClick() {
    const QString code = trimmedCode();
    if (code.isEmpty()) return;
    if (!quietly([&] {
            if (locatesRowOnEdit()) dataset_->locate(codeField_, code);
            dataset_->edit();
        }))
        return;
    setMode(ScreenMode::Edit);
    codeBox_->setFocus();
    afterEntering();
}

void MaintenanceScreen::cmd_deleClick() {
    if (codeBox_->text().isEmpty() || dataset_->isEmpty()) return;
    if (!messages().confirm(QStringLiteral("确认删除?"))) return;
    quietly([this] { dataset_->deleteRow(); });
}

void MaintenanceScreen::cmd_saveClick() {
    if (!entryComplete()) return;
    const QString code = trimmedCode();
    if (code.isEmpty()) return;
    try {
        beforePost();
        // The box writes what is still being typed when the row posts; the code is stored
        // without the blanks around it.
        codeBox_->commit();
        if (dataset_->text(codeField_) != code) dataset_->setValue(codeField_, code);
        dataset_->post();
    } catch (const Error& e) {
        messages().inform(QStringLiteral("保存失败：") + e.message(), MessageIcon::Warning);
        return;
    }
    setMode(ScreenMode::Null);
    afterSave(code);
}

void MaintenanceScreen::cmd_cancClick() {
    quietly([this] { dataset_->cancel(); });
    setMode(ScreenMode::Null);
    afterCancel();
}

// An exact code wins; otherwise, on a screen that finds by name, the next goods after the
// current one whose name matches, round to the first, so that pressing again goes on.
void MaintenanceScreen::cmd_findClick() {
    const QString typed = trimmedInput(findBox_->text());
    quietly([&] {
        if (!dataset_->locate(codeField_, typed) && namedTable_ && !typed.isEmpty())
            locateNextNamed(typed);
    });
}

void MaintenanceScreen::locateNextNamed(const QString& typed) {
    const std::optional<QString> code =
        nextMatchingCode(FrmDataMod()->AdoConn(), *namedTable_, typed, dataset_->text(codeField_));
    if (code) dataset_->locate(codeField_, *code);
}

}  // namespace talvor
