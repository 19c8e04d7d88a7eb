#pragma once

#include "datamodel/Dataset.h"
#include "ui/GridEditScreen.h"

class QDateEdit;
class QLineEdit;

namespace talvor {

// 库存盘点: counts the ledger once a month. The counted quantities start equal to the book
// ones; saving keeps the count in storchek, which locks the month, and sets the ledger.
class TFrmStorChk : public GridEditScreen {
    Q_OBJECT

  public:
    explicit TFrmStorChk(QWidget* parent = nullptr);

    void cmd_findClick() override;
    void cmd_prinClick() override;

  protected:
    bool beginEditing() override;
    bool saveChanges() override;

  private:
    void showTotals(double book, double counted);

    QDateEdit* month_;
    QLineEdit* bookTotal_;
    QLineEdit* countedTotal_;
    DatasetEvents events_;
};

}  // namespace talvor
