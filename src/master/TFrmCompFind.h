#pragma once

#include <QDialog>

class QLineEdit;

namespace talvor {

class DataGrid;
class Dataset;

// Picks a company: after OK the current row of CompanyQ is the chosen one.
class TFrmCompFind : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmCompFind(QWidget* parent = nullptr);

    QString chosenCode() const;
    QString chosenName() const;

  private:
    void narrow(const QString& typed);

    Dataset* companies_;
    QLineEdit* findBox_;
    DataGrid* grid_;
};

}  // namespace talvor
