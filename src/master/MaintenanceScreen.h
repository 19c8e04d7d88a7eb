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
    QBoxLayout* buildToolBar();
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
    virtual void afterSave(const QString& /*code*/) {}
    virtual void afterCancel() {}

    // Quick find then also finds by name and by the pinyin initials of the name.
    void findNamesToo(NamedTable table) { namedTable_ = table; }

  private:
    bool locateCode(const QString& code);
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
