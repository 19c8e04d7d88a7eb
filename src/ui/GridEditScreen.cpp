#include "ui/GridEditScreen.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <stdexcept>

#include "common/core/GoodsCaptions.h"
#include "common/core/Routines.h"
#include "datamodel/DataModule.h"
#include "datamodel/Error.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"

namespace talvor {

namespace {

// Cells edit as plain text whatever their type, so a number can be emptied or typed with any
// number of places. The dataset converts it; what is no number ends in the error report here,
// since an exception must not unwind through the view, and the row keeps what it held.
class TextCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QVariant value = index.data(Qt::EditRole);
        const bool number = value.typeId() == QMetaType::Double;
        static_cast<QLineEdit*>(editor)->setText(number ? QString::number(value.toDouble(), 'g', 15)
                                                        : value.toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        reportErrors(
            [&] { model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole); });
    }
};

class EntryKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* grid = static_cast<DataGrid*>(watched);
        if (grid->editTriggers() == QAbstractItemView::NoEditTriggers) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        Dataset& list = *grid->dataset();
        const bool onLastRow = grid->currentIndex().row() == list.recordCount() - 1;
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier && onLastRow) {
            grid->commitEditing();
            reportErrors([&] {
                list.checkBrowseMode();
                list.append();
            });
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
            grid->commitEditing();
            reportErrors([&] {
                if (!list.isEmpty()) list.deleteRow();
            });
            return true;
        }
        return false;
    }
};

using Handler = void (GridEditScreen::*)();

Handler handlerOf(const char* button) {
    static const std::pair<const char*, Handler> handlers[] = {
        {"cmd_add", &GridEditScreen::cmd_addClick},   {"cmd_edit", &GridEditScreen::cmd_editClick},
        {"cmd_dele", &GridEditScreen::cmd_deleClick}, {"cmd_save", &GridEditScreen::cmd_saveClick},
        {"cmd_canc", &GridEditScreen::cmd_cancClick}, {"cmd_find", &GridEditScreen::cmd_findClick},
        {"cmd_prin", &GridEditScreen::cmd_prinClick},
    };
    for (const auto& [name, handler] : handlers)
        if (qstrcmp(name, button) == 0) return handler;
    throw std::invalid_argument(std::string("no handler for ") + button);
}

}  // namespace

DataGrid* makeEditingGrid(Dataset* list, std::vector<GridColumn> columns, QWidget* parent) {
    auto* grid = new DataGrid(list, std::move(columns), parent);
    grid->setItemDelegate(new TextCellDelegate(grid));
    return grid;
}

void addEntryKeys(DataGrid* grid) { grid->installEventFilter(new EntryKeys(grid)); }

void beginListEditing(Dataset& list) {
    if (list.isEmpty())
        list.append();
    else
        list.edit();
}

void writeListChanges(Dataset& list) { list.updateBatch(); }

void discardListChanges(Dataset& list) {
    list.cancel();
    list.cancelBatch();
}

GridEditScreen::GridEditScreen(const GridEditDescriptor& descriptor, QWidget* parent)
    : EditingDialog(parent), d_(descriptor), list_(FrmDataMod()->*descriptor.list) {
    setObjectName(QLatin1String(d_.className));
    setWindowTitle(QString::fromUtf8(d_.caption));

    auto* bar = new QHBoxLayout;
    for (const GridToolButton& b : d_.buttons)
        bar->addWidget(toolButton(b.name, QString::fromUtf8(b.caption),
                                  [this, handler = handlerOf(b.name)] { (this->*handler)(); }));
    bar->addWidget(exitButton());
    bar->addStretch();

    boxRow_ = new QHBoxLayout;
    grid_ = makeEditingGrid(list_, d_.columns, this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setMinimumHeight(360);
    grid_->fitColumns(760);
    for (int c = 0; c < d_.goodsCaptionColumns; ++c)
        grid_->datasetModel()->setColumnTitle(c, GoodsCaptions()[size_t(c)]);

    auto* top = new QVBoxLayout(this);
    top->addLayout(bar);
    top->addLayout(boxRow_);
    top->addWidget(grid_);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

void GridEditScreen::addLabeled(const QString& label, QWidget* widget) {
    auto* text = new QLabel(label, this);
    text->setBuddy(widget);
    boxRow_->addWidget(text);
    boxRow_->addWidget(widget);
}

QLineEdit* GridEditScreen::addTotalBox(const char* name, const QString& label) {
    auto* box = new QLineEdit(QStringLiteral("0"), this);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setMaximumWidth(110);
    addLabeled(label, box);
    return box;
}

QLineEdit* GridEditScreen::addCodeFinder(const char* name, const QString& label,
                                         bool focusGridOnMatch) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setMaximumWidth(120);
    addLabeled(label, box);
    connect(box, &QLineEdit::textChanged, this, [this, focusGridOnMatch](const QString& text) {
        bool found = false;
        quietly([&] {
            if (list_->isActive() && !list_->isEmpty())
                found = list_->locate(QStringLiteral("gods_code"), trimmedInput(text));
        });
        if (found && focusGridOnMatch) grid_->setFocus();
    });
    return box;
}

void GridEditScreen::setMode(ScreenMode mode) {
    mode_ = mode;
    applyControlStates(*this, d_.controls, mode, d_.module);
    grid_->setReadOnly(mode == ScreenMode::Null);
}

void GridEditScreen::cmd_editClick() {
    if (beginEditing()) setMode(ScreenMode::Edit);
}

void GridEditScreen::cmd_saveClick() {
    grid_->commitEditing();
    try {
        if (!saveChanges()) return;
    } catch (const Error& e) {
        messages().inform(QStringLiteral("保存失败：") + e.message(), MessageIcon::Warning);
        return;
    }
    setMode(ScreenMode::Null);
}

void GridEditScreen::cmd_cancClick() {
    grid_->commitEditing();
    quietly([this] { cancelChanges(); });
    setMode(ScreenMode::Null);
}

bool GridEditScreen::beginEditing() {
    return quietly([this] { beginListEditing(*list_); });
}

bool GridEditScreen::saveChanges() {
    writeListChanges(*list_);
    return true;
}

void GridEditScreen::cancelChanges() { discardListChanges(*list_); }

void GridEditScreen::closeEvent(QCloseEvent* event) {
    if (mode_ != ScreenMode::Null && !d_.refusesCloseWhileEditing) cmd_cancClick();
    EditingDialog::closeEvent(event);
}

void GridEditScreen::reject() {
    if (mode_ != ScreenMode::Null && !d_.refusesCloseWhileEditing) cmd_cancClick();
    EditingDialog::reject();
}

}  // namespace talvor
