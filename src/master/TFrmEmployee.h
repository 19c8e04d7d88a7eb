#pragma once

#include <vector>

#include "master/MaintenanceScreen.h"

class QDateEdit;

namespace talvor {

class DBComboBox;

// The personnel file (员工资料); the employee codes are also the user ids of the rights table.
class TFrmEmployee : public MaintenanceScreen {
    Q_OBJECT

  public:
    explicit TFrmEmployee(QWidget* parent = nullptr);

  protected:
    const ControlStates& controlStates() const override;
    bool locatesRowOnEdit() const override { return true; }
    bool entryComplete() override;
    void beforePost() override;
    void afterEntering() override;
    void afterCancel() override;

  private:
    QGroupBox* buildGroup(const char* name, const QString& title, int firstField, int endField);
    QDateEdit* datePicker(const char* field, QWidget* parent);
    void fillPickLists();
    void showRowDates();

    struct PickList {
        QString column;
        DBComboBox* box;
    };
    std::vector<PickList> pickLists_;
    QDateEdit* birth_ = nullptr;
    QDateEdit* hired_ = nullptr;
};

}  // namespace talvor
