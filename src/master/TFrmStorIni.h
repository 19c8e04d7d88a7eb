#pragma once

#include "ui/GridEditScreen.h"

namespace talvor {

// 库存产品初始化: brings every goods into the stock ledger and lets its opening quantity and
// cost price be typed in the grid; the changes are held until 保存 (or 删除) writes them.
class TFrmStorIni : public GridEditScreen {
    Q_OBJECT

  public:
    explicit TFrmStorIni(QWidget* parent = nullptr);

    void cmd_addClick() override;
    void cmd_deleClick() override;
};

}  // namespace talvor
