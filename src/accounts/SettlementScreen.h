#pragma once

#include <optional>

#include "accounts/SettlementDescriptor.h"
#include "ui/EditingDialog.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;

namespace talvor {

// One machine for the receipt and the payment screens: settle a company's or one bill's
// account, enter a receipt (payment) against the settlement, save, find and print it.
class SettlementScreen : public EditingDialog {
    Q_OBJECT

  public:
    SettlementScreen(const SettlementDescriptor& descriptor, QWidget* parent);

    void cmd_addClick();
    void cmd_calcClick();
    void cmd_saveClick();
    void cmd_cancClick();
    void cmd_findClick();
    void cmd_prinClick();

  private:
    QLayout* buildToolBar();
    QGroupBox* buildCompanyGroup();
    QGroupBox* buildBillNoGroup();
    QGroupBox* buildRangeGroup();
    QGroupBox* buildResultGroup();
    QGroupBox* buildEntryGroup();
    QWidget* buildGrid();
    QGroupBox* group(const char* name, const QString& title);
    QLineEdit* lineEdit(QWidget* parent, const char* name);
    QComboBox* comboBox(QWidget* parent, const char* name);
    QDateEdit* datePicker(QWidget* parent, const char* name);
    QString text(const char* box) const;
    void setText(const char* box, const QString& text);

    void fillPickLists();
    void companyCodeTyped();
    void companyNameTyped();
    void showNewBalance();
    void showSettlement();
    void showFound(const Dataset& found);
    void dropSettlement();
    void setMode(ScreenMode mode);

    const SettlementDescriptor& d_;
    Dataset* bills_;
    // The settlement a receipt may still be entered against: none before the first 结算, after
    // a save, a find or a change of what to settle.
    std::optional<Settlement> settlement_;
    QComboBox* code_ = nullptr;
    QComboBox* name_ = nullptr;
};

class TFrmGath : public SettlementScreen {
    Q_OBJECT
  public:
    explicit TFrmGath(QWidget* parent = nullptr)
        : SettlementScreen(SettlementDescriptor::receipts(), parent) {}
};

class TFrmPay : public SettlementScreen {
    Q_OBJECT
  public:
    explicit TFrmPay(QWidget* parent = nullptr)
        : SettlementScreen(SettlementDescriptor::payments(), parent) {}
};

}  // namespace talvor
