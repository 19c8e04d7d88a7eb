#pragma once

#include "ui/GridEditScreen.h"

class QLineEdit;

namespace talvor {

// 库存调整: lists the ledger, lets the quantities on hand be overwritten in the grid, and writes
// them all at once; cost prices stay and the month lock plays no part.
class TFrmStorChg : public GridEditScreen {
    Q_OBJECT

  public:
    explicit TFrmStorChg(QWidget* parent = nullptr);

    void cmd_findClick() override;
    void cmd_prinClick() override;

  protected:
    bool beginEditing() override;
    bool saveChanges() override;

  private:
    QLineEdit* total_;
};

}  // namespace talvor
