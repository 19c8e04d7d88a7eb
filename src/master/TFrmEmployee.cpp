#include "master/TFrmEmployee.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

namespace {

constexpr int kEmployeeModule = 0;

enum class Control { Text, Sex, PickList, Date };

struct EmployeeField {
    const char* field;
    const char* label;
    Control control;
};

// The first nineteen are the personal data, the rest the employment data.
const EmployeeField kFields[] = {
    {"empl_code", "员工编号", Control::Text},
    {"empl_name", "姓名", Control::Text},
    {"empl_sex", "性别", Control::Sex},
    {"regi_place", "户口", Control::PickList},
    {"native_place", "籍贯", Control::PickList},
    {"empl_birth", "出生日期", Control::Date},
    {"id_card", "身份证号", Control::Text},
    {"rela_phon", "联系电话", Control::Text},
    {"mobile", "移动电话", Control::Text},
    {"exig_rela", "紧急联系人", Control::Text},
    {"exig_tele", "紧急电话", Control::Text},
    {"school_name", "毕业学校", Control::PickList},
    {"special", "专业", Control::PickList},
    {"leave_school", "毕业时间", Control::Text},
    {"degree", "学位", Control::PickList},
    {"society_no", "养老保险号", Control::Text},
    {"medica_no", "医疗保险号", Control::Text},
    {"rela_addr", "联系地址", Control::Text},
    {"post_code", "邮编", Control::Text},
    {"dept_name", "部门", Control::PickList},
    {"in_date", "入职日期", Control::Date},
    {"duty", "职务", Control::PickList},
    {"salary_type", "薪资类型", Control::PickList},
    {"tech_class", "技能等级", Control::PickList},
    {"class_type", "班次", Control::PickList},
    {"low_salary", "保障底薪", Control::Text},
};
constexpr int kPersonalFields = 19;
constexpr int kFieldCount = int(std::size(kFields));

const ControlStates kControls = {
    {"DBGrid1", true, false, false},
    {"BitBtn2", true, false, false, Right::Add},
    {"BitBtn7", true, false, false, Right::Edit},
    {"BitBtn6", true, false, false, Right::Delete},
    {"BitBtn4", false, true, true},
    {"BitBtn3", false, true, true},
    {"BitBtn5", true, false, false},
    {"BitBtn1", true, false, false},
    {"GroupBox1", false, true, true},
    {"GroupBox2", false, true, true},
};

const ToolBarNames kToolBar = {
    .add = "BitBtn2",
    .edit = "BitBtn7",
    .dele = "BitBtn6",
    .save = "BitBtn4",
    .canc = "BitBtn3",
    .exit = "BitBtn1",
    .addCaption = "新增&A",
    .editCaption = "修改&E",
    .deleCaption = "删除&D",
    .saveCaption = "保存&S",
    .cancCaption = "取消&C",
    .exitCaption = "退出&X",
};

}  // namespace

TFrmEmployee::TFrmEmployee(QWidget* parent)
    : MaintenanceScreen(QStringLiteral("TFrmEmployee"), QStringLiteral("员工资料"), kEmployeeModule,
                        FrmDataMod()->EmployeeQ, QStringLiteral("empl_code"), parent) {
    WaitCursor wait;
    AdjustComboBoxes(this);
    auto* grid = new DataGrid(dataset(),
                              {{QStringLiteral("empl_code"), QStringLiteral("编号"), 70},
                               {QStringLiteral("empl_name"), QStringLiteral("姓名"), 80},
                               {QStringLiteral("empl_sex"), QStringLiteral("性别"), 40},
                               {QStringLiteral("dept_name"), QStringLiteral("部门"), 90}},
                              this);
    setGrid(grid);
    QPalette tip = grid->palette();
    tip.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    grid->setPalette(tip);
    grid->setMinimumWidth(320);

    QBoxLayout* bar = buildToolBar(kToolBar);
    auto* print = new QPushButton(QStringLiteral("打印&P"), this);
    print->setObjectName(QStringLiteral("BitBtn5"));
    print->setVisible(false);
    bar->insertWidget(5, print);

    auto* groups = new QVBoxLayout;
    groups->addWidget(buildGroup("GroupBox1", QStringLiteral("个人资料"), 0, kPersonalFields));
    groups->addWidget(
        buildGroup("GroupBox2", QStringLiteral("在职资料"), kPersonalFields, kFieldCount));
    auto* body = new QHBoxLayout;
    body->addLayout(groups);
    body->addWidget(grid);
    auto* top = new QVBoxLayout(this);
    top->addLayout(bar);
    top->addLayout(body);
    top->setSizeConstraint(QLayout::SetFixedSize);

    fillPickLists();
    Dataset* employees = dataset();
    connect(employees, &Dataset::currentRowChanged, this, [this] { showRowDates(); });
    connect(employees, &Dataset::rowsReset, this, [this] { showRowDates(); });
    employees->setLockMode(LockMode::Optimistic);
    employees->openWith(QStringLiteral("select * from employee"));
    start();
    showRowDates();
}

QGroupBox* TFrmEmployee::buildGroup(const char* name, const QString& title, int firstField,
                                    int endField) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(group);
    for (int i = firstField; i < endField; ++i) {
        const EmployeeField& f = kFields[i];
        const QString column = QLatin1String(f.field);
        QWidget* control = nullptr;
        if (f.control == Control::Date) {
            control = datePicker(f.field, group);
        } else if (f.control == Control::Text) {
            auto* box = new DBEdit(group);
            box->setObjectName(QStringLiteral("DBEdit_") + column);
            box->bind(dataset(), column);
            if (i == 0) setCodeBox(box);
            control = box;
        } else {
            auto* box = new DBComboBox(group);
            box->setObjectName(QStringLiteral("DBComboBox_") + column);
            if (f.control == Control::Sex)
                box->addItems({QStringLiteral("男"), QStringLiteral("女")});
            else
                pickLists_.push_back({column, box});
            box->bind(dataset(), column);
            control = box;
        }
        const int place = i - firstField;
        addFormRow(grid, place / 2, place % 2, QString::fromUtf8(f.label), control);
    }
    return group;
}

// The dates are not bound: while browsing they follow the row, while entering they keep what
// the user sets, and save writes their date parts.
QDateEdit* TFrmEmployee::datePicker(const char* field, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(QStringLiteral("DateTimePicker_") + QLatin1String(field));
    picker->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
    picker->setCalendarPopup(false);
    (qstrcmp(field, "empl_birth") == 0 ? birth_ : hired_) = picker;
    return picker;
}

const ControlStates& TFrmEmployee::controlStates() const { return kControls; }

void TFrmEmployee::fillPickLists() {
    for (const PickList& list : pickLists_)
        FillDBComboDistinct(QStringLiteral("employee"), list.column, list.box);
}

void TFrmEmployee::showRowDates() {
    if (mode() != ScreenMode::Null) return;
    quietly([this] {
        const Dataset* employees = dataset();
        if (employees->currentRow() < 0) return;
        birth_->setDate(employees->value(QStringLiteral("empl_birth")).toDate());
        hired_->setDate(employees->value(QStringLiteral("in_date")).toDate());
    });
}

// A code or a name of blanks would be stored empty, so the trimmed texts are what count.
bool TFrmEmployee::entryComplete() {
    const bool complete =
        !trimmedCode().isEmpty() &&
        !trimmedInput(findChild<DBEdit*>(QStringLiteral("DBEdit_empl_name"))->text()).isEmpty();
    if (!complete) messages().inform(QStringLiteral("员工编号,名称不能为空"));
    return complete;
}

void TFrmEmployee::beforePost() {
    dataset()->setValue(QStringLiteral("empl_birth"), birth_->date());
    dataset()->setValue(QStringLiteral("in_date"), hired_->date());
}

void TFrmEmployee::afterEntering() {
    reportErrors([this] { fillPickLists(); });
    if (mode() != ScreenMode::Add) return;
    quietly([this] { dataset()->setValue(QStringLiteral("empl_sex"), QStringLiteral("男")); });
    birth_->setDate(QDate::currentDate());
    hired_->setDate(QDate::currentDate());
}

void TFrmEmployee::afterCancel() {
    locateCode(trimmedCode());
    showRowDates();
}

}  // namespace talvor
