#include "master/TFrmCompFind.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "datamodel/DataModule.h"
#include "master/MaintenanceScreen.h"
#include "master/core/NameSearch.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"

namespace talvor {

TFrmCompFind::TFrmCompFind(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmCompFind"));
    setWindowTitle(QStringLiteral("公司查询"));
    Dataset* companies = FrmDataMod()->CompanyQ;
    companies_ = companies;
    quietly([this] { narrow({}); });

    grid_ = new DataGrid(companies,
                         {{QStringLiteral("comp_code"), QStringLiteral("客户编码"), 80, true},
                          {QStringLiteral("comp_name"), QStringLiteral("客户公司"), 180, true},
                          {QStringLiteral("head_name"), QStringLiteral("负责人名"), 80, true}},
                         this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setReadOnly(true);
    grid_->setMinimumSize(380, 300);

    auto* details = new QGridLayout;
    const std::pair<const char*, QString> fields[] = {
        {"comp_code", QStringLiteral("公司编码")}, {"comp_name", QStringLiteral("客户公司")},
        {"comp_addr", QStringLiteral("公司地址")}, {"rela_name", QStringLiteral("联系人名")},
        {"rela_phon", QStringLiteral("电话")},     {"head_name", QStringLiteral("负责人名")},
        {"head_phon", QStringLiteral("电话")},
    };
    int row = 0;
    for (const auto& [field, label] : fields) {
        auto* box = new DBEdit(this);
        box->setObjectName(QStringLiteral("DBEdit_") + QLatin1String(field));
        box->bind(companies, QLatin1String(field));
        box->setReadOnly(true);
        addFormRow(details, row++, 0, label, box);
    }
    details->setRowStretch(row, 1);

    auto* choose = new QPushButton(QStringLiteral("选择[&O]"), this);
    choose->setObjectName(QStringLiteral("BitBtn1"));
    auto* cancel = new QPushButton(QStringLiteral("取消[&C]"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QAbstractItemView::doubleClicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(choose);
    buttons->addWidget(cancel);
    auto* right = new QVBoxLayout;
    right->addLayout(details);
    right->addLayout(buttons);
    findBox_ = new QLineEdit(this);
    findBox_->setObjectName(QStringLiteral("Edit1"));
    findBox_->setPlaceholderText(QStringLiteral("编码、名称或拼音首字母"));
    connect(findBox_, &QLineEdit::textEdited, this,
            [this](const QString& typed) { quietly([&] { narrow(typed); }); });
    auto* find = new QHBoxLayout;
    find->addWidget(new QLabel(QStringLiteral("查找"), this));
    find->addWidget(findBox_, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(find);
    left->addWidget(grid_, 1);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(right);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

// The list narrows to the companies whose code or name holds the typed text, or whose name's
// pinyin initials do; an empty text lists them all.
void TFrmCompFind::narrow(const QString& typed) {
    if (typed.trimmed().isEmpty()) {
        companies_->openWith(QStringLiteral("select * from company order by comp_code"));
        return;
    }
    companies_->openWith(QStringLiteral("select * from company where instr(lower(comp_code), "
                                        ":typed) > 0 or %1 order by comp_code")
                             .arg(nameMatches(NamedTable::Company)),
                         namedParams(typed));
}

QString TFrmCompFind::chosenCode() const {
    return grid_->dataset()->text(QStringLiteral("comp_code"));
}

QString TFrmCompFind::chosenName() const {
    return grid_->dataset()->text(QStringLiteral("comp_name"));
}

}  // namespace talvor
