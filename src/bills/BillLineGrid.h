#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

#include "ui/DataGrid.h"

namespace talvor {

// The line grid of a bill: cells edit in place, moving down past the last line begins a new
// one, the code cell carries a "..." button for the goods picker, and Enter is left to the
// screen, which decides where the entry goes next.
class BillLineGrid : public DataGrid {
    Q_OBJECT

  public:
    BillLineGrid(Dataset* lines, std::vector<GridColumn> columns, QStringList remarkItems,
                 QWidget* parent);

    void setEditable(bool editable);
    // Moves to a cell of the current line and opens its editor.
    void editColumn(int column);
    // The code cell of the next line, a new line when this is the last one.
    void nextLine();

  signals:
    void enterPressed(int column);
    void ellipsisClicked();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool editable_ = false;
};

class BillLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    BillLineDelegate(QStringList remarkItems, int remarkColumn, QObject* parent)
        : QStyledItemDelegate(parent),
          remarkItems_(std::move(remarkItems)),
          remarkColumn_(remarkColumn) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  signals:
    void enterPressed(int column);
    void ellipsisClicked();

  protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

  private:
    QStringList remarkItems_;
    int remarkColumn_;
};

}  // namespace talvor
