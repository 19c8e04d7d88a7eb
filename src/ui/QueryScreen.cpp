#include "ui/QueryScreen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/core/DataRoutines.h"
#include "common/core/GoodsCaptions.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/DisplayFormat.h"
#include "datamodel/Rights.h"
#include "reports/core/PreparedReport.h"
#include "reports/core/ReportLayout.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/LayoutPrinting.h"
#include "ui/NameCompleter.h"
#include "ui/WaitCursor.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

namespace {

QString name(const char* text) { return QString::fromLatin1(text); }

QPushButton* toolButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name(objectName));
    button->setAutoDefault(false);
    return button;
}

QString formatted(double value) { return formatFloat(value); }

// The grid does not repaint row by row while a query or a print walks its list.
class FrozenDisplay {
  public:
    explicit FrozenDisplay(QWidget& widget) : widget_(widget) { widget_.setUpdatesEnabled(false); }
    ~FrozenDisplay() { widget_.setUpdatesEnabled(true); }
    FrozenDisplay(const FrozenDisplay&) = delete;
    FrozenDisplay& operator=(const FrozenDisplay&) = delete;

  private:
    QWidget& widget_;
};

}  // namespace

QueryScreen::QueryScreen(const QueryDescriptor& descriptor, QWidget* parent)
    : QDialog(parent), d_(descriptor), list_(FrmDataMod()->*descriptor.list) {
    WaitCursor wait;
    setObjectName(name(d_.className));
    setWindowTitle(QString::fromUtf8(d_.caption));

    auto* bar = new QHBoxLayout;
    auto* find = toolButton(this, "cmd_find", QString::fromUtf8(d_.findCaption));
    auto* print = toolButton(this, "cmd_prin", QStringLiteral("打印[&P]"));
    auto* exit = toolButton(this, "cmd_exit", QStringLiteral("退出[&X]"));
    connectGuarded(find, &QPushButton::clicked, this, [this] { cmd_findClick(); });
    connectGuarded(print, &QPushButton::clicked, this, [this] { cmd_prinClick(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    for (QPushButton* b : {find, print, exit}) bar->addWidget(b);
    bar->addStretch();

    auto* criteria = new QHBoxLayout;
    for (const Criterion& c : d_.criteria) {
        if (c.label && c.kind != CriterionKind::Check) {
            auto* label = new QLabel(QString::fromUtf8(c.label), this);
            criteria->addWidget(label);
            label->setBuddy(buildCriterion(c));
        } else {
            buildCriterion(c);
        }
        criteria->addWidget(boxes_.value(name(c.name)));
    }

    auto* totals = new QHBoxLayout;
    QHBoxLayout* totalsRow = d_.totalsPlace == TotalsPlace::CriteriaRow ? criteria : totals;
    for (const QueryTotal& t : d_.totals) {
        auto* box = new QLineEdit(QStringLiteral("0"), this);
        box->setObjectName(name(t.name));
        box->setReadOnly(true);
        box->setMaximumWidth(120);
        totalsRow->addWidget(new QLabel(QString::fromUtf8(t.label), this));
        totalsRow->addWidget(box);
        totals_.insert(name(t.name), box);
    }
    criteria->addStretch();
    totals->addStretch();

    grid_ = new DataGrid(list_, d_.columns, this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setReadOnly(true);
    grid_->setMinimumHeight(360);
    grid_->fitColumns(760);
    if (d_.goodsCaptions) ApplyGoodsCaptions(*grid_);

    auto* body = new QHBoxLayout;
    body->addWidget(grid_, 1);
    if (d_.besideGrid) body->addWidget(d_.besideGrid(*this));

    auto* top = new QVBoxLayout(this);
    top->addLayout(bar);
    top->addLayout(criteria);
    top->addLayout(body);
    if (!totals_.isEmpty() && d_.totalsPlace == TotalsPlace::BelowGrid) top->addLayout(totals);
    top->setSizeConstraint(QLayout::SetFixedSize);

    AdjustComboBoxes(this);
    for (const Criterion& c : d_.criteria) connectRules(c);
    if (d_.opening) d_.opening(*this);
    applyRights();
}

QWidget* QueryScreen::buildCriterion(const Criterion& c) {
    QWidget* widget = nullptr;
    switch (c.kind) {
        case CriterionKind::Text:
            widget = new QLineEdit(this);
            break;
        case CriterionKind::Combo: {
            auto* combo = new QComboBox(this);
            combo->setEditable(true);
            if (c.itemsTable) {
                FillComboDistinct(name(c.itemsTable), name(c.itemsColumn), combo);
                completeNamesOf(combo, name(c.itemsTable), name(c.itemsColumn));
            }
            for (const char* item : c.items) combo->addItem(QString::fromUtf8(item));
            widget = combo;
            break;
        }
        case CriterionKind::Check: {
            auto* check = new QCheckBox(QString::fromUtf8(c.label), this);
            check->setChecked(c.checked);
            widget = check;
            break;
        }
        case CriterionKind::Date: {
            auto* date = new QDateEdit(QDate::currentDate(), this);
            date->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
            widget = date;
            break;
        }
        case CriterionKind::Choice: {
            widget = new QWidget(this);
            auto* row = new QHBoxLayout(widget);
            row->setContentsMargins(0, 0, 0, 0);
            auto* group = new QButtonGroup(widget);
            for (size_t i = 0; i < c.items.size(); ++i) {
                auto* radio = new QRadioButton(QString::fromUtf8(c.items[i]), widget);
                radio->setObjectName(name(c.name) + u'_' + QString::number(i));
                radio->setChecked(i == 0);
                group->addButton(radio, int(i));
                row->addWidget(radio);
            }
            break;
        }
        case CriterionKind::Picker: {
            widget = new QWidget(this);
            auto* row = new QHBoxLayout(widget);
            row->setContentsMargins(0, 0, 0, 0);
            auto* edit = new QLineEdit(widget);
            edit->setObjectName(name(c.name) + QStringLiteral("_edit"));
            auto* pick = toolButton(widget, "", QStringLiteral("..."));
            pick->setObjectName(name(c.name) + QStringLiteral("_pick"));
            pick->setMaximumWidth(28);
            row->addWidget(edit);
            row->addWidget(pick);
            connectGuarded(pick, &QPushButton::clicked, this, [this, &c, edit] {
                const QString code = c.pick ? c.pick(this) : QString();
                if (!code.isEmpty()) edit->setText(code);
            });
            break;
        }
    }
    widget->setObjectName(name(c.name));
    if (c.width > 0) widget->setFixedWidth(c.width);
    boxes_.insert(name(c.name), widget);
    return widget;
}

QWidget* QueryScreen::box(const char* criterion) const {
    QWidget* widget = boxes_.value(name(criterion));
    if (!widget)
        throw std::invalid_argument(
            QStringLiteral("窗口 %1 没有条件 %2").arg(objectName(), name(criterion)).toStdString());
    return widget;
}

void QueryScreen::connectRules(const Criterion& c) {
    if (c.empties.empty() && !c.fillsCode.target && !c.locates) return;
    QWidget* widget = box(c.name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, &c](const QString& text) { userChanged(c, text); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::currentTextChanged, this, [this, &c](const QString& text) {
            if (!trimmedInput(text).isEmpty()) userChanged(c, text);
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        connect(check, &QCheckBox::clicked, this, [this, &c] { userChanged(c, {}); });
    }
}

// Errors of the lookup or of an unopened list end the rule without a word.
void QueryScreen::userChanged(const Criterion& c, const QString& text) {
    QString code = trimmedInput(text);
    if (c.fillsCode.target) {
        quietly([&] {
            code = LookupValue(name(c.fillsCode.table), name(c.fillsCode.keyColumn), code,
                               name(c.fillsCode.resultColumn));
        });
        setText(c.fillsCode.target, code);
    }
    for (const char* other : c.empties) empty(other);
    if (c.locates) locate(c.locates, code);
}

void QueryScreen::locate(const char* field, const QString& code) {
    quietly([&] {
        if (list_->isActive() && !list_->isEmpty()) list_->locate(name(field), code);
    });
}

void QueryScreen::empty(const char* criterion) {
    QWidget* widget = box(criterion);
    const QSignalBlocker silent(widget);
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        check->setChecked(false);
    else
        setText(criterion, {});
}

void QueryScreen::setText(const char* criterion, const QString& text) {
    QWidget* widget = box(criterion);
    const QSignalBlocker silent(widget);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    } else if (auto* edit = widget->findChild<QLineEdit*>()) {
        const QSignalBlocker silentEdit(edit);
        edit->setText(text);
    }
}

QString QueryScreen::text(const char* criterion) const {
    QWidget* widget = box(criterion);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return trimmedInput(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return trimmedInput(combo->currentText());
    if (auto* edit = widget->findChild<QLineEdit*>()) return trimmedInput(edit->text());
    return {};
}

QDate QueryScreen::date(const char* criterion) const {
    auto* picker = qobject_cast<QDateEdit*>(box(criterion));
    return picker ? picker->date() : QDate();
}

bool QueryScreen::checked(const char* criterion) const {
    auto* check = qobject_cast<QCheckBox*>(box(criterion));
    return check && check->isChecked();
}

int QueryScreen::choice(const char* criterion) const {
    auto* group = box(criterion)->findChild<QButtonGroup*>();
    return group ? group->checkedId() : -1;
}

QString QueryScreen::totalText(const char* total) const {
    QLineEdit* box = totals_.value(name(total));
    return box ? box->text() : QString();
}

void QueryScreen::applyRights() {
    findChild<QPushButton*>(QStringLiteral("cmd_find"))
        ->setEnabled(HasRight(Right::Find, d_.module));
    const bool rows = list_->isActive() && !list_->isEmpty();
    findChild<QPushButton*>(QStringLiteral("cmd_prin"))
        ->setEnabled(HasRight(Right::Print, d_.module) && (!d_.printNeedsRows || rows));
}

void QueryScreen::cmd_findClick() {
    auto* find = findChild<QPushButton*>(QStringLiteral("cmd_find"));
    find->setEnabled(false);
    struct Restore {
        QueryScreen* screen;
        ~Restore() { screen->applyRights(); }
    } restore{this};
    WaitCursor wait;
    const FrozenDisplay frozen(*grid_);
    if (d_.run) {
        d_.run(*this, *list_);
    } else {
        const QueryStatement s = d_.statement(*this);
        list_->openWith(s.sql, s.params);
    }
    showTotals();
}

// Sums by row, in list order, without moving the list until it returns to its first row.
void QueryScreen::showTotals() {
    for (const QueryTotal& t : d_.totals) {
        double sum = 0;
        const int field = list_->fieldIndex(name(t.field));
        for (int row = 0; row < list_->recordCount(); ++row)
            sum += list_->value(row, field).toDouble();
        totals_.value(name(t.name))->setText(formatted(sum));
    }
    if (!list_->isEmpty()) list_->first();
}

void QueryScreen::cmd_prinClick() {
    if (d_.printNeedsRows && (!list_->isActive() || list_->isEmpty())) return;
    quietly([this] {
        report::ReportLayout& layout = systemLayout(name(d_.layout));
        if (d_.printsGoodsCaptions) setGoodsHeadings(layout);
        for (const Criterion& c : d_.criteria)
            if (c.reportLabel)
                layout.setCaption(name(c.reportLabel), c.kind == CriterionKind::Date
                                                           ? formatDate(date(c.name))
                                                           : text(c.name));
        for (const QueryTotal& t : d_.totals)
            if (t.reportLabel) layout.setCaption(name(t.reportLabel), totalText(t.name));
        if (d_.printing) d_.printing(*this, layout);
        const FrozenDisplay frozen(*grid_);
        report::PreparedReport pages = layout.prepare();
        if (d_.morePages) d_.morePages(*this, pages);
        report::present(pages);
    });
}

}  // namespace talvor
