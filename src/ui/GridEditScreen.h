#pragma once

#include <QString>
#include <vector>

#include "datamodel/DatasetModel.h"
#include "ui/EditingDialog.h"

class QHBoxLayout;
class QLineEdit;

namespace talvor {

class Dataset;
class DataGrid;
class TFrmDataMod;

// A tool-bar button: cmd_add, cmd_edit, cmd_dele, cmd_save, cmd_canc, cmd_find or cmd_prin,
// each running the screen's handler of that name. 退出 always comes last.
struct GridToolButton {
    const char* name = nullptr;
    const char* caption = nullptr;
};

// Everything in which one grid-editing screen differs from another. The screen keeps a
// reference to it: give it a lifetime of its own (a function-local static).
struct GridEditDescriptor {
    const char* className = nullptr;
    const char* caption = nullptr;
    int module = 0;
    Dataset* TFrmDataMod::*list = nullptr;
    // Columns not marked read-only can be edited, and only while the mode is "edit".
    std::vector<GridColumn> columns = {};
    int goodsCaptionColumns = 0;  // the first columns that take the goods captions
    std::vector<GridToolButton> buttons = {};
    // The controls by mode and right; the grid is read-only in "null" whatever the table says.
    ControlStates controls = {};
    // Otherwise closing by the title bar while editing abandons the changes as 取消 does.
    bool refusesCloseWhileEditing = true;
};

// The machine's grid and its steps on a batch list, for a screen that edits several lists
// beside controls of its own: cells edit as plain text, the list edits its current row (or
// begins one when empty), writes every held change in one transaction, or discards them.
DataGrid* makeEditingGrid(Dataset* list, std::vector<GridColumn> columns, QWidget* parent);
// While the grid edits, Down on its last row begins a new entry and Ctrl+Delete removes the
// current one, for lists whose entries are added and deleted in place.
void addEntryKeys(DataGrid* grid);
void beginListEditing(Dataset& list);
void writeListChanges(Dataset& list);
void discardListChanges(Dataset& list);

// The grid-editing machine: a tool bar, a row of boxes the screen adds, and a grid over a
// shared dataset that edits in "edit" mode. 保存 first writes what the open cell holds into
// the row, then saveChanges(); an error is shown as "保存失败：" with its text and the mode
// stays "edit".
// 取消 runs cancelChanges() and returns to "null". The defaults suit a batch dataset: edit
// the current row (or begin one in an empty list), write every held change in one
// transaction, discard them.
class GridEditScreen : public EditingDialog {
    Q_OBJECT

  public:
    virtual void cmd_addClick() {}
    virtual void cmd_editClick();
    virtual void cmd_deleClick() {}
    virtual void cmd_saveClick();
    virtual void cmd_cancClick();
    virtual void cmd_findClick() {}
    virtual void cmd_prinClick() {}

    Dataset& list() const { return *list_; }
    DataGrid& grid() const { return *grid_; }

  protected:
    explicit GridEditScreen(const GridEditDescriptor& descriptor, QWidget* parent = nullptr);

    // The row between the tool bar and the grid, for the screen's own boxes.
    QHBoxLayout* boxRow() const { return boxRow_; }
    void addLabeled(const QString& label, QWidget* widget);
    // A read-only total box, showing "0".
    QLineEdit* addTotalBox(const char* name, const QString& label);
    // A code box: on every change the list moves to the row whose gods_code equals the
    // trimmed text, when there is one.
    QLineEdit* addCodeFinder(const char* name, const QString& label, bool focusGridOnMatch);

    // The screen's first steps are done: browse.
    void start() { setMode(ScreenMode::Null); }
    void setMode(ScreenMode mode);

    // Each returns false to keep the mode, having said why if there is anything to say.
    virtual bool beginEditing();
    virtual bool saveChanges();
    virtual void cancelChanges();

    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    const GridEditDescriptor& d_;
    Dataset* list_;
    DataGrid* grid_ = nullptr;
    QHBoxLayout* boxRow_ = nullptr;
};

}  // namespace talvor
