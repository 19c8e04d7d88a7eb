#pragma once

#include <array>

#include "master/MaintenanceScreen.h"

class QLabel;

namespace talvor {

class DBComboBox;
class DBEdit;

// The goods master (产品资料).
class TFrmGoods : public MaintenanceScreen {
    Q_OBJECT

  public:
    explicit TFrmGoods(QWidget* parent = nullptr);

    // The "..." buttons beside the producer and the supplier code.
    void pickCompany(const QString& codeField);

  protected:
    bool locatesRowOnEdit() const override { return true; }
    void afterSave(const QString& code) override;

  private:
    QGroupBox* buildDetail();
    DBEdit* addEdit(QGridLayout* grid, int row, int column, const QString& label,
                    const char* field);
    DBComboBox* addPickList(QGridLayout* grid, int row, int column, const QString& label,
                            const char* field);
    QWidget* companyPicker(const char* name, const char* codeField, const char* nameField);
    void fillPickLists();

    std::array<QLabel*, 5> captionLabels_{};
    DBComboBox *spec_ = nullptr, *type_ = nullptr, *kind_ = nullptr, *unit_ = nullptr;
};

}  // namespace talvor
