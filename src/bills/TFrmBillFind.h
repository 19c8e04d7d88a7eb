#pragma once

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;

namespace talvor {

class DataGrid;
class Dataset;

// Finds a saved bill of the calling screen's kind (CurrentBillType) over inmain or outmain;
// after OK the chosen bill is the current row of the result list.
class TFrmBillFind : public QDialog {
    Q_OBJECT

  public:
    enum Table { Incoming, Outgoing };
    TFrmBillFind(Table table, QWidget* parent = nullptr);

    QString chosenBillNo() const;

    void cmd_editClick();
    void cmd_saveClick();

  private:
    void search(const QString& statement, const QVariantMap& extra);

    Table table_;
    Dataset* results_;
    QLineEdit* billNo_;
    QLineEdit* voucher_;
    QComboBox* company_;
    QDateEdit* from_;
    QDateEdit* to_;
    DataGrid* grid_;
};

}  // namespace talvor
