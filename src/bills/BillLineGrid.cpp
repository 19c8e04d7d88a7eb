#include "bills/BillLineGrid.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "ui/ErrorReport.h"

namespace talvor {

namespace {

constexpr int kCodeColumn = 0;

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QIcon ellipsisIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("..."));
    return QIcon(pixmap);
}

}  // namespace

QWidget* BillLineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                        const QModelIndex& index) const {
    QWidget* editor;
    if (index.column() == remarkColumn_ && !remarkItems_.isEmpty()) {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(remarkItems_);
        editor = box;
    } else if (index.column() == kCodeColumn) {
        auto* line = new QLineEdit(parent);
        QAction* pick = line->addAction(ellipsisIcon(), QLineEdit::TrailingPosition);
        pick->setObjectName(QStringLiteral("EditButton"));
        connect(pick, &QAction::triggered, this, &BillLineDelegate::ellipsisClicked);
        editor = line;
    } else {
        // Numbers are typed as text too: a spin box would not take a scanned or typed value
        // the way the rest of the line does.
        editor = new QLineEdit(parent);
    }
    editor->setProperty("gridColumn", index.column());
    return editor;
}

void BillLineDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setEditText(index.data(Qt::EditRole).toString());
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        // Numbers edit as they display, without a run of binary digits.
        line->setText(index.data(Qt::DisplayRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void BillLineDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    QString text;
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        text = box->currentText();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (line->text() == index.data(Qt::DisplayRole).toString()) return;  // nothing typed
        text = line->text();
    } else {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    reportErrors([&] { model->setData(index, text.trimmed(), Qt::EditRole); });
}

bool BillLineDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && isEnter(event)) {
        const int column = editor->property("gridColumn").toInt();
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        emit enterPressed(column);
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

BillLineGrid::BillLineGrid(Dataset* lines, std::vector<GridColumn> columns, QStringList remarkItems,
                           QWidget* parent)
    : DataGrid(lines, std::move(columns), parent) {
    setObjectName(QStringLiteral("DBGrid1"));
    // The grid decides itself where Enter goes; the program-wide Enter rule leaves it alone.
    setProperty("ownsEnter", true);
    const int remarkColumn = datasetModel()->columnOf(QStringLiteral("remark"));
    auto* delegate = new BillLineDelegate(std::move(remarkItems), remarkColumn, this);
    setItemDelegate(delegate);
    connect(delegate, &BillLineDelegate::enterPressed, this, &BillLineGrid::enterPressed);
    connect(delegate, &BillLineDelegate::ellipsisClicked, this, &BillLineGrid::ellipsisClicked);
    setEditable(false);
}

void BillLineGrid::setEditable(bool editable) {
    editable_ = editable;
    setReadOnly(!editable);
}

void BillLineGrid::editColumn(int column) {
    const QModelIndex index = model()->index(std::max(dataset()->currentRow(), 0), column);
    if (!index.isValid()) return;
    setCurrentIndex(index);
    setFocus();
    const bool editing = indexWidget(index) != nullptr;
    if (editable_ && !editing && (model()->flags(index) & Qt::ItemIsEditable)) edit(index);
}

void BillLineGrid::nextLine() {
    if (!editable_) return;
    if (!reportErrors([this] {
            Dataset* lines = dataset();
            if (lines->currentRow() + 1 >= lines->recordCount()) {
                lines->append();
            } else {
                lines->setCurrentRow(lines->currentRow() + 1);
            }
        }))
        return;
    editColumn(kCodeColumn);
}

void BillLineGrid::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event)) {
        emit enterPressed(currentIndex().column());
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down && editable_ &&
        dataset()->currentRow() + 1 >= dataset()->recordCount()) {
        const int column = std::max(currentIndex().column(), 0);
        if (reportErrors([this] {
                if (dataset()->state() != DatasetState::Insert || dataset()->isModified())
                    dataset()->append();
            }))
            setCurrentIndex(model()->index(dataset()->currentRow(), column));
        event->accept();
        return;
    }
    DataGrid::keyPressEvent(event);
}

}  // namespace talvor
