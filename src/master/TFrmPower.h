#pragma once

#include <array>

#include "ui/EditingDialog.h"

class QCheckBox;
class QLineEdit;
class QTableWidget;

namespace talvor {

class Dataset;
class DBEdit;

// The users and their rights (权限设置): 25 modules by 7 rights, a "√" for each right held.
class TFrmPower : public EditingDialog {
    Q_OBJECT

  public:
    explicit TFrmPower(QWidget* parent = nullptr);

    void cmd_addClick();
    void cmd_editClick();
    void cmd_deleClick();
    void cmd_saveClick();
    void cmd_cancClick();
    void CheckNewUserId();
    void LoadRightsGrid();
    void StoreRightsGrid();

  private:
    QWidget* buildUserGroup();
    QWidget* buildRightsArea();
    void setMode(ScreenMode mode);
    void toggleCell(int row, int column);
    void fillColumn(int column, bool held);
    void clearRights();
    bool passwordsAgree() const;
    QString typedUserId() const;

    Dataset* powers_;
    DBEdit* userId_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* confirm_ = nullptr;
    QTableWidget* rights_ = nullptr;
    std::array<QCheckBox*, 7> columnBoxes_{};
};

}  // namespace talvor
