#include "master/TFrmCompany.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "ui/BoundControls.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/WaitCursor.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

namespace {

constexpr int kCompanyModule = 2;

struct DetailField {
    const char* field;
    const char* label;
    bool pickList;
};

// In the order the detail area shows them, two to a row.
const DetailField kFields[] = {
    {"comp_code", "公司编码", false}, {"comp_name", "公司名称", false},
    {"comp_addr", "公司地址", false}, {"rela_name", "联系人名", false},
    {"rela_phon", "电话", false},     {"head_name", "负责人名", false},
    {"head_phon", "电话", false},     {"comp_type", "公司类型", true},
    {"bank_no", "银行帐号", false},   {"belo_coun", "国家", true},
    {"belo_area", "地区", true},      {"belo_prov", "省市", true},
    {"post_code", "邮编", false},     {"fax", "传真", false},
    {"e_mail", "E_mail", false},      {"comp_note", "备注", false},
};

}  // namespace

TFrmCompany::TFrmCompany(QWidget* parent)
    : MaintenanceScreen(QStringLiteral("TFrmCompany"), QStringLiteral("公司资料"), kCompanyModule,
                        FrmDataMod()->CompanyQ, QStringLiteral("comp_code"), parent) {
    WaitCursor wait;
    AdjustComboBoxes(this);
    auto* grid = new DataGrid(dataset(),
                              {{QStringLiteral("comp_code"), QStringLiteral("公司编码"), 100},
                               {QStringLiteral("comp_name"), QStringLiteral("客户名称"), 260},
                               {QStringLiteral("head_name"), QStringLiteral("负责人名"), 100}},
                              this);
    setGrid(grid);
    grid->setMinimumHeight(200);

    auto* top = new QVBoxLayout(this);
    top->addLayout(buildToolBar());
    top->addWidget(buildQuickFind(QStringLiteral("公司编码")));
    top->addWidget(buildDetail());
    top->addWidget(grid);
    top->setSizeConstraint(QLayout::SetFixedSize);

    Dataset* companies = dataset();
    companies->setLockMode(LockMode::Optimistic);
    companies->openWith(QStringLiteral("select * from company order by comp_code"));
    start();
}

QGroupBox* TFrmCompany::buildDetail() {
    QGroupBox* group = buildDetailGroup(QStringLiteral("公司资料"));
    auto* grid = new QGridLayout(group);
    int index = 0;
    for (const DetailField& f : kFields) {
        const QString name = QLatin1String(f.field);
        QWidget* control;
        if (f.pickList) {
            auto* box = new DBComboBox(group);
            box->setObjectName(QStringLiteral("DBComboBox_") + name);
            FillComboDistinct(QStringLiteral("company"), name, box);
            box->bind(dataset(), name);
            control = box;
        } else {
            auto* box = new DBEdit(group);
            box->setObjectName(QStringLiteral("DBEdit_") + name);
            box->bind(dataset(), name);
            if (index == 0) setCodeBox(box);
            control = box;
        }
        addFormRow(grid, index / 2, index % 2, QString::fromUtf8(f.label), control);
        ++index;
    }
    return group;
}

void TFrmCompany::afterCancel() { locateCode(trimmedCode()); }

}  // namespace talvor
