#pragma once

#include <array>

#include "common/core/GoodsCaptions.h"
#include "ui/EditingDialog.h"

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace talvor {

class DataGrid;
class DBEdit;
class Dataset;

// The business's own details, the goods captions, the printing parameters and the five pick
// lists kept in baseitem (基本设置).
class TFrmUser : public EditingDialog {
    Q_OBJECT

  public:
    explicit TFrmUser(QWidget* parent = nullptr);

    void cmd_editClick();
    void SaveBasicSettings();
    void cmd_cancClick();

  protected:
    // Closing while editing abandons the edits.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    struct PickList {
        Dataset* dataset;
        const char* statement;
        DataGrid* grid = nullptr;
    };

    QGroupBox* buildCompanyGroup();
    QGroupBox* buildPrintGroup();
    QGroupBox* buildCaptionGroup();
    QWidget* buildPickLists();
    DBEdit* boundEdit(const char* field, QWidget* parent);
    void setMode(ScreenMode mode);
    void readPaper();
    void paperTypeChosen(const QString& type);
    void writePickLists();
    void retitlePickLists(const GoodsCaptionTexts& captions);

    std::array<DBEdit*, 5> captions_{};
    DBEdit* companyName_ = nullptr;
    DBEdit* billBottom_ = nullptr;
    QComboBox* paperType_ = nullptr;
    QLineEdit* paperWidth_ = nullptr;
    QLineEdit* paperLength_ = nullptr;
    QLineEdit* lineCount_ = nullptr;
    // In the order they are written: sizes (规格), models, categories, currencies,
    // settlement types.
    std::array<PickList, 5> lists_;
};

}  // namespace talvor
