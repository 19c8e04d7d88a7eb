#include "master/TFrmPower.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/Users.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

const QString kHeld = QStringLiteral("√");
constexpr int kNameWidth = 100, kRightWidth = 60, kHeadingHeight = 22, kRowHeight = 18;
constexpr int kCheckBoxOffset = 40;
const char* const kHeadings[kRightCount] = {"使用", "新增", "修改", "删除", "复核", "查询", "打印"};

const ControlStates kControls = {
    {"GroupBox1", false, true, true},
    {"DBGrid1", true, false, false},
    {"cmd_add", true, false, false, Right::Add},
    {"cmd_edit", true, false, false, Right::Edit},
    {"cmd_dele", true, false, false, Right::Delete},
    {"cmd_save", false, true, true},
    {"cmd_canc", false, true, true},
    {"cmd_exit", true, false, false},
    {"CheckBox1", false, true, true},
    {"CheckBox2", false, true, true},
    {"CheckBox3", false, true, true},
    {"CheckBox4", false, true, true},
    {"CheckBox5", false, true, true},
    {"CheckBox6", false, true, true},
    {"CheckBox7", false, true, true},
};

QLineEdit* passwordBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    box->setMaxLength(kMaxPasswordLength);
    return box;
}

QTableWidgetItem* fixedCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QPalette().button());
    return item;
}

}  // namespace

TFrmPower::TFrmPower(QWidget* parent) : EditingDialog(parent), powers_(FrmDataMod()->PowerQ) {
    WaitCursor wait;
    setObjectName(QStringLiteral("TFrmPower"));
    setWindowTitle(QStringLiteral("权限设置"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(toolButton("cmd_add", QStringLiteral("新增&A"), [this] { cmd_addClick(); }));
    bar->addWidget(toolButton("cmd_edit", QStringLiteral("修改&E"), [this] { cmd_editClick(); }));
    bar->addWidget(toolButton("cmd_dele", QStringLiteral("删除&D"), [this] { cmd_deleClick(); }));
    bar->addWidget(toolButton("cmd_save", QStringLiteral("保存&S"), [this] { cmd_saveClick(); }));
    bar->addWidget(toolButton("cmd_canc", QStringLiteral("取消&C"), [this] { cmd_cancClick(); }));
    QPushButton* exit = exitButton();
    exit->setText(QStringLiteral("关闭&X"));
    bar->addWidget(exit);
    bar->addStretch();

    auto* users = new DataGrid(powers_,
                               {{QStringLiteral("user_id"), QStringLiteral("编码"), 70},
                                {QStringLiteral("user_name"), QStringLiteral("姓名"), 80}},
                               this);
    users->setObjectName(QStringLiteral("DBGrid1"));
    users->setReadOnly(true);
    users->setFixedWidth(180);

    auto* right = new QVBoxLayout;
    right->addWidget(buildUserGroup());
    right->addWidget(buildRightsArea());
    auto* body = new QHBoxLayout;
    body->addWidget(users);
    body->addLayout(right);
    auto* top = new QVBoxLayout(this);
    top->addLayout(bar);
    top->addLayout(body);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(powers_, &Dataset::currentRowChanged, this, [this] { LoadRightsGrid(); });
    connect(powers_, &Dataset::rowsReset, this, [this] { LoadRightsGrid(); });
    quietly([this] {
        powers_->setLockMode(LockMode::Optimistic);
        powers_->openWith(QStringLiteral("select * from powers"));
        powers_->first();
    });
    LoadRightsGrid();
    setMode(ScreenMode::Null);
}

QWidget* TFrmPower::buildUserGroup() {
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    userId_ = new DBEdit(group);
    userId_->setObjectName(QStringLiteral("DBEdit_user_id"));
    userId_->bind(powers_, QStringLiteral("user_id"));
    auto* name = new DBEdit(group);
    name->setObjectName(QStringLiteral("DBEdit_user_name"));
    name->bind(powers_, QStringLiteral("user_name"));
    name->setReadOnly(true);
    name->setFocusPolicy(Qt::NoFocus);
    password_ = passwordBox("Edit_password", group);
    confirm_ = passwordBox("Edit_confirm", group);
    connectGuarded(userId_, &QLineEdit::returnPressed, this, [this] { CheckNewUserId(); });

    auto* form = new QGridLayout(group);
    form->addWidget(new QLabel(QStringLiteral("员工编码:"), group), 0, 0);
    form->addWidget(userId_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("姓名"), group), 0, 2);
    form->addWidget(name, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("密    码:"), group), 1, 0);
    form->addWidget(password_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("确认密码:"), group), 1, 2);
    form->addWidget(confirm_, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("说明：  √—有此权限    单击左键改变权限"), group), 2,
                    0, 1, 4);
    return group;
}

QWidget* TFrmPower::buildRightsArea() {
    auto* area = new QWidget(this);
    rights_ = new QTableWidget(kModuleCount + 1, kRightCount + 1, area);
    rights_->setObjectName(QStringLiteral("StringGrid1"));
    rights_->horizontalHeader()->hide();
    rights_->verticalHeader()->hide();
    // The rows are lower than the style's least height for the font; the grid shows whole.
    rights_->verticalHeader()->setMinimumSectionSize(kRowHeight);
    rights_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rights_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rights_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rights_->setSelectionMode(QAbstractItemView::NoSelection);
    QFont font = rights_->font();
    font.setPixelSize(14);
    rights_->setFont(font);
    rights_->setColumnWidth(0, kNameWidth);
    for (int c = 1; c <= kRightCount; ++c) {
        rights_->setColumnWidth(c, kRightWidth);
        rights_->setItem(0, c, fixedCell(QString::fromUtf8(kHeadings[c - 1])));
    }
    rights_->setRowHeight(0, kHeadingHeight);
    rights_->setItem(0, 0, fixedCell({}));
    for (int r = 1; r <= kModuleCount; ++r) {
        rights_->setRowHeight(r, kRowHeight);
        rights_->setItem(r, 0, fixedCell(QString::fromUtf8(modules()[size_t(r - 1)].gridCaption)));
        for (int c = 1; c <= kRightCount; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setFlags(Qt::ItemIsEnabled);
            rights_->setItem(r, c, cell);
        }
    }
    const int frame = 2 * rights_->frameWidth();
    rights_->setFixedSize(kNameWidth + kRightCount * kRightWidth + frame,
                          kHeadingHeight + kModuleCount * kRowHeight + frame);
    connect(rights_, &QTableWidget::cellClicked, this,
            [this](int row, int column) { toggleCell(row, column); });

    auto* boxes = new QWidget(area);
    boxes->setFixedHeight(22);
    for (int i = 0; i < kRightCount; ++i) {
        auto* box = new QCheckBox(boxes);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->move(rights_->frameWidth() + kNameWidth + kRightWidth * i + kCheckBoxOffset, 2);
        connect(box, &QCheckBox::clicked, this, [this, i](bool held) { fillColumn(i + 1, held); });
        columnBoxes_[size_t(i)] = box;
    }
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(boxes);
    column->addWidget(rights_);
    return area;
}

void TFrmPower::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, kControls, mode, kRightsModule);
    userId_->setEnabled(mode != ScreenMode::Edit);
}

QString TFrmPower::typedUserId() const { return trimmedInput(userId_->text()); }

void TFrmPower::toggleCell(int row, int column) {
    if (mode() == ScreenMode::Null || row < 1 || column < 1) return;
    QTableWidgetItem* cell = rights_->item(row, column);
    cell->setText(cell->text().trimmed().isEmpty() ? kHeld : QString());
}

void TFrmPower::fillColumn(int column, bool held) {
    if (mode() == ScreenMode::Null) return;
    for (int r = 1; r <= kModuleCount; ++r)
        rights_->item(r, column)->setText(held ? kHeld : QString());
}

void TFrmPower::clearRights() {
    for (int c = 1; c <= kRightCount; ++c)
        for (int r = 1; r <= kModuleCount; ++r) rights_->item(r, c)->setText({});
}

void TFrmPower::LoadRightsGrid() {
    if (!powers_->isActive() || powers_->isEmpty() || powers_->currentRow() < 0) return;
    for (int c = 1; c <= kRightCount; ++c) {
        const QString rights = powers_->text(QLatin1String(kRightColumns[size_t(c - 1)]));
        for (int r = 1; r <= kModuleCount; ++r)
            rights_->item(r, c)->setText(rightGiven(rights, r - 1) ? kHeld : QString());
    }
}

void TFrmPower::StoreRightsGrid() {
    for (int c = 1; c <= kRightCount; ++c) {
        QString rights(kModuleCount, u'0');
        for (int r = 1; r <= kModuleCount; ++r)
            if (rights_->item(r, c)->text() == kHeld) rights[r - 1] = u'1';
        powers_->setValue(QLatin1String(kRightColumns[size_t(c - 1)]), rights);
    }
}

void TFrmPower::CheckNewUserId() {
    const QString id = typedUserId();
    Dataset& query = *FrmDataMod()->TempQ;
    if (userExists(query, id)) {
        messages().inform(QStringLiteral("该员工已存在！"));
        return;
    }
    query.openWith(QStringLiteral("select empl_code from employee where empl_code=:id"),
                   {{QStringLiteral("id"), id}});
    if (query.isEmpty()) {
        messages().inform(QStringLiteral("无此员工编码！"));
        userId_->clear();
        userId_->setModified(true);
    }
}

void TFrmPower::cmd_addClick() {
    WaitCursor wait;
    powers_->append();
    password_->clear();
    confirm_->clear();
    clearRights();
    setMode(ScreenMode::Add);
    userId_->setFocus();
}

void TFrmPower::cmd_editClick() {
    const QString id = typedUserId();
    if (id.isEmpty() || !powers_->locate(QStringLiteral("user_id"), id)) {
        messages().inform(QStringLiteral("请先定位员工编码"));
        return;
    }
    powers_->edit();
    password_->clear();
    confirm_->clear();
    setMode(ScreenMode::Edit);
}

void TFrmPower::cmd_deleClick() {
    const QString id = typedUserId();
    if (id.isEmpty()) {
        messages().inform(QStringLiteral("请先定位删除员工"));
        return;
    }
    const Message question{QStringLiteral("确认删除该记录"), QStringLiteral("提示"),
                           QMessageBox::Yes | QMessageBox::No};
    if (messages().show(question) == QMessageBox::No) return;
    const QString reason = lockOutReason(*FrmDataMod()->TempQ, id, std::nullopt);
    if (!reason.isEmpty()) {
        messages().inform(reason, MessageIcon::Warning);
        return;
    }
    powers_->executeWith(QStringLiteral("delete from powers where user_id=:id"),
                         {{QStringLiteral("id"), id}});
    confirm_->clear();
    // The list is read again so that it no longer shows the deleted user.
    powers_->openWith(QStringLiteral("select * from powers"));
}

// A new user needs the pair to agree; an edited user keeps the password when both are empty.
bool TFrmPower::passwordsAgree() const {
    return trimmedInput(password_->text()) == trimmedInput(confirm_->text());
}

void TFrmPower::cmd_saveClick() {
    if (!passwordsAgree()) {
        messages().inform(QStringLiteral("密码不一致"));
        return;
    }
    const QString id = typedUserId();
    StoreRightsGrid();
    const QString reason =
        lockOutReason(*FrmDataMod()->TempQ, id, powers_->text(QStringLiteral("pow_use")));
    if (!reason.isEmpty()) {
        messages().inform(reason, MessageIcon::Warning);
        return;
    }
    const QString password = trimmedInput(password_->text());
    const bool posted = quietly([&] {
        userId_->commit();
        if (powers_->text(QStringLiteral("user_id")) != id)
            powers_->setValue(QStringLiteral("user_id"), id);
        if (mode() == ScreenMode::Add || !password.isEmpty())
            powers_->setValue(QStringLiteral("password"), hashPassword(password));
        powers_->post();
    });
    if (!posted) return;
    password_->clear();
    confirm_->clear();
    setMode(ScreenMode::Null);
}

void TFrmPower::cmd_cancClick() {
    setMode(ScreenMode::Null);
    powers_->cancel();
    password_->clear();
    confirm_->clear();
    LoadRightsGrid();
}

}  // namespace talvor
