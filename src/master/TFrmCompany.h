#pragma once

#include "master/MaintenanceScreen.h"

namespace talvor {

// Customers and suppliers alike (公司资料).
class TFrmCompany : public MaintenanceScreen {
    Q_OBJECT

  public:
    explicit TFrmCompany(QWidget* parent = nullptr);

  protected:
    void afterCancel() override;

  private:
    QGroupBox* buildDetail();
};

}  // namespace talvor
