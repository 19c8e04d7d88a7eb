#pragma once

#include <QDialog>

namespace talvor {

class DataGrid;

// Picks a company: after OK the current row of CompanyQ is the chosen one.
class TFrmCompFind : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmCompFind(QWidget* parent = nullptr);

    QString chosenCode() const;
    QString chosenName() const;

  private:
    DataGrid* grid_;
};

}  // namespace talvor
