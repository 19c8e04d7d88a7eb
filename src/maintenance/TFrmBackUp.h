#pragma once

#include "maintenance/CopyDialog.h"

namespace talvor {

// 数据备份: the working database into talvor.mdb of a chosen directory.
class TFrmBackUp : public CopyDialog {
    Q_OBJECT

  public:
    explicit TFrmBackUp(QWidget* parent = nullptr);
    void cmd_addClick();
};

}  // namespace talvor
