#include "master/TFrmUser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/core/BasicSettings.h"
#include "common/core/BillSettings.h"
#include "common/core/GoodsCaptions.h"
#include "common/core/ProgramDir.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/GridEditScreen.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

constexpr int kSettingsModule = 3;

const ControlStates kControls = {
    {"cmd_edit", true, false, false, Right::Edit},
    {"cmd_save", false, true, true},
    {"cmd_canc", false, true, true},
    {"cmd_exit", true, false, false},
    {"GroupBox1", false, true, true},
    {"GroupBox2", false, true, true},
    {"GroupBox3", false, true, true},
};

struct Labelled {
    const char* field;
    const char* label;
};

const Labelled kCompanyFields[] = {
    {"user_posi", "本店位置"}, {"stad_no", "统一编号"},  {"comp_name", "公司名称"},
    {"user_tele", "公司电话"}, {"user_fax", "公司传真"}, {"user_addr", "公司地址"},
    {"user_mail", "E_MAIL"},   {"user_www", "公司主页"},
};

const Labelled kCaptionFields[] = {
    {"gods_code", "编码"}, {"gods_name", "名称"}, {"gods_spec", "规格"},
    {"gods_type", "型号"}, {"gods_kind", "种类"},
};

QLineEdit* numberBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(3);
    box->setFixedWidth(50);
    return box;
}

}  // namespace

TFrmUser::TFrmUser(QWidget* parent)
    : EditingDialog(parent),
      lists_{{{FrmDataMod()->SpecDefiQ,
               "select distinct gods_spec_id,gods_spec  from baseitem order by gods_spec_id "},
              {FrmDataMod()->TypeDefiQ,
               "select distinct gods_type_id,Gods_type from baseitem order by gods_type_id "},
              {FrmDataMod()->KindDefiQ,
               "select distinct gods_kind_id,gods_kind from baseitem order by gods_kind_id "},
              {FrmDataMod()->MoneDefQ,
               "select distinct mone_code,mone_type,mone_rate from baseitem order by mone_code "},
              {FrmDataMod()->FeeDefiQ,
               "select distinct fee_code,fee_type from baseitem order by fee_code "}}} {
    setObjectName(QStringLiteral("TFrmUser"));
    setWindowTitle(QStringLiteral("基本设置"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(toolButton("cmd_edit", QStringLiteral("修改[&E]"), [this] { cmd_editClick(); }));
    bar->addWidget(
        toolButton("cmd_save", QStringLiteral("保存[&S]"), [this] { SaveBasicSettings(); }));
    bar->addWidget(toolButton("cmd_canc", QStringLiteral("取消[&C]"), [this] { cmd_cancClick(); }));
    bar->addWidget(exitButton());
    bar->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(buildCompanyGroup());
    left->addWidget(buildPrintGroup());
    left->addWidget(buildCaptionGroup());
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(buildPickLists());
    auto* top = new QVBoxLayout(this);
    top->addLayout(bar);
    top->addLayout(body);
    top->setSizeConstraint(QLayout::SetFixedSize);

    setMode(ScreenMode::Null);
    readPaper();
    const WaitCursor wait;
    Dataset* settings = FrmDataMod()->UserQ;
    settings->setLockMode(LockMode::Optimistic);
    settings->openWith(QStringLiteral("select top 1 * from userinfo "));
    for (PickList& list : lists_) {
        list.dataset->setLockMode(LockMode::Batch);
        list.dataset->openWith(QLatin1String(list.statement));
    }
    retitlePickLists(GoodsCaptions());
}

DBEdit* TFrmUser::boundEdit(const char* field, QWidget* parent) {
    auto* box = new DBEdit(parent);
    box->setObjectName(QStringLiteral("DBEdit_") + QLatin1String(field));
    box->bind(FrmDataMod()->UserQ, QLatin1String(field));
    return box;
}

QGroupBox* TFrmUser::buildCompanyGroup() {
    auto* group = new QGroupBox(QStringLiteral("公司资料"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QGridLayout(group);
    int row = 0;
    for (const Labelled& f : kCompanyFields) {
        DBEdit* box = boundEdit(f.field, group);
        if (qstrcmp(f.field, "comp_name") == 0) companyName_ = box;
        form->addWidget(new QLabel(QString::fromUtf8(f.label), group), row, 0);
        form->addWidget(box, row++, 1);
    }
    return group;
}

QGroupBox* TFrmUser::buildPrintGroup() {
    auto* group = new QGroupBox(QStringLiteral("出货报表参数"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    billBottom_ = boundEdit("bill_bottom", group);
    paperType_ = new QComboBox(group);
    paperType_->setObjectName(QStringLiteral("ComboBox1"));
    paperType_->setEditable(true);
    paperType_->addItems({QStringLiteral("默认"), kCustomPaper, QStringLiteral("A4")});
    paperWidth_ = numberBox("Edit_page_width", group);
    paperLength_ = numberBox("Edit_page_length", group);
    lineCount_ = numberBox("Edit_line_count", group);
    connect(paperType_, &QComboBox::textActivated, this,
            [this](const QString& type) { paperTypeChosen(type); });

    auto* form = new QGridLayout(group);
    form->addWidget(new QLabel(QStringLiteral("单据下标"), group), 0, 0);
    form->addWidget(billBottom_, 0, 1, 1, 5);
    form->addWidget(new QLabel(QStringLiteral("打印纸张大小"), group), 1, 0);
    form->addWidget(paperType_, 1, 1, 1, 5);
    form->addWidget(new QLabel(QStringLiteral("宽"), group), 2, 0);
    form->addWidget(paperWidth_, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("毫米"), group), 2, 2);
    form->addWidget(new QLabel(QStringLiteral("长"), group), 2, 3);
    form->addWidget(paperLength_, 2, 4);
    form->addWidget(new QLabel(QStringLiteral("毫米"), group), 2, 5);
    form->addWidget(new QLabel(QStringLiteral("出货报表格式"), group), 3, 0);
    form->addWidget(new QLabel(QStringLiteral("行数"), group), 3, 3);
    form->addWidget(lineCount_, 3, 4);
    return group;
}

QGroupBox* TFrmUser::buildCaptionGroup() {
    auto* group = new QGroupBox(QStringLiteral("产品属性标题"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    auto* form = new QGridLayout(group);
    for (size_t i = 0; i < captions_.size(); ++i) {
        captions_[i] = boundEdit(kCaptionFields[i].field, group);
        const int row = int(i) / 2, column = int(i) % 2 * 2;
        form->addWidget(new QLabel(QString::fromUtf8(kCaptionFields[i].label), group), row, column);
        form->addWidget(captions_[i], row, column + 1);
    }
    return group;
}

QWidget* TFrmUser::buildPickLists() {
    const std::vector<GridColumn> columns[] = {
        {{QStringLiteral("gods_spec_id"), QStringLiteral("编号"), 50},
         {QStringLiteral("gods_spec"), QStringLiteral("规格"), 110}},
        {{QStringLiteral("gods_type_id"), QStringLiteral("编号"), 50},
         {QStringLiteral("gods_type"), QStringLiteral("型号"), 110}},
        {{QStringLiteral("gods_kind_id"), QStringLiteral("编号"), 50},
         {QStringLiteral("gods_kind"), QStringLiteral("种类"), 110}},
        {{QStringLiteral("mone_code"), QStringLiteral("代码"), 50},
         {QStringLiteral("mone_type"), QStringLiteral("币种"), 70},
         {QStringLiteral("mone_rate"), QStringLiteral("汇率"), 50}},
        {{QStringLiteral("fee_code"), QStringLiteral("代码"), 50},
         {QStringLiteral("fee_type"), QStringLiteral("结算方式"), 110}},
    };
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    // Sizes (规格) and models top right, categories below them; settlement types and
    // currencies at the bottom left of the area.
    const int places[][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 0}};
    for (size_t i = 0; i < lists_.size(); ++i) {
        DataGrid* list = makeEditingGrid(lists_[i].dataset, columns[i], area);
        addEntryKeys(list);
        list->setObjectName(QStringLiteral("DBGrid_") + lists_[i].dataset->name());
        list->setFixedSize(200, 150);
        lists_[i].grid = list;
        grid->addWidget(list, places[i][0], places[i][1]);
    }
    return area;
}

void TFrmUser::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, kControls, mode, kSettingsModule);
    for (const PickList& list : lists_) list.grid->setReadOnly(mode == ScreenMode::Null);
}

void TFrmUser::readPaper() {
    const PaperSettings paper = readPaperSettings(iniPath());
    paperType_->setEditText(paper.pageType);
    paperWidth_->setText(QString::number(paper.pageWidth));
    paperLength_->setText(QString::number(paper.pageLength));
    lineCount_->setText(paper.lineCount);
    const bool fixed = fixedPaperSize(paper.pageType).has_value();
    paperWidth_->setReadOnly(fixed);
    paperLength_->setReadOnly(fixed);
}

void TFrmUser::paperTypeChosen(const QString& type) {
    const std::optional<PaperSize> size = fixedPaperSize(type);
    if (size) {
        paperWidth_->setText(QString::number(size->width));
        paperLength_->setText(QString::number(size->length));
    }
    if (size || type == kCustomPaper) {
        paperWidth_->setReadOnly(size.has_value());
        paperLength_->setReadOnly(size.has_value());
    }
}

void TFrmUser::cmd_editClick() {
    setMode(ScreenMode::Edit);
    beginListEditing(*FrmDataMod()->UserQ);
    for (const PickList& list : lists_) beginListEditing(*list.dataset);
}

void TFrmUser::SaveBasicSettings() {
    if (trimmedInput(paperType_->currentText()) == kCustomPaper) {
        const QString problem = customPaperProblem(paperWidth_->text(), paperLength_->text());
        if (!problem.isEmpty()) {
            messages().inform(problem);
            return;
        }
    }
    for (const PickList& list : lists_) list.grid->commitEditing();
    const WaitCursor wait;
    GoodsCaptionTexts captions;
    for (size_t i = 0; i < captions_.size(); ++i) {
        captions[i] = captionOrDefault(captions_[i]->text(), i);
        if (captions[i] != trimmedInput(captions_[i]->text())) {
            captions_[i]->setText(captions[i]);
            captions_[i]->setModified(true);
        }
    }
    quietly([] { FrmDataMod()->UserQ->post(); });
    writePickLists();
    retitlePickLists(captions);
    savePrintSettings(
        {companyName_->text(), billBottom_->text(), trimmedInput(lineCount_->text()),
         trimmedInput(paperType_->currentText()), paperWidth_->text(), paperLength_->text()},
        iniPath(), billSettings());
    GoodsCaptions() = captions;
    setMode(ScreenMode::Null);
}

void TFrmUser::writePickLists() {
    for (const PickList& list : lists_)
        quietly([&] {
            list.dataset->checkBrowseMode();
            writeListChanges(*list.dataset);
        });
}

void TFrmUser::retitlePickLists(const GoodsCaptionTexts& captions) {
    for (size_t i = 0; i < 3; ++i)
        lists_[i].grid->datasetModel()->setColumnTitle(1, captions[i + 2]);
}

void TFrmUser::cmd_cancClick() {
    quietly([] { FrmDataMod()->UserQ->cancel(); });
    for (const PickList& list : lists_) {
        list.grid->commitEditing();
        quietly([&] { discardListChanges(*list.dataset); });
    }
    setMode(ScreenMode::Null);
}

void TFrmUser::closeEvent(QCloseEvent* event) {
    if (mode() != ScreenMode::Null) cmd_cancClick();
    EditingDialog::closeEvent(event);
}

void TFrmUser::reject() {
    if (mode() != ScreenMode::Null) cmd_cancClick();
    EditingDialog::reject();
}

}  // namespace talvor
