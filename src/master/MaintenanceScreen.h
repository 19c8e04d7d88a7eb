#pragma once

#include <QString>
#include <optional>

#include "master/core/NameSearch.h"
#include "ui/EditingDialog.h"

class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QBoxLayout;

namespace talvor {

class Dataset;
class DataGrid;
class DBEdit;

// The names and captions of the tool bar's buttons; screens older than the pattern keep their
// own.
struct ToolBarNames {
    const char* add = "cmd_add";
    const char* edit = "cmd_edit";
    const char* dele = "cmd_dele";
    const char* save = "cmd_save";
    const char* canc = "cmd_canc";
    const char* exit = "cmd_exit";
    const char* addCaption = "新增[&A]";
    const char* editCaption = "修改[&E]";
    const char* deleCaption = "删除[&D]";
    const char* saveCaption = "保存[&S]";
    const char* cancCaption = "取消[&C]";
    const char* exitCaption = "退出[&X]";
};

// The add / edit / delete / save / cancel machine shared by the master-data screens: a record
// grid, a detail area bound to the grid's current row, a tool bar and the screen mode. A screen
// builds its detail area and says where it differs through the hooks.
class MaintenanceScreen : public EditingDialog {
    Q_OBJECT

  public:
    void cmd_addClick();
    void cmd_editClick();
    void cmd_deleClick();
    void cmd_saveClick();
    void cmd_cancClick();
    void cmd_findClick();

  protected:
    MaintenanceScreen(const QString& objectName, const QString& caption, int module,
                      Dataset* dataset, const QString& codeField, QWidget* parent);

    // The parts a screen places in its layout.
    QBoxLayout* buildToolBar(const ToolBarNames& names = {});
    QGroupBox* buildQuickFind(const QString& label);
    QGroupBox* buildDetailGroup(const QString& title);
    void setGrid(DataGrid* grid);
    void setCodeBox(DBEdit* box) { codeBox_ = box; }

    // Runs the screen's first steps with the wait cursor, then enters browsing.
    void start();
    void setMode(ScreenMode mode);

    Dataset* dataset() const { return dataset_; }
    QString trimmedCode() const;

    // Goods move to the row being edited by its code; companies edit the current row.
    // The controls by mode; a screen with other parts (a grid that edits, no quick find)
    // gives its own table.
    virtual const ControlStates& controlStates() const;
    virtual bool locatesRowOnEdit() const { return false; }
    // A screen that asks for more than a code says so here; false keeps the entry open.
    virtual bool entryComplete() { return true; }
    // Values the row takes from controls not bound to it, just before it posts.
    virtual void beforePost() {}
    // Add and edit have started.
    virtual void afterEntering() {}
    virtual void afterSave(const QString& /*code*/) {}
    virtual void afterCancel() {}

    // Quick find then also finds by name and by the pinyin initials of the name.
    void findNamesToo(NamedTable table) { namedTable_ = table; }

    bool locateCode(const QString& code);

  private:
    void locateNextNamed(const QString& typed);

    int module_;
    Dataset* dataset_;
    QString codeField_;
    DBEdit* codeBox_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    std::optional<NamedTable> namedTable_;
};

// A label and a control in the next free place of a two-column form grid.
void addFormRow(QGridLayout* grid, int row, int column, const QString& label, QWidget* control);

}  // namespace talvor
