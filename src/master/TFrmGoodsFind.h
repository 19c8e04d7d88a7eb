#pragma once

#include <QDialog>

class QComboBox;
class QCompleter;
class QLineEdit;
class QStringListModel;

namespace talvor {

class DataGrid;

// Picks a goods for a bill line: after OK the current row of GoodsFindQ is the chosen goods.
class TFrmGoodsFind : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmGoodsFind(QWidget* parent = nullptr);

    QString chosenCode() const;
    void cmd_prinClick();

  private:
    void codeChanged(const QString& text);
    void nameChosen(const QString& name);
    void completeName(const QString& typed);

    QLineEdit* codeBox_;
    QComboBox* nameBox_;
    QStringListModel* names_;
    QCompleter* completer_;
    DataGrid* grid_;
};

}  // namespace talvor
