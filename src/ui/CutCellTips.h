#pragma once

#include <QObject>

class QAbstractItemView;
class QModelIndex;

namespace talvor {

// Whether a cell's text is wider than the cell, so that the grid cuts it.
bool cellIsCut(const QAbstractItemView& view, const QModelIndex& index);

// Shows the whole text of a cut cell as its tooltip; a cell that shows all of its text has
// none. Lives as long as the view it serves.
class CutCellTips : public QObject {
  public:
    explicit CutCellTips(QAbstractItemView* view);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractItemView* view_;
};

}  // namespace talvor
