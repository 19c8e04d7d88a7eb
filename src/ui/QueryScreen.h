#pragma once

#include <QDate>
#include <QDialog>
#include <QHash>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <vector>

#include "datamodel/DatasetModel.h"

class QLabel;
class QLineEdit;

namespace talvor {

class Dataset;
class DataGrid;
class QueryScreen;
class TFrmDataMod;

namespace report {
class ReportLayout;
struct PreparedReport;
}  // namespace report

// The kinds of box a criteria row is made of.
enum class CriterionKind {
    Text,    // a line edit
    Combo,   // an editable pick list: fixed items, or the distinct values of a column
    Check,   // a check box
    Date,    // a date picker, long format with spin buttons, today when the screen opens
    Choice,  // radio buttons, the first chosen; objectNames are the criterion's name + "_" + index
    Picker,  // a line edit with a "..." button (objectName: name + "_pick") that fills it
};

// A box the user changes puts the code of what it names into another box: the first row of
// `table` whose `keyColumn` equals the trimmed text gives `resultColumn` (empty when none).
struct CodeLookup {
    const char* table = nullptr;
    const char* keyColumn = nullptr;
    const char* resultColumn = nullptr;
    const char* target = nullptr;  // the criterion that receives the code
};

// One box of the criteria row. What a user's change of it does to the others happens
// silently: the boxes it sets or empties do not run their own rules, so the filter just
// entered stays where it is.
struct Criterion {
    const char* name = nullptr;  // objectName
    CriterionKind kind = CriterionKind::Text;
    const char* label = nullptr;          // shown before the box; a check box carries it itself
    int width = 0;                        // pixels; 0 leaves the size to the layout
    std::vector<const char*> items = {};  // Combo: fixed items; Choice: the radio captions
    const char* itemsTable = nullptr;     // Combo: items are the distinct non-blank values of
    const char* itemsColumn = nullptr;    //        this column, read when the screen opens
    bool checked = false;                 // Check: marked when the screen opens
    // Rules on the user's change: a Text acts on every change, a Combo on a non-blank text, a
    // Check on each click.
    std::vector<const char*> empties = {};  // criteria emptied (check boxes unmarked)
    CodeLookup fillsCode = {};              // a code looked up from this box's text
    const char* locates = nullptr;          // the list moves to the row whose field equals the code
                                            // (this box's text, or the code it looked up)
    std::function<QString(QWidget* parent)> pick =
        nullptr;  // Picker: the code chosen, empty when none
    // The run-time label of the layout that prints the box's text (a date as a short date).
    const char* reportLabel = nullptr;
};

// A total box: the sum of a list field over the listed rows, in double precision, row by row.
struct QueryTotal {
    const char* name = nullptr;  // objectName of the read-only box
    const char* label = nullptr;
    const char* field = nullptr;
    const char* reportLabel = nullptr;  // the run-time label of the layout that prints its text
};

enum class TotalsPlace { BelowGrid, CriteriaRow };

// A statement with its parameters; the values the user typed are always bound.
struct QueryStatement {
    QString sql;
    QVariantMap params;
};

// Everything in which one query screen differs from another: criteria -> statement -> grid
// -> totals -> print.
struct QueryDescriptor {
    const char* className = nullptr;
    const char* caption = nullptr;
    const char* findCaption = "查询[&F]";
    int module = 0;  // rights of cmd_find and cmd_prin
    Dataset* TFrmDataMod::*list = nullptr;
    std::vector<GridColumn> columns = {};
    bool goodsCaptions = false;  // the first five column titles take the goods captions
    std::vector<Criterion> criteria = {};
    // The statement of the list from the criteria ...
    std::function<QueryStatement(const QueryScreen&)> statement = nullptr;
    // ... or, for a list that needs more than one statement, the whole step.
    std::function<void(QueryScreen&, Dataset& list)> run = nullptr;
    std::vector<QueryTotal> totals = {};
    TotalsPlace totalsPlace = TotalsPlace::BelowGrid;
    const char* layout = nullptr;      // instanceName of the report layout 打印 previews
    bool printsGoodsCaptions = false;  // the layout's first four headings take the captions
    bool printNeedsRows = false;       // 打印 usable only while the list holds rows
    // Further run-time labels of the layout, written from the screen as it stands.
    std::function<void(const QueryScreen&, report::ReportLayout&)> printing = nullptr;
    // Pages printed after the list's own (a chart).
    std::function<void(const QueryScreen&, report::PreparedReport&)> morePages = nullptr;
    std::function<void(QueryScreen&)> opening = nullptr;  // after the boxes are built and filled
    // A widget beside the grid (a chart), made once when the screen is built.
    std::function<QWidget*(QueryScreen&)> besideGrid = nullptr;
};

// The query machine: tool bar 查询 / 打印 / 退出, a criteria row, a read-only grid over a
// shared dataset, total boxes, and printing through the report layouts. 查询 and 打印 follow
// the find and print rights of the module. A query that fails reaches the general error report
// and leaves the totals as they were; a print that fails is swallowed.
class QueryScreen : public QDialog {
    Q_OBJECT

  public:
    QueryScreen(const QueryDescriptor& descriptor, QWidget* parent = nullptr);

    void cmd_findClick();
    void cmd_prinClick();

    const QueryDescriptor& descriptor() const { return d_; }
    Dataset& list() const { return *list_; }
    DataGrid& grid() const { return *grid_; }

    // The criteria as they stand: a text trimmed, a date, a mark, the index of a choice.
    QString text(const char* criterion) const;
    QDate date(const char* criterion) const;
    bool checked(const char* criterion) const;
    int choice(const char* criterion) const;
    // Sets a box without running its rules.
    void setText(const char* criterion, const QString& text);

    QString totalText(const char* total) const;

  private:
    QWidget* buildCriterion(const Criterion& c);
    QWidget* box(const char* criterion) const;
    void connectRules(const Criterion& c);
    void userChanged(const Criterion& c, const QString& text);
    void empty(const char* criterion);
    void locate(const char* field, const QString& code);
    void showTotals();
    void applyRights();

    const QueryDescriptor& d_;
    Dataset* list_;
    DataGrid* grid_ = nullptr;
    QHash<QString, QWidget*> boxes_;
    QHash<QString, QLineEdit*> totals_;
};

}  // namespace talvor
