#include "ui/CutCellTips.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionViewItem>
#include <QToolTip>

namespace talvor {

bool cellIsCut(const QAbstractItemView& view, const QModelIndex& index) {
    const QAbstractItemDelegate* delegate = view.itemDelegateForIndex(index);
    if (!delegate || index.data(Qt::DisplayRole).toString().isEmpty()) return false;
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    return delegate->sizeHint(option, index).width() > view.visualRect(index).width();
}

CutCellTips::CutCellTips(QAbstractItemView* view) : QObject(view), view_(view) {
    view->viewport()->installEventFilter(this);
}

bool CutCellTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || watched != view_->viewport()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = view_->indexAt(help->pos());
    if (index.isValid() && cellIsCut(*view_, index))
        QToolTip::showText(help->globalPos(), index.data(Qt::DisplayRole).toString(),
                           view_->viewport(), view_->visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

}  // namespace talvor
