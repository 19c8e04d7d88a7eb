#include "accounts/SettlementFind.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/SettlementDescriptor.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"

namespace talvor {

using namespace Qt::StringLiterals;

SettlementFind::SettlementFind(const SettlementDescriptor& descriptor, QWidget* parent)
    : QDialog(parent), d_(descriptor), found_(FrmDataMod()->*d_.saved) {
    setObjectName(QLatin1String(d_.findClassName));
    setWindowTitle(QString::fromUtf8(d_.findCaption));

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* find = button("cmd_edit", u"查询[&E]"_s);
    QPushButton* choose = button("cmd_save", u"选取[&S]"_s);
    QPushButton* exit = button("cmd_exit", u"退出[&X]"_s);
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {find, choose, exit}) tools->addWidget(b);
    tools->addStretch();

    number_ = new QLineEdit(this);
    number_->setObjectName(u"Edit1"_s);
    date_ = new QDateEdit(QDate::currentDate(), this);
    date_->setObjectName(u"DateTimePicker1"_s);
    date_->setDisplayFormat(u"yyyy'年'M'月'd'日'"_s);
    all_ = new QCheckBox(u"全部"_s, this);
    all_->setObjectName(u"CheckBox1"_s);
    all_->setChecked(true);
    auto* criteria = new QGridLayout;
    criteria->addWidget(new QLabel(QString::fromUtf8(d_.entry.number), this), 0, 0);
    criteria->addWidget(number_, 0, 1);
    criteria->addWidget(new QLabel(QString::fromUtf8(d_.entry.date), this), 0, 2);
    criteria->addWidget(date_, 0, 3);
    criteria->addWidget(all_, 0, 4);

    grid_ = new DataGrid(found_,
                         {{u"fei_no"_s, QString::fromUtf8(d_.entry.number), 120, true},
                          {u"comp_name"_s, u"公司名称"_s, 160, true},
                          {u"oper_name"_s, u"操作人员"_s, 80, true},
                          {u"fei_tota"_s, QString::fromUtf8(d_.entry.amount), 90, true}},
                         this);
    grid_->setObjectName(u"DBGrid1"_s);
    grid_->setReadOnly(true);

    auto* top = new QVBoxLayout(this);
    top->addLayout(tools);
    top->addLayout(criteria);
    top->addWidget(grid_, 1);
    setFixedSize(500, 340);

    // A number asked for overrides the date; ticking 全部 goes back to the date.
    connect(number_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!trimmedInput(text).isEmpty()) all_->setChecked(false);
    });
    connect(all_, &QCheckBox::clicked, number_, &QLineEdit::clear);
    connectGuarded(find, &QPushButton::clicked, this, [this] { cmd_editClick(); });
    connectGuarded(choose, &QPushButton::clicked, this, [this] { cmd_saveClick(); });
    connectGuarded(grid_, &QAbstractItemView::doubleClicked, this, [this] { cmd_saveClick(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    search(u" fei_date=:fei_date "_s, {{u"fei_date"_s, QDate::currentDate()}});
}

void SettlementFind::search(const QString& condition, const QVariantMap& params) {
    quietly([&] {
        found_->openWith(
            u"select * from %1 where "_s.arg(QLatin1String(d_.side->receiptTable)) + condition,
            params);
    });
}

void SettlementFind::cmd_editClick() {
    const QString number = trimmedInput(number_->text());
    if (!number.isEmpty())
        search(u" fei_no=:fei_no "_s, {{u"fei_no"_s, number}});
    else
        search(u" fei_date=:fei_date "_s, {{u"fei_date"_s, date_->date()}});
}

void SettlementFind::cmd_saveClick() {
    if (found_->isActive() && !found_->isEmpty()) accept();
}

}  // namespace talvor
