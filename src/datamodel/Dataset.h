#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "datamodel/SlotOrder.h"
#include "datamodel/db/Engine.h"

namespace talvor {

class Dataset;

enum class FieldKind { Data, Lookup, Calculated };
enum class LockMode { Optimistic, Batch };
enum class DatasetState { Inactive, Browse, Edit, Insert };

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Data;
    db::ColumnType type = db::ColumnType::Unknown;
    bool noFormat = false;  // floats shown with every digit instead of "#0.##"

    // Lookup: `result` of the first row of `source` whose `sourceKey` equals this row's `key`,
    // cut to `width` bytes of its GBK form.
    Dataset* source = nullptr;
    QString key;
    QString sourceKey;
    QString result;
    int width = 20;

    // Calculated: computed from the row whenever it is read.
    std::function<QVariant(const Dataset&, int row)> formula;

    static FieldDef data(const QString& name, bool noFormat = false);
    static FieldDef lookup(const QString& name, Dataset* source, const QString& key,
                           const QString& sourceKey, const QString& result, int width = 20);
    static FieldDef calculated(const QString& name, db::ColumnType type,
                               std::function<QVariant(const Dataset&, int row)> formula);
};

// A statement with parameters and a client-side cursor over all its rows: the program's one
// way to read and write data. Rows are edited, appended and deleted in memory; in optimistic
// mode each post is written at once, in batch mode the changes wait for updateBatch().
class Dataset : public QObject {
    Q_OBJECT

  public:
    Dataset(db::Engine* engine, const QString& name, QObject* parent = nullptr);
    ~Dataset() override;

    const QString& name() const { return name_; }
    db::Engine* engine() const { return engine_; }

    void setSql(const QString& sql) { sql_ = sql; }
    const QString& sql() const { return sql_; }
    void setParam(const QString& name, const QVariant& value) { params_.insert(name, value); }
    void clearParams() { params_.clear(); }
    const QVariantMap& params() const { return params_; }
    void setLockMode(LockMode mode) { lockMode_ = mode; }
    LockMode lockMode() const { return lockMode_; }

    // A fixed field list: exactly these fields, whatever the statement returns. Empty means
    // every column of the result.
    void setFieldDefs(std::vector<FieldDef> fields) { fixedFields_ = std::move(fields); }
    const std::vector<FieldDef>& fieldDefs() const { return fields_; }

    void open();
    void close();
    void reopen();  // close and open with the same statement and parameters
    // Closes, takes this statement with exactly these parameters, and opens again.
    void openWith(const QString& sql, const QVariantMap& params = {});
    // The same for a statement without rows.
    long long executeWith(const QString& sql, const QVariantMap& params = {});
    bool isActive() const { return state_ != DatasetState::Inactive; }
    DatasetState state() const { return state_; }
    bool isEditing() const {
        return state_ == DatasetState::Edit || state_ == DatasetState::Insert;
    }

    // Runs the statement as a command without rows.
    long long execute();

    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }

    int currentRow() const { return current_; }  // -1 when there is no row
    void setCurrentRow(int row);
    void first();
    void last();
    void next();
    bool eof() const { return eof_; }
    bool locate(const QString& field, const QVariant& value);  // exact, letter case counts

    int fieldCount() const { return int(fields_.size()); }
    int fieldIndex(const QString& name) const;  // -1 when absent; names compare without case
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    const FieldDef& field(int index) const { return fields_[size_t(index)]; }

    QVariant value(int row, int field) const;
    QVariant value(int row, const QString& field) const { return value(row, requireField(field)); }
    QVariant value(const QString& field) const { return value(current_, field); }
    QString text(const QString& field) const { return value(field).toString(); }
    double number(const QString& field) const { return value(field).toDouble(); }
    QString displayText(int row, int field) const;

    // Changes a data field of the current row, entering edit mode when browsing.
    void setValue(const QString& field, const QVariant& value);
    void setValue(int field, const QVariant& value);

    void edit();
    void append();
    // Ends an edit before the cursor moves: posts a changed row, drops an untouched one
    // (a new row that nothing was typed into disappears again).
    void checkBrowseMode();
    bool isModified() const { return modified_; }
    void post();
    void cancel();
    void deleteRow();  // the current row

    // Writes every pending change in one transaction, or none of them.
    void updateBatch();
    void cancelBatch();
    // For an operation that writes several datasets in one transaction of its own: the
    // changes are written but stay pending until the caller reports the outcome.
    void writeBatch();
    void batchCommitted();
    void batchRolledBack();
    bool hasPendingChanges() const;

    // Lines that follow a header: whenever the master's current row changes, this dataset
    // is opened again with `param` set to the master's `masterField`.
    void setMasterLink(Dataset* master, const QString& masterField, const QString& param);
    void clearMasterLink();

    // The first row whose field equals key exactly, found through a hash index that follows
    // every change of a row; -1 when none.
    int findFirst(const QString& field, const QString& key) const;

    // Checks before an operation writes rows it read earlier: another copy may have changed
    // them since. Whether the row came from the database (rather than being appended since);
    // whether the database still holds it as read, before the changes pending on it; whether
    // `sql` returns exactly the rows this dataset read, pending deletions included, as read.
    bool wasRead(int row) const;
    bool isStoredAsRead(int row) const;
    bool areStoredAsRead(const QString& sql, const QVariantMap& params) const;

    // Events a screen attaches; each replaces the previous one.
    std::function<void(Dataset&)> onNewRecord;
    std::function<void(Dataset&)> beforePost;
    std::function<void(Dataset&)> afterPost;
    std::function<void(Dataset&)> beforeDelete;
    std::function<void(Dataset&)> afterDelete;
    std::function<void(Dataset&)> afterScroll;
    void clearEvents();
    using Event = std::function<void(Dataset&)> Dataset::*;

  signals:
    void opened();
    void closed();
    void rowsReset();  // rows replaced as a whole
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);  // values of one row changed
    void currentRowChanged(int row);
    void stateChanged(DatasetState state);
    void aboutToPost();  // bound editors write what is still typed, then the row posts

  private:
    // Deleted: removed but waiting for updateBatch; Gone: a dead slot that holds nothing.
    enum class RowStatus { Unchanged, Modified, Inserted, Deleted, Gone };
    struct Row {
        db::ResultRow values;
        db::ResultRow original;  // as read, kept while a change is pending
        RowStatus status = RowStatus::Unchanged;
    };
    // The rows holding each value of one field, kept up to date row by row.
    struct FieldIndex {
        int column = -1;                        // result column of a data field, -1 otherwise
        QHash<QString, int> first;              // value -> its lowest slot
        QHash<QString, std::vector<int>> more;  // value -> its further slots, ascending
        void add(const QString& key, int slot);
        void remove(const QString& key, int slot);
    };
    // A lookup field's key in this dataset, and the source fields it reads, found again
    // whenever the source has built its fields anew.
    struct LookupLink {
        int keyField = -1;
        mutable int sourceFields = -1;  // the source's fieldsBuilt_ when resolved
        mutable int sourceKeyField = -1;
        mutable int resultField = -1;
    };

    int requireField(const QString& name) const;
    void buildFields(const db::ResultSet& result);
    void openLookupSources();
    QVariant lookupValue(int row, int field) const;
    QVariant slotValue(int slot, int field) const;
    int slotOf(int row) const { return order_.slotAt(row); }
    Row& currentRowData() { return slots_[size_t(slotOf(current_))]; }
    void setState(DatasetState state);
    void moveTo(int row);
    void removeSlot(int slot, RowStatus status);
    void restoreSlot(int slot, db::ResultRow values);
    void dropTrailingDeadSlots();
    void writeInsert(Row& row);
    void writeUpdate(const Row& row);
    void writeDelete(const Row& row);
    void requireTouched(long long changed) const;
    const db::ResultRow& asRead(int slot) const;
    QString whereColumnsHold(const db::ResultRow& original, const std::vector<size_t>& columns,
                             QVariantMap& params) const;
    QString writableColumn(int resultColumn) const;
    std::vector<size_t> writableColumns() const;
    QStringList canonicalRows(const std::vector<const db::ResultRow*>& rows,
                              const std::vector<int>& columnOf) const;
    bool storedAsRead(const QString& sql, const QVariantMap& params,
                      const std::vector<const db::ResultRow*>& asReadRows) const;
    FieldIndex& indexOf(int field) const;
    void indexSlot(int slot) const;
    void unindexSlot(int slot) const;
    void reindexValue(int slot, size_t column, const QVariant& before) const;
    void dropDerivedIndexes() const;
    void invalidateIndexes() const;
    int findSlot(int field, const QString& key) const;
    void masterChanged();

    db::Engine* engine_;
    QString name_;
    QString sql_;
    QVariantMap params_;
    LockMode lockMode_ = LockMode::Optimistic;
    std::vector<FieldDef> fixedFields_;

    std::vector<FieldDef> fields_;
    std::vector<int> fieldColumn_;   // result column of each data field, -1 otherwise
    std::vector<LookupLink> links_;  // per field; set for lookup fields
    QHash<QString, int> fieldByName_;
    int fieldsBuilt_ = 0;  // counts the times the fields were built
    std::vector<db::ResultColumn> columns_;
    QString baseTable_;
    QString keyColumn_;
    int keyResultColumn_ = -1;
    int autoResultColumn_ = -1;

    // Rows by slot: a slot never moves, a removed row leaves a dead one behind; order_ gives
    // the positions the program sees.
    std::vector<Row> slots_;
    SlotOrder order_;
    std::set<int> pending_;  // slots of Modified, Inserted and Deleted rows
    std::optional<Row> editBackup_;
    int current_ = -1;
    int appendedFrom_ = -1;
    bool modified_ = false;  // a value of the row being edited was set
    bool eof_ = true;
    DatasetState state_ = DatasetState::Inactive;

    std::vector<int> numberedByBatch_;  // slots that got their auto number from writeBatch
    mutable std::unordered_map<int, FieldIndex> indexes_;  // by field

    Dataset* master_ = nullptr;
    QString masterField_;
    QString masterParam_;
    QMetaObject::Connection masterConnections_[3];
};

// The handlers one screen attaches to a shared dataset, detached again when the scope goes,
// also when the screen's constructor throws after attaching them, so a later screen never
// calls into a destroyed one.
class DatasetEvents {
  public:
    explicit DatasetEvents(Dataset& dataset) : dataset_(dataset) {}
    ~DatasetEvents() { detach(); }
    DatasetEvents(const DatasetEvents&) = delete;
    DatasetEvents& operator=(const DatasetEvents&) = delete;

    DatasetEvents& attach(Dataset::Event event, std::function<void(Dataset&)> handler);
    void detach();

  private:
    Dataset& dataset_;
    std::vector<Dataset::Event> attached_;
};

}  // namespace talvor
