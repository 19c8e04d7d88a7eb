#include "accounts/SettlementScreen.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "accounts/SettlementFind.h"
#include "common/core/DataRoutines.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/DisplayFormat.h"
#include "master/MaintenanceScreen.h"
#include "reports/core/ReportLayout.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/NameCompleter.h"
#include "ui/WaitCursor.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

// The boxes carry the names of the receipt row's columns they fill.
const ControlStates kSettlementStates = {
    {"GroupBox1", true, false, false},
    {"GroupBox2", true, false, false},
    {"GroupBox3", true, false, false},
    {"GroupBox4", false, false, false},
    {"GroupBox5", false, false, true},
    {"cmd_add", true, false, false, Right::Add},
    {"cmd_calc", true, false, false, Right::Edit},
    {"cmd_save", false, false, true},
    {"cmd_canc", false, false, true},
    {"cmd_find", true, false, false, Right::Find},
    {"cmd_prin", true, false, false, Right::Print},
    {"cmd_exit", true, false, false},
};

// The run-time labels of the printed receipt and the boxes whose texts they carry.
constexpr const char* kPrintedBoxes[][2] = {
    {"khbm", "comp_code"}, {"khmc", "comp_name"},  {"lsdh", "bill_no"},    {"rqfw1", "start_date"},
    {"rqfw2", "end_date"}, {"ysjea", "shou_tota"}, {"ysjeb", "fact_tota"}, {"qkje", "lack_tota"},
    {"sqjy", "last_tota"}, {"skdh", "fei_no"},     {"skri", "fei_date"},   {"skje", "fei_tota"},
    {"zhje", "rest_tota"}, {"kdr", "oper_name"},   {"skr", "fei_name"},    {"fhr", "chek_name"},
    {"pzh", "invo_no"},    {"bz", "re_mark"},
};

// Emptied by a settlement; the receipt date keeps its value.
constexpr const char* kClearedBySettling[] = {"shou_tota", "fact_tota", "lack_tota", "last_tota",
                                              "fei_tota",  "rest_tota", "fei_no",    "invo_no",
                                              "re_mark",   "oper_name", "fei_name",  "chek_name"};

constexpr const char* kPeople[] = {"oper_name", "fei_name", "chek_name"};

QString utf8(const char* text) { return QString::fromUtf8(text); }

QString shownValue(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.typeId() == QMetaType::Double) return formatPlainNumber(value.toDouble());
    return value.toString();
}

}  // namespace

SettlementScreen::SettlementScreen(const SettlementDescriptor& descriptor, QWidget* parent)
    : EditingDialog(parent), d_(descriptor), bills_(FrmDataMod()->*d_.bills) {
    WaitCursor wait;
    setObjectName(QLatin1String(d_.className));
    setWindowTitle(utf8(d_.caption));
    auto* criteria = new QHBoxLayout;
    criteria->addWidget(buildCompanyGroup(), 2);
    criteria->addWidget(buildBillNoGroup(), 1);
    criteria->addWidget(buildRangeGroup(), 2);
    auto* figures = new QHBoxLayout;
    figures->addWidget(buildResultGroup(), 1);
    figures->addWidget(buildEntryGroup(), 3);
    auto* top = new QVBoxLayout(this);
    top->addLayout(buildToolBar());
    top->addLayout(criteria);
    top->addLayout(figures);
    top->addWidget(buildGrid(), 1);
    setFixedSize(792, 573);
    AdjustComboBoxes(this);
    reportErrors([this] { fillPickLists(); });
    setMode(ScreenMode::Null);
}

QLayout* SettlementScreen::buildToolBar() {
    auto* bar = new QHBoxLayout;
    bar->addWidget(toolButton("cmd_add", u"结算[&K]"_s, [this] { cmd_addClick(); }));
    bar->addWidget(toolButton("cmd_calc", utf8(d_.startCaption), [this] { cmd_calcClick(); }));
    bar->addSpacing(16);
    bar->addWidget(toolButton("cmd_save", u"保存[&S]"_s, [this] { cmd_saveClick(); }));
    bar->addWidget(toolButton("cmd_canc", u"取消[&C]"_s, [this] { cmd_cancClick(); }));
    bar->addSpacing(16);
    bar->addWidget(toolButton("cmd_find", u"查询[&F]"_s, [this] { cmd_findClick(); }));
    bar->addWidget(toolButton("cmd_prin", u"打印[&P]"_s, [this] { cmd_prinClick(); }));
    bar->addSpacing(16);
    bar->addWidget(exitButton());
    bar->addStretch();
    return bar;
}

QGroupBox* SettlementScreen::group(const char* name, const QString& title) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* SettlementScreen::lineEdit(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QComboBox* SettlementScreen::comboBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QDateEdit* SettlementScreen::datePicker(QWidget* parent, const char* name) {
    auto* picker = new QDateEdit(QDate::currentDate(), parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(u"yyyy'年'M'月'd'日'"_s);
    return picker;
}

QGroupBox* SettlementScreen::buildCompanyGroup() {
    QGroupBox* box = group("GroupBox1", u"按客户结算"_s);
    auto* grid = new QGridLayout(box);
    code_ = comboBox(box, "comp_code");
    name_ = comboBox(box, "comp_name");
    completeNames(name_, NamedTable::Company);
    addFormRow(grid, 0, 0, u"编码"_s, code_);
    addFormRow(grid, 1, 0, u"名称"_s, name_);
    const auto typed = [this](QComboBox* box, auto handler) {
        connectGuarded(box, &QComboBox::textActivated, this, handler);
        connectGuarded(box->lineEdit(), &QLineEdit::textEdited, this, handler);
        connect(box, &QComboBox::editTextChanged, this, [this] { dropSettlement(); });
    };
    typed(code_, [this] { companyCodeTyped(); });
    typed(name_, [this] { companyNameTyped(); });
    return box;
}

QGroupBox* SettlementScreen::buildBillNoGroup() {
    QGroupBox* box = group("GroupBox2", u"按流水号结算"_s);
    auto* grid = new QGridLayout(box);
    QLineEdit* billNo = lineEdit(box, "bill_no");
    addFormRow(grid, 0, 0, u"流水单号"_s, billNo);
    // A bill number settles that bill alone, whoever its company.
    connect(billNo, &QLineEdit::textChanged, this, [this](const QString& text) {
        dropSettlement();
        if (trimmedInput(text).isEmpty()) return;
        code_->setEditText({});
        name_->setEditText({});
    });
    return box;
}

QGroupBox* SettlementScreen::buildRangeGroup() {
    QGroupBox* box = group("GroupBox3", u"结算日期范围"_s);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(u"日期"_s, box), 0, 0, 2, 1);
    int row = 0;
    for (const char* name : {"start_date", "end_date"}) {
        QDateEdit* picker = datePicker(box, name);
        grid->addWidget(picker, row++, 1);
        connect(picker, &QDateEdit::dateChanged, this, [this] { dropSettlement(); });
    }
    return box;
}

QGroupBox* SettlementScreen::buildResultGroup() {
    QGroupBox* box = group("GroupBox4", u"结算结果"_s);
    auto* grid = new QGridLayout(box);
    const std::pair<const char*, const char*> figures[] = {{d_.figures.due, "shou_tota"},
                                                           {d_.figures.settled, "fact_tota"},
                                                           {d_.figures.open, "lack_tota"},
                                                           {"上期节余", "last_tota"}};
    int row = 0;
    for (const auto& [label, name] : figures)
        addFormRow(grid, row++, 0, utf8(label), lineEdit(box, name));
    return box;
}

QGroupBox* SettlementScreen::buildEntryGroup() {
    QGroupBox* box = group("GroupBox5", utf8(d_.entryGroup));
    auto* grid = new QGridLayout(box);
    addFormRow(grid, 0, 0, utf8(d_.entry.number), lineEdit(box, "fei_no"));
    addFormRow(grid, 0, 1, utf8(d_.entry.date), datePicker(box, "fei_date"));
    QLineEdit* amount = lineEdit(box, "fei_tota");
    QLineEdit* balance = lineEdit(box, "rest_tota");
    balance->setReadOnly(true);
    for (QLineEdit* blue : {amount, balance}) blue->setStyleSheet(u"color: blue"_s);
    addFormRow(grid, 1, 0, utf8(d_.entry.amount), amount);
    addFormRow(grid, 1, 1, u"本次结余"_s, balance);
    const char* people[] = {"开 单 人", d_.entry.person, "复 核 人"};
    for (int i = 0; i < 3; ++i)
        addFormRow(grid, 2 + i / 2, i % 2, utf8(people[i]), comboBox(box, kPeople[i]));
    addFormRow(grid, 3, 1, u"凭证号"_s, lineEdit(box, "invo_no"));
    addFormRow(grid, 4, 0, u"备注"_s, lineEdit(box, "re_mark"));
    connectGuarded(amount, &QLineEdit::textChanged, this, [this] { showNewBalance(); });
    return box;
}

QWidget* SettlementScreen::buildGrid() {
    auto* grid = new DataGrid(bills_,
                              {{u"bill_no"_s, u"流水号"_s, 120, true},
                               {u"bill_date"_s, u"开单日期"_s, 80, true},
                               {u"oper_name"_s, u"开单人"_s, 70, true},
                               {u"comp_code"_s, u"公司编码"_s, 70, true},
                               {u"comp_name"_s, u"公司名称"_s, 150, true},
                               {u"shou_tota"_s, utf8(d_.gridTitles.due), 80, true},
                               {u"fact_tota"_s, utf8(d_.gridTitles.settled), 80, true},
                               {u"margin"_s, utf8(d_.gridTitles.open), 80, true}},
                              this);
    grid->setObjectName(u"DBGrid1"_s);
    grid->setReadOnly(true);
    return grid;
}

QString SettlementScreen::text(const char* box) const {
    const QString name = QLatin1String(box);
    if (auto* date = findChild<QDateEdit*>(name)) return formatDate(date->date());
    if (auto* combo = findChild<QComboBox*>(name)) return combo->currentText();
    return findChild<QLineEdit*>(name)->text();
}

void SettlementScreen::setText(const char* box, const QString& text) {
    const QString name = QLatin1String(box);
    if (auto* combo = findChild<QComboBox*>(name))
        combo->setEditText(text);
    else
        findChild<QLineEdit*>(name)->setText(text);
}

void SettlementScreen::fillPickLists() {
    FillComboDistinct(u"company"_s, u"comp_code"_s, code_);
    FillComboDistinct(u"company"_s, u"comp_name"_s, name_);
    for (const char* person : kPeople)
        FillComboDistinct(u"employee"_s, u"empl_name"_s,
                          findChild<QComboBox*>(QLatin1String(person)));
}

void SettlementScreen::companyCodeTyped() {
    const QString code = code_->currentText();
    if (code.isEmpty()) return;
    name_->setEditText({});
    name_->setEditText(LookupValue(u"company"_s, u"comp_code"_s, code, u"comp_name"_s));
}

void SettlementScreen::companyNameTyped() {
    const QString name = name_->currentText();
    if (name.isEmpty()) return;
    code_->setEditText({});
    code_->setEditText(LookupValue(u"company"_s, u"comp_name"_s, name, u"comp_code"_s));
}

void SettlementScreen::showNewBalance() {
    const QString amount = text("fei_tota");
    if (!settlement_ || trimmedInput(amount).isEmpty()) return;
    if (const std::optional<QString> balance = NewBalance(*settlement_, amount))
        setText("rest_tota", *balance);
}

void SettlementScreen::showSettlement() {
    setText("shou_tota", settlement_->due);
    setText("fact_tota", settlement_->received);
    setText("lack_tota", settlement_->shortfall);
    setText("last_tota", settlement_->previousBalance);
    setText("fei_tota", u"0"_s);
    setText("rest_tota", settlement_->shortfall);
}

void SettlementScreen::dropSettlement() {
    if (!settlement_ || mode_ != ScreenMode::Null) return;
    settlement_.reset();
    setMode(ScreenMode::Null);
}

// 收款 / 付款 needs a settlement that still stands and leaves something owed.
void SettlementScreen::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, kSettlementStates, mode, d_.module);
    if (mode == ScreenMode::Null && !(settlement_ && settlement_->owed()))
        findChild<QWidget*>(u"cmd_calc"_s)->setEnabled(false);
}

void SettlementScreen::cmd_addClick() {
    const SettlementCriteria criteria{.compCode = trimmedInput(code_->currentText()),
                                      .compName = trimmedInput(name_->currentText()),
                                      .billNo = trimmedInput(text("bill_no")),
                                      .from = findChild<QDateEdit*>(u"start_date"_s)->date(),
                                      .to = findChild<QDateEdit*>(u"end_date"_s)->date()};
    if (criteria.empty()) {
        messages().inform(u"请选择客户或流水号结帐！"_s);
        return;
    }
    WaitCursor wait;
    for (const char* box : kClearedBySettling) setText(box, {});
    settlement_.reset();
    quietly([&] { settlement_ = Settle(*bills_, *d_.side, criteria); });
    setMode(ScreenMode::Null);
    if (settlement_) showSettlement();
}

void SettlementScreen::cmd_calcClick() {
    if (!settlement_ || !settlement_->owed()) return;
    setMode(ScreenMode::Edit);
    setText("fei_tota", {});
    setText("rest_tota", {});
    findChild<QDateEdit*>(u"fei_date"_s)->setDate(QDate::currentDate());
    setText("fei_no", NowStamp());
    findChild<QWidget*>(u"fei_no"_s)->setFocus();
}

void SettlementScreen::cmd_saveClick() {
    const ReceiptEntry entry{.date = findChild<QDateEdit*>(u"fei_date"_s)->date(),
                             .number = trimmedInput(text("fei_no")),
                             .amount = text("fei_tota"),
                             .issuer = trimmedInput(text("oper_name")),
                             .collector = trimmedInput(text("fei_name")),
                             .checker = trimmedInput(text("chek_name")),
                             .voucher = trimmedInput(text("invo_no")),
                             .remark = trimmedInput(text("re_mark"))};
    WaitCursor wait;
    ReceiptResult result;
    try {
        result = SaveReceipt(FrmDataMod()->AdoConn(), *d_.side, *settlement_, entry);
    } catch (const Error& e) {
        messages().inform(e.message(), MessageIcon::Warning);
        return;
    }
    if (result.outcome == ReceiptResult::Outcome::NothingDone) return;
    settlement_.reset();
    setMode(ScreenMode::Null);
    if (result.outcome == ReceiptResult::Outcome::Stale)
        messages().inform(result.message, MessageIcon::Warning);
    else
        quietly([this] { bills_->reopen(); });
}

void SettlementScreen::cmd_cancClick() { setMode(ScreenMode::Null); }

void SettlementScreen::cmd_findClick() {
    SettlementFind find(d_, this);
    if (find.exec() != QDialog::Accepted) return;
    quietly([this] { showFound(*(FrmDataMod()->*d_.saved)); });
}

// The stored figures as they were saved, never computed again.
void SettlementScreen::showFound(const Dataset& found) {
    for (int field = 0; field < found.fieldCount(); ++field) {
        const QString column = found.field(field).name;
        const QVariant value = found.value(found.currentRow(), field);
        if (auto* date = findChild<QDateEdit*>(column))
            date->setDate(value.toDate());
        else if (findChild<QLineEdit*>(column) || findChild<QComboBox*>(column))
            setText(column.toLatin1().constData(), shownValue(value));
    }
    settlement_.reset();
    setMode(ScreenMode::Null);
}

void SettlementScreen::cmd_prinClick() {
    quietly([this] {
        report::ReportLayouts* layouts = report::Reports();
        if (!layouts) return;
        report::ReportLayout& layout = *(layouts->*d_.layout);
        for (const auto& [label, box] : kPrintedBoxes)
            layout.setCaption(QLatin1String(label), text(box));
        layout.preview();
    });
}

}  // namespace talvor
