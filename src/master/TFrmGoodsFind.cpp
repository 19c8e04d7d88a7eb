#include "master/TFrmGoodsFind.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/core/DataRoutines.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/NameCompleter.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

TFrmGoodsFind::TFrmGoodsFind(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmGoodsFind"));
    setWindowTitle(QStringLiteral("商品查询"));
    AdjustComboBoxes(this);
    Dataset* goods = FrmDataMod()->GoodsFindQ;
    goods->openWith(QStringLiteral("select * from goods order by gods_code"));

    auto* choose = new QPushButton(QStringLiteral("选取[&O]"), this);
    choose->setObjectName(QStringLiteral("cmd_prin"));
    auto* exit = new QPushButton(QStringLiteral("退出[&X]"), this);
    exit->setObjectName(QStringLiteral("cmd_exit"));
    for (QPushButton* b : {choose, exit}) b->setAutoDefault(false);

    codeBox_ = new QLineEdit(this);
    codeBox_->setObjectName(QStringLiteral("Edit1"));
    nameBox_ = new QComboBox(this);
    nameBox_->setObjectName(QStringLiteral("ComboBox1"));
    nameBox_->setEditable(true);
    nameBox_->setInsertPolicy(QComboBox::NoInsert);
    nameBox_->setMinimumWidth(220);
    // The names are offered as they are typed, a few at a time: a list of every name would
    // take seconds to fill with a large goods table.
    completeNames(nameBox_, NamedTable::Goods);

    grid_ = new DataGrid(goods,
                         {{QStringLiteral("gods_code"), QStringLiteral("商品编码"), 90, true},
                          {QStringLiteral("gods_name"), QStringLiteral("商品名称"), 160, true},
                          {QStringLiteral("gods_spec"), QStringLiteral("规格"), 80, true},
                          {QStringLiteral("gods_type"), QStringLiteral("类型"), 80, true},
                          {QStringLiteral("gods_kind"), QStringLiteral("种类"), 80, true},
                          {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50, true}},
                         this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setReadOnly(true);
    grid_->setMinimumSize(600, 320);
    ApplyGoodsCaptions(*grid_);

    auto* tools = new QHBoxLayout;
    tools->addWidget(choose);
    tools->addWidget(exit);
    tools->addStretch();
    auto* criteria = new QHBoxLayout;
    criteria->addWidget(new QLabel(QStringLiteral("产品编码"), this));
    criteria->addWidget(codeBox_);
    criteria->addWidget(new QLabel(QStringLiteral("产品名称"), this));
    criteria->addWidget(nameBox_);
    criteria->addStretch();
    auto* top = new QVBoxLayout(this);
    top->addLayout(tools);
    top->addLayout(criteria);
    top->addWidget(grid_);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(codeBox_, &QLineEdit::textChanged, this, &TFrmGoodsFind::codeChanged);
    connect(nameBox_, &QComboBox::currentTextChanged, this, &TFrmGoodsFind::nameChosen);
    connectGuarded(choose, &QPushButton::clicked, this, [this] { cmd_prinClick(); });
    connectGuarded(grid_, &QAbstractItemView::doubleClicked, this, [this] { cmd_prinClick(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmGoodsFind::codeChanged(const QString& text) {
    quietly([&] { grid_->dataset()->locate(QStringLiteral("gods_code"), trimmedInput(text)); });
}

void TFrmGoodsFind::nameChosen(const QString& name) {
    codeBox_->setText(LookupValue(QStringLiteral("goods"), QStringLiteral("gods_name"), name,
                                  QStringLiteral("gods_code")));
}

void TFrmGoodsFind::cmd_prinClick() {
    if (!grid_->dataset()->isEmpty()) accept();
}

QString TFrmGoodsFind::chosenCode() const {
    return grid_->dataset()->text(QStringLiteral("gods_code"));
}

}  // namespace talvor
