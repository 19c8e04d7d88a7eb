#pragma once

#include "bills/BillDescriptor.h"
#include "bills/core/BillOperations.h"
#include "ui/EditingDialog.h"

class QComboBox;
class QDateEdit;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace talvor {

class BillLineGrid;
class DBComboBox;
class DBEdit;

// The value the bill screens share with their search dialogs: the bill_type of the kind shown.
QString& CurrentBillType();

// One machine for the purchase, customer return, sales and return-to-supplier screens; what
// differs is the descriptor.
class BillScreen : public EditingDialog {
    Q_OBJECT

  public:
    BillScreen(const BillDescriptor& descriptor, QWidget* parent);
    ~BillScreen() override;

    void cmd_addClick();
    void cmd_editClick();
    void cmd_deleClick();
    void cmd_findClick();
    void cmd_prinClick();
    void cmd_saveClick();
    void cmd_cancClick();
    void pickCompany();
    void pickGoods();
    void currencyChanged(const QString& currency);
    void gridEnter(int column);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLayout* buildToolBar();
    QGroupBox* buildHeader();
    QWidget* headerControl(HeaderItem item, QWidget* parent);
    QGroupBox* buildFooter();
    BillLineGrid* buildGrid();
    DBEdit* boundEdit(QWidget* parent, const QString& name, const char* field,
                      bool readOnly = false);
    DBComboBox* boundCombo(QWidget* parent, const QString& name, const char* field);

    void open();
    void attachLineEvents();
    void fillPickLists();
    void computeTotals();
    void showBillDate();
    void showStoredBill(const QString& number);
    void proposePrice();
    void setMode(ScreenMode mode);
    QString billNo() const;
    double totalQuantity() const;

    const BillDescriptor& d_;
    Dataset* header_;
    Dataset* lines_;
    DatasetEvents lineEvents_;

    QDateEdit* date_ = nullptr;
    DBEdit* voucher_ = nullptr;
    DBEdit* billNo_ = nullptr;
    DBEdit* remark_ = nullptr;
    DBComboBox* settlement_ = nullptr;
    DBComboBox* currency_ = nullptr;
    std::vector<DBComboBox*> people_;
    QLineEdit* words_ = nullptr;
    QLineEdit* quantity_ = nullptr;
    QLineEdit* amount_ = nullptr;
    BillLineGrid* grid_ = nullptr;
};

class TFrmIn : public BillScreen {
    Q_OBJECT
  public:
    explicit TFrmIn(QWidget* parent = nullptr) : BillScreen(BillDescriptor::purchase(), parent) {}
};

class TFrmReturnIn : public BillScreen {
    Q_OBJECT
  public:
    explicit TFrmReturnIn(QWidget* parent = nullptr)
        : BillScreen(BillDescriptor::customerReturn(), parent) {}
};

class TFrmOut : public BillScreen {
    Q_OBJECT
  public:
    explicit TFrmOut(QWidget* parent = nullptr) : BillScreen(BillDescriptor::sale(), parent) {}
};

class TFrmReturnout : public BillScreen {
    Q_OBJECT
  public:
    explicit TFrmReturnout(QWidget* parent = nullptr)
        : BillScreen(BillDescriptor::returnToSupplier(), parent) {}
};

}  // namespace talvor
