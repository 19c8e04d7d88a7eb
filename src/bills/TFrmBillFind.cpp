#include "bills/TFrmBillFind.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bills/BillScreen.h"
#include "common/core/DataRoutines.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/NameCompleter.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

namespace {

QString baseStatement(TFrmBillFind::Table table) {
    return table == TFrmBillFind::Incoming ? QStringLiteral(
                                                 "select * from inmain  where bill_date between "
                                                 ":date1 and :date2 and bill_type=:billtype")
                                           : QStringLiteral(
                                                 "select * from outmain  where bill_date between "
                                                 ":date1 and :date2  and bill_type=:billtype ");
}

// The bills with their company's name, looked up as the bill screens look it up.
std::vector<FieldDef> resultFields() {
    std::vector<FieldDef> fields;
    for (const char* f : {"bill_no", "bill_date", "vouc_no", "comp_code", "remark"})
        fields.push_back(FieldDef::data(QLatin1String(f)));
    fields.push_back(FieldDef::lookup(QStringLiteral("comp_name"), FrmDataMod()->CompanyQ,
                                      QStringLiteral("comp_code"), QStringLiteral("comp_code"),
                                      QStringLiteral("comp_name"), 50));
    return fields;
}

QDateEdit* datePicker(const QDate& date, QWidget* parent, const char* name) {
    auto* picker = new QDateEdit(date, parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
    return picker;
}

}  // namespace

TFrmBillFind::TFrmBillFind(Table table, QWidget* parent)
    : QDialog(parent),
      table_(table),
      results_(table == Incoming ? FrmDataMod()->InFindQ : FrmDataMod()->OutFindQ) {
    setObjectName(table == Incoming ? QStringLiteral("TFrmInFind") : QStringLiteral("TFrmOutFind"));
    setWindowTitle(table == Incoming ? QStringLiteral("单据查询") : QStringLiteral("出货单查询"));
    AdjustComboBoxes(this);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* find = button("cmd_edit", QStringLiteral("查询[&E]"));
    QPushButton* choose = button("cmd_save", QStringLiteral("选取[&S]"));
    QPushButton* exit = button("cmd_exit", QStringLiteral("退出[&X]"));
    auto* tools = new QHBoxLayout;
    tools->addWidget(find);
    tools->addSpacing(12);
    tools->addWidget(choose);
    tools->addSpacing(12);
    tools->addWidget(exit);
    tools->addStretch();

    billNo_ = new QLineEdit(this);
    billNo_->setObjectName(QStringLiteral("Edit1"));
    voucher_ = new QLineEdit(this);
    voucher_->setObjectName(QStringLiteral("Edit2"));
    company_ = new QComboBox(this);
    company_->setObjectName(QStringLiteral("ComboBox1"));
    company_->setEditable(true);
    company_->setInsertPolicy(QComboBox::NoInsert);
    completeNames(company_, NamedTable::Company);
    from_ = datePicker(QDate::currentDate().addDays(-30), this, "DateTimePicker1");
    to_ = datePicker(QDate::currentDate(), this, "DateTimePicker2");
    auto* criteria = new QGridLayout;
    criteria->addWidget(new QLabel(QStringLiteral("单号"), this), 0, 0);
    criteria->addWidget(billNo_, 0, 1);
    criteria->addWidget(new QLabel(QStringLiteral("公司名称"), this), 0, 2);
    criteria->addWidget(company_, 0, 3, 1, 3);
    criteria->addWidget(new QLabel(QStringLiteral("凭证号"), this), 1, 0);
    criteria->addWidget(voucher_, 1, 1);
    criteria->addWidget(new QLabel(QStringLiteral("日期"), this), 1, 2);
    criteria->addWidget(from_, 1, 3);
    criteria->addWidget(new QLabel(QStringLiteral("—"), this), 1, 4);
    criteria->addWidget(to_, 1, 5);

    grid_ = new DataGrid(results_,
                         {{QStringLiteral("bill_no"), QStringLiteral("编号"), 120, true},
                          {QStringLiteral("bill_date"), QStringLiteral("日期 "), 80, true},
                          {QStringLiteral("vouc_no"), QStringLiteral("凭证号"), 80, true},
                          {QStringLiteral("comp_name"), QStringLiteral("公司名称"), 140, true},
                          {QStringLiteral("remark"), QStringLiteral("备注"), 80, true}},
                         this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setReadOnly(true);

    auto* top = new QVBoxLayout(this);
    top->addLayout(tools);
    top->addLayout(criteria);
    top->addWidget(grid_, 1);
    setFixedSize(532, 354);

    connectGuarded(find, &QPushButton::clicked, this, [this] { cmd_editClick(); });
    connectGuarded(choose, &QPushButton::clicked, this, [this] { cmd_saveClick(); });
    connectGuarded(grid_, &QAbstractItemView::doubleClicked, this, [this] { cmd_saveClick(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    results_->setFieldDefs(resultFields());
    reportErrors([this] {
        FillComboDistinct(QStringLiteral("company"), QStringLiteral("comp_name"), company_);
    });
    company_->setEditText(QString());
    search(baseStatement(table_), {});
}

void TFrmBillFind::search(const QString& statement, const QVariantMap& extra) {
    quietly([&] {
        QVariantMap params = extra;
        params.insert(QStringLiteral("date1"), from_->date());
        params.insert(QStringLiteral("date2"), to_->date());
        params.insert(QStringLiteral("billtype"), CurrentBillType());
        results_->openWith(statement, params);
    });
}

void TFrmBillFind::cmd_editClick() {
    QString statement = baseStatement(table_);
    QVariantMap extra;
    const QString billNo = trimmedInput(billNo_->text());
    if (!billNo.isEmpty()) {
        statement += QStringLiteral(" and bill_no=:bill_no ");
        extra.insert(QStringLiteral("bill_no"), billNo);
    }
    const QString voucher = trimmedInput(voucher_->text());
    if (!voucher.isEmpty()) {
        statement += QStringLiteral(" and vouc_no=:vouc_no ");
        extra.insert(QStringLiteral("vouc_no"), voucher);
    }
    const QString company = trimmedInput(company_->currentText());
    if (!company.isEmpty()) {
        statement += QStringLiteral(" and comp_code=:comp_code ");
        extra.insert(QStringLiteral("comp_code"),
                     LookupValue(QStringLiteral("company"), QStringLiteral("comp_name"), company,
                                 QStringLiteral("comp_code")));
    }
    search(statement, extra);
}

void TFrmBillFind::cmd_saveClick() {
    if (results_->isActive() && !results_->isEmpty()) accept();
}

QString TFrmBillFind::chosenBillNo() const { return results_->text(QStringLiteral("bill_no")); }

}  // namespace talvor
