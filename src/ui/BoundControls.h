#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>

#include "datamodel/Dataset.h"

namespace talvor {

// What a control bound to a field does for its link.
class BoundControl {
  public:
    virtual ~BoundControl() = default;
    // Shows the field's value of the current row; what was typed and not written is dropped.
    virtual void showField() = 0;
    // Writes what the user typed, when it differs from what was shown. A value the field
    // refuses throws.
    virtual void commit() = 0;
    virtual bool hasTypedText() const = 0;
};

// The tie between a control and one field of a dataset's current row: the control shows the
// field again whenever the row, its values or the whole rows change, and writes what the user
// typed when the typing is finished or when the row is about to be posted.
class FieldLink : public QObject {
    Q_OBJECT

  public:
    explicit FieldLink(BoundControl& control) : control_(control) {}

    void bind(Dataset* dataset, const QString& field);
    Dataset* dataset() const { return dataset_; }
    const QString& field() const { return field_; }

    bool hasRow() const;
    // A data field of an open dataset: lookups and calculated fields only show.
    bool editable() const;
    QVariant value() const;
    QString displayText() const;
    const FieldDef* fieldDef() const;
    // Writes into the current row, which enters editing.
    void write(const QVariant& value);

  private:
    void rowChanged(int row);

    BoundControl& control_;
    QPointer<Dataset> dataset_;
    QString field_;
};

// Reads a typed text into a field's value: blanks are null, dates are the short date format
// or ISO, numbers and texts are left to the dataset.
QVariant fieldValueFromText(const FieldDef& field, const QString& text);

class DBEdit : public QLineEdit, public BoundControl {
    Q_OBJECT

  public:
    explicit DBEdit(QWidget* parent = nullptr);
    void bind(Dataset* dataset, const QString& field);

    void showField() override;
    void commit() override;
    bool hasTypedText() const override { return isModified(); }

  private:
    FieldLink link_{*this};
};

class DBComboBox : public QComboBox, public BoundControl {
    Q_OBJECT

  public:
    explicit DBComboBox(QWidget* parent = nullptr);
    void bind(Dataset* dataset, const QString& field);

    void showField() override;
    void commit() override;
    bool hasTypedText() const override { return currentText() != shown_; }

  private:
    FieldLink link_{*this};
    QString shown_;
};

// A date picker on a date field; an empty field shows blank.
class DBDateEdit : public QDateEdit, public BoundControl {
    Q_OBJECT

  public:
    explicit DBDateEdit(QWidget* parent = nullptr);
    void bind(Dataset* dataset, const QString& field);

    void showField() override;
    void commit() override;
    bool hasTypedText() const override { return date() != shown_; }

  private:
    FieldLink link_{*this};
    QDate shown_;
};

}  // namespace talvor
