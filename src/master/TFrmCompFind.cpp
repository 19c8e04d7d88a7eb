#include "master/TFrmCompFind.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "datamodel/DataModule.h"
#include "master/MaintenanceScreen.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"

namespace talvor {

TFrmCompFind::TFrmCompFind(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmCompFind"));
    setWindowTitle(QStringLiteral("公司查询"));
    Dataset* companies = FrmDataMod()->CompanyQ;
    quietly(
        [&] { companies->openWith(QStringLiteral("select * from company order by comp_code")); });

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
    auto* top = new QHBoxLayout(this);
    top->addWidget(grid_, 1);
    top->addLayout(right);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

QString TFrmCompFind::chosenCode() const {
    return grid_->dataset()->text(QStringLiteral("comp_code"));
}

QString TFrmCompFind::chosenName() const {
    return grid_->dataset()->text(QStringLiteral("comp_name"));
}

}  // namespace talvor
