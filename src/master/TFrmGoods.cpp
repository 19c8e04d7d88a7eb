#include "master/TFrmGoods.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/core/GoodsCaptions.h"
#include "datamodel/DataModule.h"
#include "master/TFrmCompFind.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/WaitCursor.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

namespace {
constexpr int kGoodsModule = 1;
}

TFrmGoods::TFrmGoods(QWidget* parent)
    : MaintenanceScreen(QStringLiteral("TFrmGoods"), QStringLiteral("产品资料"), kGoodsModule,
                        FrmDataMod()->GoodsQ, QStringLiteral("gods_code"), parent) {
    WaitCursor wait;
    AdjustComboBoxes(this);
    auto* grid = new DataGrid(dataset(),
                              {{QStringLiteral("gods_code"), QStringLiteral("产品编码"), 100},
                               {QStringLiteral("gods_name"), QStringLiteral("名称"), 200},
                               {QStringLiteral("gods_spec"), QStringLiteral("规格"), 100},
                               {QStringLiteral("gods_type"), QStringLiteral("型号"), 100},
                               {QStringLiteral("gods_kind"), QStringLiteral("种类"), 100}},
                              this);
    setGrid(grid);
    grid->setMinimumHeight(220);

    auto* top = new QVBoxLayout(this);
    top->addLayout(buildToolBar());
    top->addWidget(buildQuickFind(QStringLiteral("产品编码")));
    findNamesToo(NamedTable::Goods);
    top->addWidget(buildDetail());
    top->addWidget(grid);
    top->setSizeConstraint(QLayout::SetFixedSize);

    ApplyGoodsCaptions(*grid);
    for (size_t i = 0; i < captionLabels_.size(); ++i)
        captionLabels_[i]->setText(GoodsCaptions()[i]);
    fillPickLists();
    Dataset* goods = dataset();
    goods->setLockMode(LockMode::Optimistic);
    goods->openWith(QStringLiteral("select * from goods order by gods_code"));
    start();
}

DBEdit* TFrmGoods::addEdit(QGridLayout* grid, int row, int column, const QString& label,
                           const char* field) {
    auto* box = new DBEdit(grid->parentWidget());
    box->setObjectName(QStringLiteral("DBEdit_") + QLatin1String(field));
    box->bind(dataset(), QLatin1String(field));
    addFormRow(grid, row, column, label, box);
    return box;
}

DBComboBox* TFrmGoods::addPickList(QGridLayout* grid, int row, int column, const QString& label,
                                   const char* field) {
    auto* box = new DBComboBox(grid->parentWidget());
    box->setObjectName(QStringLiteral("DBComboBox_") + QLatin1String(field));
    box->bind(dataset(), QLatin1String(field));
    addFormRow(grid, row, column, label, box);
    return box;
}

QWidget* TFrmGoods::companyPicker(const char* name, const char* codeField, const char* nameField) {
    auto* holder = new QWidget(this);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    auto* code = new DBEdit(holder);
    code->setObjectName(QStringLiteral("DBEdit_") + QLatin1String(codeField));
    code->bind(dataset(), QLatin1String(codeField));
    auto* pick = new QPushButton(QStringLiteral("..."), holder);
    pick->setObjectName(QLatin1String(name));
    pick->setFixedWidth(24);
    pick->setAutoDefault(false);
    // Enter presses a focused button: the entry goes from the typed code on to the next box,
    // and the picker is for the mouse, as on the bill screens.
    pick->setFocusPolicy(Qt::ClickFocus);
    auto* companyName = new DBEdit(holder);
    companyName->setObjectName(QStringLiteral("DBEdit_") + QLatin1String(nameField));
    companyName->bind(dataset(), QLatin1String(nameField));
    companyName->setReadOnly(true);
    companyName->setFocusPolicy(Qt::NoFocus);
    row->addWidget(code, 2);
    row->addWidget(pick);
    row->addWidget(companyName, 3);
    connectGuarded(pick, &QPushButton::clicked, this,
                   [this, codeField] { pickCompany(QLatin1String(codeField)); });
    return holder;
}

QGroupBox* TFrmGoods::buildDetail() {
    QGroupBox* group = buildDetailGroup(QStringLiteral("产品资料"));
    auto* grid = new QGridLayout(group);
    const char* captioned[] = {"gods_code", "gods_name"};
    for (int i = 0; i < 2; ++i) {
        DBEdit* box = addEdit(grid, 0, i, QString(), captioned[i]);
        captionLabels_[size_t(i)] = qobject_cast<QLabel*>(grid->itemAtPosition(0, i * 2)->widget());
        if (i == 0) setCodeBox(box);
    }
    spec_ = addPickList(grid, 1, 0, QString(), "gods_spec");
    type_ = addPickList(grid, 1, 1, QString(), "gods_type");
    kind_ = addPickList(grid, 2, 0, QString(), "gods_kind");
    for (int i = 2; i < 5; ++i) {
        const int row = i == 4 ? 2 : 1, column = i == 3 ? 1 : 0;
        captionLabels_[size_t(i)] =
            qobject_cast<QLabel*>(grid->itemAtPosition(row, column * 2)->widget());
    }
    unit_ = addPickList(grid, 2, 1, QStringLiteral("单位"), "gods_unit");
    addEdit(grid, 3, 0, QStringLiteral("建议进价"), "valu_in");
    addEdit(grid, 3, 1, QStringLiteral("建议售价"), "valu_out");
    addEdit(grid, 4, 0, QStringLiteral("库存上限"), "max_amou");
    addEdit(grid, 4, 1, QStringLiteral("库存下限"), "min_amou");
    addEdit(grid, 5, 0, QStringLiteral("代理价"), "agent_pric");
    addEdit(grid, 5, 1, QStringLiteral("产地"), "prod_place");
    addFormRow(grid, 6, 0, QStringLiteral("生产商编码"),
               companyPicker("BitBtn1", "prod_code", "prod_name"));
    addFormRow(grid, 6, 1, QStringLiteral("供应商编码"),
               companyPicker("BitBtn2", "supp_code", "supp_name"));
    DBEdit* note = new DBEdit(group);
    note->setObjectName(QStringLiteral("DBEdit_gods_note"));
    note->bind(dataset(), QStringLiteral("gods_note"));
    auto* label = new QLabel(QStringLiteral("备注"), group);
    grid->addWidget(label, 7, 0, Qt::AlignRight);
    grid->addWidget(note, 7, 1, 1, 3);
    // Enter in the remark box goes on to 保存.
    setTabOrder(note, findChild<QWidget*>(QStringLiteral("cmd_save")));
    return group;
}

void TFrmGoods::fillPickLists() {
    FillDBComboDistinct(QStringLiteral("baseitem"), QStringLiteral("gods_spec"), spec_);
    FillDBComboDistinct(QStringLiteral("baseitem"), QStringLiteral("gods_type"), type_);
    FillDBComboDistinct(QStringLiteral("baseitem"), QStringLiteral("gods_kind"), kind_);
    FillDBComboDistinct(QStringLiteral("goods"), QStringLiteral("gods_unit"), unit_);
}

void TFrmGoods::afterSave(const QString& code) {
    reportErrors([this] { fillPickLists(); });
    quietly([&] { dataset()->locate(QStringLiteral("gods_code"), code); });
}

void TFrmGoods::pickCompany(const QString& codeField) {
    if (mode() == ScreenMode::Null) return;
    TFrmCompFind find(this);
    if (find.exec() != QDialog::Accepted) return;
    dataset()->setValue(codeField, find.chosenCode());
}

}  // namespace talvor
