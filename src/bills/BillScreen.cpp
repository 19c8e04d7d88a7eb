#include "bills/BillScreen.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bills/BillLineGrid.h"
#include "bills/TFrmBillFind.h"
#include "bills/core/BillPrinting.h"
#include "common/core/DataRoutines.h"
#include "common/core/GoodsCaptions.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/DisplayFormat.h"
#include "master/TFrmCompFind.h"
#include "master/TFrmGoodsFind.h"
#include "ui/BoundControls.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/ReadOnlyLook.h"
#include "ui/WaitCursor.h"
#include "ui/WidgetRoutines.h"

namespace talvor {

namespace {

constexpr int kCodeColumn = 0;
constexpr int kPriceColumn = 6;
constexpr int kQuantityColumn = 7;
const QString kNotIntoStock = QStringLiteral("不入库");

const ControlStates kBillStates = {
    {"GroupBox1", false, true, true},
    {"GroupBox2", false, true, true},
    {"cmd_add", true, false, false, Right::Add},
    {"cmd_edit", true, false, false, Right::Edit},
    {"cmd_dele", true, true, true, Right::Delete, true},
    {"cmd_find", true, false, false, Right::Find},
    {"cmd_prin", true, false, false, Right::Print},
    {"cmd_save", false, true, true},
    {"cmd_canc", false, true, true},
    {"cmd_exit", true, false, false},
};

struct Person {
    const char* label;
    const char* code;
    const char* name;
};

const Person kPeople[] = {
    {"制单人", "oper_code", "oper_name"}, {"经手人", "hand_code", "hand_name"},
    {"复核人", "chek_code", "chek_name"}, {"业务员", "rela_code", "rela_name"},
    {"发货人", "send_code", "send_name"}, {"收货人", "rece_code", "rece_name"},
};

double numberIn(const QString& text) { return text.trimmed().toDouble(); }

}  // namespace

QString& CurrentBillType() {
    static QString type;
    return type;
}

BillScreen::BillScreen(const BillDescriptor& descriptor, QWidget* parent)
    : EditingDialog(parent),
      d_(descriptor),
      header_(d_.header(*FrmDataMod())),
      lines_(d_.lines(*FrmDataMod())),
      lineEvents_(*lines_) {
    WaitCursor wait;
    setObjectName(QLatin1String(d_.className));
    setWindowTitle(QString::fromUtf8(d_.caption));
    auto* top = new QVBoxLayout(this);
    top->addLayout(buildToolBar());
    top->addWidget(buildHeader());
    top->addWidget(buildGrid(), 1);
    top->addWidget(buildFooter());
    setFixedSize(792, 573);
    open();
}

BillScreen::~BillScreen() { lines_->clearMasterLink(); }

QLayout* BillScreen::buildToolBar() {
    auto* bar = new QHBoxLayout;
    bar->addWidget(toolButton("cmd_add", QStringLiteral("新增[&A]"), [this] { cmd_addClick(); }));
    bar->addWidget(toolButton("cmd_edit", QStringLiteral("修改[&E]"), [this] { cmd_editClick(); }));
    bar->addWidget(toolButton("cmd_dele", QStringLiteral("删除[&D]"), [this] { cmd_deleClick(); }));
    bar->addSpacing(16);
    bar->addWidget(toolButton("cmd_find", QStringLiteral("查询[&F]"), [this] { cmd_findClick(); }));
    bar->addWidget(toolButton("cmd_prin", QStringLiteral("打印[&P]"), [this] { cmd_prinClick(); }));
    bar->addSpacing(16);
    bar->addWidget(toolButton("cmd_save", QStringLiteral("保存[&S]"), [this] { cmd_saveClick(); }));
    bar->addWidget(toolButton("cmd_canc", QStringLiteral("取消[&C]"), [this] { cmd_cancClick(); }));
    bar->addSpacing(16);
    bar->addWidget(exitButton());
    bar->addStretch();
    return bar;
}

DBEdit* BillScreen::boundEdit(QWidget* parent, const QString& name, const char* field,
                              bool readOnly) {
    auto* box = new DBEdit(parent);
    box->setObjectName(name);
    box->bind(header_, QLatin1String(field));
    if (readOnly) {
        box->setReadOnly(true);
        box->setEnabled(false);
    }
    return box;
}

DBComboBox* BillScreen::boundCombo(QWidget* parent, const QString& name, const char* field) {
    auto* box = new DBComboBox(parent);
    box->setObjectName(name);
    box->bind(header_, QLatin1String(field));
    return box;
}

QWidget* BillScreen::headerControl(HeaderItem item, QWidget* parent) {
    switch (item) {
        case HeaderItem::Voucher:
            return voucher_ = boundEdit(parent, QStringLiteral("DBEdit1"), "vouc_no");
        case HeaderItem::BillNo:
            return billNo_ = boundEdit(parent, QStringLiteral("DBEdit_bill_no"), "bill_no", true);
        case HeaderItem::Date:
            date_ = new QDateEdit(QDate::currentDate(), parent);
            date_->setObjectName(QStringLiteral("DateTimePicker1"));
            date_->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
            return date_;
        case HeaderItem::Settlement:
            settlement_ = boundCombo(parent, QStringLiteral("DBComboBox8"), "fee_type");
            // Keys reach the list itself, which hands them to its edit box without a filter.
            settlement_->installEventFilter(this);
            return settlement_;
        case HeaderItem::Currency:
            currency_ = boundCombo(parent, QStringLiteral("DBComboBox9"), "mone_type");
            currency_->installEventFilter(this);
            connectGuarded(currency_, &QComboBox::textActivated, this,
                           [this] { currencyChanged(currency_->currentText()); });
            connectGuarded(currency_->lineEdit(), &QLineEdit::textEdited, this,
                           [this] { currencyChanged(currency_->currentText()); });
            return currency_;
        case HeaderItem::CompanyCode: {
            auto* holder = new QWidget(parent);
            auto* row = new QHBoxLayout(holder);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(2);
            row->addWidget(boundEdit(holder, QLatin1String(d_.companyCodeName), "comp_code"));
            auto* pick = new QPushButton(QStringLiteral("..."), holder);
            pick->setObjectName(QLatin1String(d_.pickerName));
            pick->setFixedWidth(22);
            pick->setAutoDefault(false);
            // Enter goes from the typed code on to the next box; the picker is for the mouse.
            pick->setFocusPolicy(Qt::ClickFocus);
            connectGuarded(pick, &QPushButton::clicked, this, [this] { pickCompany(); });
            row->addWidget(pick);
            return holder;
        }
        case HeaderItem::CompanyName:
            return boundEdit(parent, QStringLiteral("DBEdit_comp_name"), "comp_name", true);
        case HeaderItem::Phone:
            return boundEdit(parent, QStringLiteral("DBEdit_rela_phon"), "rela_phon", true);
        case HeaderItem::Rate:
            return boundEdit(parent, QStringLiteral("DBEdit_mone_rate"), "mone_rate", true);
    }
    return nullptr;
}

QGroupBox* BillScreen::buildHeader() {
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    showDisabledAsReadOnly(*group);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const auto* fields : {&d_.firstRow, &d_.secondRow}) {
        int column = 0;
        for (const HeaderField& f : *fields) {
            grid->addWidget(new QLabel(QString::fromUtf8(f.label), group), row, column++,
                            Qt::AlignRight);
            grid->addWidget(headerControl(f.item, group), row, column++);
        }
        ++row;
    }
    return group;
}

BillLineGrid* BillScreen::buildGrid() {
    const auto column = [](const char* field, const char* title, int width, bool readOnly) {
        return GridColumn{QLatin1String(field), QString::fromUtf8(title), width, readOnly};
    };
    std::vector<GridColumn> columns = {
        column("gods_code", "编码", 90, false), column("gods_name", "产品名称", 130, true),
        column("gods_spec", "规格", 60, true),  column("gods_type", "类型", 60, true),
        column("gods_kind", "种类", 60, true),  column("gods_unit", "单位", 40, true),
        column("unit_pric", "单价", 70, false), column("sub_amou", "数量", 60, false),
        column("sub_tota", "小计", 80, true),   column("remark", "备注", 70, false),
    };
    const QStringList remarks =
        d_.remarkPickList ? QStringList{QStringLiteral("入库"), kNotIntoStock} : QStringList{};
    grid_ = new BillLineGrid(lines_, std::move(columns), remarks, this);
    connectGuarded(grid_, &BillLineGrid::ellipsisClicked, this, [this] { pickGoods(); });
    connect(grid_, &BillLineGrid::enterPressed, this,
            [this](int column) { reportErrors([&] { gridEnter(column); }); });
    return grid_;
}

QGroupBox* BillScreen::buildFooter() {
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    showDisabledAsReadOnly(*group);
    auto* grid = new QGridLayout(group);
    const auto totalBox = [group](const char* name) {
        auto* box = new QLineEdit(group);
        box->setObjectName(QLatin1String(name));
        box->setEnabled(false);
        return box;
    };
    words_ = totalBox("Edit1");
    quantity_ = totalBox("Edit2");
    amount_ = totalBox("Edit3");
    quantity_->setAlignment(Qt::AlignRight);
    amount_->setAlignment(Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("合计金额大写"), group), 0, 0, Qt::AlignRight);
    grid->addWidget(words_, 0, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("合计数量"), group), 0, 6, Qt::AlignRight);
    grid->addWidget(quantity_, 0, 7, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("合计金额"), group), 0, 9, Qt::AlignRight);
    grid->addWidget(amount_, 0, 10, 1, 2);

    remark_ = boundEdit(group, QStringLiteral("DBEdit_remark"), "remark");
    grid->addWidget(new QLabel(QStringLiteral("备  注"), group), 1, 0, Qt::AlignRight);
    grid->addWidget(remark_, 1, 1, 1, 8);
    grid->addWidget(new QLabel(QString::fromUtf8(d_.amountPaidLabel), group), 1, 9, Qt::AlignRight);
    grid->addWidget(boundEdit(group, QStringLiteral("DBEdit_fact_tota"), "fact_tota"), 1, 10, 1, 2);

    int column = 0;
    for (const Person& p : kPeople) {
        grid->addWidget(new QLabel(QString::fromUtf8(p.label), group), 2, column, Qt::AlignRight);
        DBComboBox* code =
            boundCombo(group, QStringLiteral("DBComboBox_") + QLatin1String(p.code), p.code);
        people_.push_back(code);
        grid->addWidget(code, 2, column + 1);
        grid->addWidget(
            boundEdit(group, QStringLiteral("DBEdit_") + QLatin1String(p.name), p.name, true), 3,
            column + 1);
        column += 2;
    }
    return group;
}

void BillScreen::open() {
    CurrentBillType() = QString(d_.kind->billType);
    AdjustComboBoxes(this);
    reportErrors([this] { ApplyGoodsCaptions(*grid_); });
    reportErrors([this] { fillPickLists(); });

    lines_->close();
    lines_->clearMasterLink();
    header_->setLockMode(LockMode::Batch);
    header_->openWith(QString::fromUtf8(d_.openStatement),
                      {{QStringLiteral("date1"), QDate::currentDate()}});
    showBillDate();

    lines_->setLockMode(LockMode::Batch);
    attachLineEvents();
    lines_->setMasterLink(header_, QStringLiteral("bill_no"), QStringLiteral("bill_no"));
    lines_->openWith(d_.linesStatement(),
                     {{QStringLiteral("bill_no"), header_->value(QStringLiteral("bill_no"))}});
    quietly([this] { computeTotals(); });
    setMode(ScreenMode::Null);
}

void BillScreen::attachLineEvents() {
    lineEvents_.detach();
    const auto stampBillNo = [this](Dataset& lines) {
        lines.setValue(QStringLiteral("bill_no"), billNo());
    };
    const auto totals = [this](Dataset&) { quietly([this] { computeTotals(); }); };
    lineEvents_
        .attach(d_.billNoAtEachPost ? &Dataset::beforePost : &Dataset::onNewRecord, stampBillNo)
        .attach(&Dataset::afterPost, totals)
        .attach(&Dataset::afterDelete, totals);
}

void BillScreen::fillPickLists() {
    for (DBComboBox* box : people_)
        FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), box);
    FillComboDistinct(QStringLiteral("baseitem"), QStringLiteral("fee_type"), settlement_);
    FillComboDistinct(QStringLiteral("baseitem"), QStringLiteral("mone_type"), currency_);
    for (DBComboBox* box : people_) box->showField();
    settlement_->showField();
    currency_->showField();
}

void BillScreen::computeTotals() {
    double quantity = 0, amount = 0;
    for (int row = 0; row < lines_->recordCount(); ++row) {
        quantity += lines_->value(row, QStringLiteral("sub_amou")).toDouble();
        amount += lines_->value(row, QStringLiteral("sub_tota")).toDouble();
    }
    quantity_->setText(formatFloat(quantity));
    amount_->setText(formatFloat(amount));
    words_->setText(AmountInWords(numberIn(amount_->text())));
    words_->setCursorPosition(0);
}

void BillScreen::showBillDate() {
    const QVariant date = header_->value(QStringLiteral("bill_date"));
    if (!header_->isEmpty() && date.isValid()) date_->setDate(date.toDate());
}

// After another copy changed or deleted the bill: the edits go, and the bill shows as stored.
void BillScreen::showStoredBill(const QString& number) {
    quietly([&] {
        lines_->cancelBatch();
        header_->cancelBatch();
        header_->reopen();
        header_->locate(QStringLiteral("bill_no"), number);
        lines_->reopen();
        showBillDate();
        computeTotals();
    });
    setMode(ScreenMode::Null);
}

QString BillScreen::billNo() const { return trimmedInput(billNo_->text()); }

double BillScreen::totalQuantity() const { return numberIn(quantity_->text()); }

void BillScreen::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, kBillStates, mode, d_.module);
    grid_->setEditable(mode != ScreenMode::Null);
}

void BillScreen::cmd_addClick() {
    quietly([this] {
        header_->append();
        header_->setValue(QStringLiteral("bill_no"), NewBillNo(FrmDataMod()->AdoConn(), *d_.kind));
        header_->setValue(QStringLiteral("shou_tota"), 0.0);
        header_->post();
        header_->edit();
        lines_->append();
    });
    date_->setDate(QDate::currentDate());
    setMode(ScreenMode::Add);
    words_->clear();
    quantity_->clear();
    amount_->clear();
    voucher_->setFocus();
}

void BillScreen::cmd_editClick() {
    const QString number = billNo();
    if (number.isEmpty()) return;
    quietly([&] {
        header_->locate(QStringLiteral("bill_no"), number);
        header_->edit();
        lines_->edit();
    });
    setMode(ScreenMode::Edit);
    voucher_->setFocus();
}

void BillScreen::cmd_deleClick() {
    const QString number = billNo();
    if (number.isEmpty()) return;
    if (mode_ != ScreenMode::Null) {
        if (lines_->isEmpty() || !messages().confirm(QStringLiteral("确认删除本条数据?"))) return;
        quietly([this] {
            lines_->deleteRow();
            computeTotals();
        });
        return;
    }
    try {
        const BillResult result = DeleteBill(*d_.kind, *header_, *lines_, [] {
            return messages().confirm(QStringLiteral("此操作将删除本单全部数据，确认删除?"));
        });
        if (result.outcome == BillResult::Outcome::Stale) {
            messages().inform(result.message, MessageIcon::Warning);
            showStoredBill(number);
            return;
        }
        if (result.outcome == BillResult::Outcome::Refused) {
            messages().inform(result.message, MessageIcon::Warning);
            return;
        }
        if (!result.written()) return;
    } catch (const BillError& e) {
        messages().inform(e.message(), MessageIcon::Warning);
        return;
    }
    quietly([this] {
        header_->reopen();
        showBillDate();
        computeTotals();
    });
}

void BillScreen::cmd_saveClick() {
    WaitCursor wait;
    // The total shown counts the posted lines only; SaveBill refuses a bill whose total is 0.
    const double quantity = totalQuantity();
    try {
        header_->setValue(QStringLiteral("bill_date"), date_->date());
        const BillResult result = SaveBill(*d_.kind, *header_, *lines_, quantity);
        if (result.outcome == BillResult::Outcome::Stale) {
            messages().inform(result.message, MessageIcon::Warning);
            showStoredBill(billNo());
            return;
        }
        if (!result.written()) {
            if (!result.message.isEmpty()) messages().inform(result.message, MessageIcon::Warning);
            return;
        }
    } catch (const BillError& e) {
        messages().inform(e.message(), MessageIcon::Warning);
        return;
    } catch (const Error& e) {
        messages().inform(QStringLiteral("保存失败：") + e.message(), MessageIcon::Warning);
        return;
    }
    const QString number = billNo();
    setMode(ScreenMode::Null);
    quietly([&] {
        header_->locate(QStringLiteral("bill_no"), number);
        computeTotals();
    });
    findChild<QWidget*>(QStringLiteral("cmd_add"))->setFocus();
}

void BillScreen::cmd_cancClick() {
    quietly([this] {
        lines_->cancelBatch();
        header_->cancelBatch();
    });
    // 新增 emptied the totals; the bill shown again needs its own, on screen and in print.
    quietly([this] { computeTotals(); });
    showBillDate();
    setMode(ScreenMode::Null);
    findChild<QWidget*>(QStringLiteral("cmd_add"))->setFocus();
}

void BillScreen::cmd_findClick() {
    TFrmBillFind find(d_.sales() ? TFrmBillFind::Outgoing : TFrmBillFind::Incoming, this);
    if (find.exec() != QDialog::Accepted) return;
    const QString chosen = find.chosenBillNo();
    quietly([&] {
        fillPickLists();
        header_->openWith(QString::fromUtf8(d_.findStatement),
                          {{QStringLiteral("bill_no"), chosen}});
        showBillDate();
        computeTotals();
    });
}

void BillScreen::cmd_prinClick() {
    QStringList captions;
    for (const QString& caption : GoodsCaptions()) captions << caption;
    PrintBill(*d_.kind, *header_, *lines_,
              {quantity_->text(), amount_->text(), words_->text(), captions});
}

void BillScreen::pickCompany() {
    TFrmCompFind find(this);
    if (find.exec() != QDialog::Accepted) return;
    header_->setValue(QStringLiteral("comp_code"), find.chosenCode());
}

void BillScreen::pickGoods() {
    if (mode_ == ScreenMode::Null) return;
    TFrmGoodsFind find(this);
    if (find.exec() != QDialog::Accepted) return;
    const QString code = find.chosenCode();
    quietly([this] { lines_->edit(); });
    lines_->setValue(QStringLiteral("gods_code"), code);
    grid_->editColumn(kCodeColumn);
}

void BillScreen::currencyChanged(const QString& currency) {
    if (mode_ == ScreenMode::Null) return;
    // The typed currency is written first: the rate's change shows the header row again.
    currency_->commit();
    const QString rate = LookupValue(QStringLiteral("baseitem"), QStringLiteral("mone_type"),
                                     currency, QStringLiteral("mone_rate"));
    header_->setValue(QStringLiteral("mone_rate"), rate);
}

void BillScreen::proposePrice() {
    const QString price =
        LookupValue(QStringLiteral("goods"), QStringLiteral("gods_code"),
                    lines_->text(QStringLiteral("gods_code")), QLatin1String(d_.priceColumn));
    if (price.isEmpty() && !d_.priceEmptiedForUnknownGoods) return;
    lines_->setValue(QStringLiteral("unit_pric"), price);
}

// Enter in the line grid: a typed code gets its price and the entry goes on to the quantity;
// an empty code ends the lines; the quantity and the remark go on to the next line.
void BillScreen::gridEnter(int column) {
    if (column == kCodeColumn) {
        if (trimmedInput(lines_->text(QStringLiteral("gods_code"))).isEmpty()) {
            if (mode_ != ScreenMode::Null) quietly([this] { lines_->checkBrowseMode(); });
            remark_->setFocus();
            return;
        }
        if (mode_ == ScreenMode::Null) return;
        if (lines_->isEditing() && lines_->isModified()) quietly([this] { proposePrice(); });
        grid_->editColumn(lines_->value(QStringLiteral("unit_pric")).isNull() ? kPriceColumn
                                                                              : kQuantityColumn);
        return;
    }
    if (mode_ == ScreenMode::Null) return;
    if (column == kPriceColumn) {
        grid_->editColumn(kQuantityColumn);
    } else {
        grid_->nextLine();
    }
}

namespace {

// A key that types a character, or Enter; arrows, F4, Alt+Down and Tab keep their own work.
bool typesOrEnters(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return true;
    const QString text = key.text();
    return !text.isEmpty() && text.front().isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

bool BillScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && mode_ != ScreenMode::Null) {
        const auto& keyEvent = *static_cast<QKeyEvent*>(event);
        const int key = keyEvent.key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        const bool handOver =
            (settlement_ && watched == settlement_ &&
             d_.handOver == GridHandOver::AnyKeyInSettlement && typesOrEnters(keyEvent)) ||
            (currency_ && watched == currency_ && d_.handOver == GridHandOver::EnterInCurrency &&
             enter);
        if (handOver) {
            grid_->setFocus();
            return d_.handOver == GridHandOver::AnyKeyInSettlement && !enter;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace talvor
