#pragma once

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLineEdit;

namespace talvor {

class DataGrid;
class Dataset;
struct SettlementDescriptor;

// Finds saved receipts (TFrmGathFind) or payments (TFrmPayFind) by number or by date; after OK
// the chosen one is the current row of the shared dataset of saved rows.
class SettlementFind : public QDialog {
    Q_OBJECT

  public:
    SettlementFind(const SettlementDescriptor& descriptor, QWidget* parent = nullptr);

    void cmd_editClick();
    void cmd_saveClick();

  private:
    void search(const QString& condition, const QVariantMap& params);

    const SettlementDescriptor& d_;
    Dataset* found_;
    QLineEdit* number_;
    QDateEdit* date_;
    QCheckBox* all_;
    DataGrid* grid_;
};

}  // namespace talvor
