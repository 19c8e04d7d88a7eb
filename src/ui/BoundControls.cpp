#include "ui/BoundControls.h"

#include "ui/ErrorReport.h"

namespace talvor {

namespace {

const QString kShortDate = QStringLiteral("yyyy/M/d");

// Writes made by bound controls in progress: while one control writes, the others keep what
// is typed in them instead of showing the row again, so that none loses its text when the
// controls write one after the other before a post.
int boundWrites = 0;

class BoundWrite {
  public:
    BoundWrite() { ++boundWrites; }
    ~BoundWrite() { --boundWrites; }
    BoundWrite(const BoundWrite&) = delete;
    BoundWrite& operator=(const BoundWrite&) = delete;
};

}  // namespace

void FieldLink::bind(Dataset* dataset, const QString& field) {
    if (dataset_) disconnect(dataset_, nullptr, this, nullptr);
    dataset_ = dataset;
    field_ = field;
    connect(dataset, &Dataset::currentRowChanged, this, [this] { control_.showField(); });
    connect(dataset, &Dataset::rowsReset, this, [this] { control_.showField(); });
    connect(dataset, &Dataset::rowChanged, this, &FieldLink::rowChanged);
    connect(dataset, &Dataset::aboutToPost, this, [this] {
        if (control_.hasTypedText()) control_.commit();
    });
    control_.showField();
}

void FieldLink::rowChanged(int row) {
    if (row != dataset_->currentRow()) return;
    if (boundWrites > 0 && control_.hasTypedText()) return;
    control_.showField();
}

const FieldDef* FieldLink::fieldDef() const {
    if (!dataset_) return nullptr;
    const int index = dataset_->fieldIndex(field_);
    return index < 0 ? nullptr : &dataset_->field(index);
}

bool FieldLink::hasRow() const {
    return dataset_ && dataset_->isActive() && dataset_->currentRow() >= 0;
}

bool FieldLink::editable() const {
    const FieldDef* f = fieldDef();
    return f && f->kind == FieldKind::Data && dataset_->isActive();
}

QVariant FieldLink::value() const {
    if (!hasRow() || !fieldDef()) return {};
    return dataset_->value(field_);
}

QString FieldLink::displayText() const {
    if (!hasRow() || !fieldDef()) return {};
    return dataset_->displayText(dataset_->currentRow(), dataset_->fieldIndex(field_));
}

void FieldLink::write(const QVariant& value) {
    const BoundWrite writing;
    dataset_->setValue(field_, value);
}

QVariant fieldValueFromText(const FieldDef& field, const QString& text) {
    if (field.type != db::ColumnType::DateTime) return text;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return {};
    const QDate date = QDate::fromString(trimmed, kShortDate);
    return date.isValid() ? QVariant(date) : QVariant(text);
}

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connectGuarded(this, &QLineEdit::editingFinished, this, [this] { commit(); });
}

void DBEdit::bind(Dataset* dataset, const QString& field) { link_.bind(dataset, field); }

void DBEdit::showField() {
    setText(link_.displayText());
    // A text wider than the box shows from its first character, not from its end.
    setCursorPosition(0);
    setModified(false);
    if (const FieldDef* f = link_.fieldDef(); f && f->kind != FieldKind::Data) setReadOnly(true);
}

void DBEdit::commit() {
    if (!isModified() || !link_.editable()) return;
    link_.write(fieldValueFromText(*link_.fieldDef(), text()));
    showField();
}

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connectGuarded(lineEdit(), &QLineEdit::editingFinished, this, [this] { commit(); });
    connectGuarded(this, &QComboBox::activated, this, [this] { commit(); });
}

void DBComboBox::bind(Dataset* dataset, const QString& field) { link_.bind(dataset, field); }

void DBComboBox::showField() {
    shown_ = link_.displayText();
    if (currentText() == shown_) return;  // the text being typed stays where the cursor is
    setEditText(shown_);
    lineEdit()->setCursorPosition(0);
}

void DBComboBox::commit() {
    if (!hasTypedText() || !link_.editable()) return;
    link_.write(fieldValueFromText(*link_.fieldDef(), currentText()));
    showField();
}

DBDateEdit::DBDateEdit(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(kShortDate);
    setMinimumDate(QDate(1899, 12, 30));
    setSpecialValueText(QStringLiteral(" "));
    connectGuarded(this, &QDateEdit::editingFinished, this, [this] { commit(); });
}

void DBDateEdit::bind(Dataset* dataset, const QString& field) { link_.bind(dataset, field); }

void DBDateEdit::showField() {
    const QDate value = link_.value().toDate();
    setDate(value.isValid() ? value : minimumDate());
    shown_ = date();
}

void DBDateEdit::commit() {
    if (!hasTypedText() || !link_.editable()) return;
    link_.write(date() == minimumDate() ? QVariant() : QVariant(date()));
    showField();
}

}  // namespace talvor
