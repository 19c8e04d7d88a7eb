#include "datamodel/Dataset.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <utility>

#include "datamodel/DisplayFormat.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/Schema.h"

namespace talvor {

using db::ColumnType;
using db::DbError;

namespace {

bool valuesEqual(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    if (isNumeric(a) && isNumeric(b)) return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

QVariant coerce(const QVariant& v, ColumnType type) {
    if (v.isNull() || v.typeId() != QMetaType::QString) return v;
    const QString text = v.toString().trimmed();
    switch (type) {
        case ColumnType::Float:
        case ColumnType::Decimal:
        case ColumnType::Integer: {
            if (text.isEmpty()) return {};
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok) throw DbError(QStringLiteral("“%1”不是有效的数字").arg(v.toString()));
            return number;
        }
        case ColumnType::DateTime: {
            if (text.isEmpty()) return {};
            const QDate date = QDate::fromString(text, Qt::ISODate);
            if (!date.isValid())
                throw DbError(QStringLiteral("“%1”不是有效的日期").arg(v.toString()));
            return date;
        }
        default:
            return v;
    }
}

}  // namespace

FieldDef FieldDef::data(const QString& name, bool noFormat) {
    FieldDef f;
    f.name = name;
    f.noFormat = noFormat;
    return f;
}

FieldDef FieldDef::lookup(const QString& name, Dataset* source, const QString& key,
                          const QString& sourceKey, const QString& result, int width) {
    FieldDef f;
    f.name = name;
    f.kind = FieldKind::Lookup;
    f.type = ColumnType::Text;
    f.source = source;
    f.key = key;
    f.sourceKey = sourceKey;
    f.result = result;
    f.width = width;
    return f;
}

FieldDef FieldDef::calculated(const QString& name, ColumnType type,
                              std::function<QVariant(const Dataset&, int row)> formula) {
    FieldDef f;
    f.name = name;
    f.kind = FieldKind::Calculated;
    f.type = type;
    f.formula = std::move(formula);
    return f;
}

Dataset::Dataset(db::Engine* engine, const QString& name, QObject* parent)
    : QObject(parent), engine_(engine), name_(name) {
    setObjectName(name);
}

Dataset::~Dataset() { clearMasterLink(); }

void Dataset::clearEvents() {
    onNewRecord = nullptr;
    beforePost = nullptr;
    afterPost = nullptr;
    beforeDelete = nullptr;
    afterDelete = nullptr;
    afterScroll = nullptr;
}

int Dataset::fieldIndex(const QString& name) const {
    return fieldByName_.value(name.toLower(), -1);
}

int Dataset::requireField(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0) throw DbError(QStringLiteral("%1: 字段“%2”不存在").arg(name_, name));
    return index;
}

void Dataset::buildFields(const db::ResultSet& result) {
    columns_ = result.columns;
    fields_.clear();
    fieldColumn_.clear();
    fieldByName_.clear();
    if (fixedFields_.empty()) {
        for (size_t i = 0; i < columns_.size(); ++i) {
            FieldDef f = FieldDef::data(columns_[i].name);
            f.type = columns_[i].type;
            fields_.push_back(f);
            fieldColumn_.push_back(int(i));
        }
    } else {
        for (const FieldDef& fixed : fixedFields_) {
            FieldDef f = fixed;
            int column = -1;
            if (f.kind == FieldKind::Data) {
                column = result.columnIndex(f.name);
                if (column < 0)
                    throw DbError(QStringLiteral("%1: 字段“%2”没有找到").arg(name_, f.name));
                if (f.type == ColumnType::Unknown) f.type = columns_[size_t(column)].type;
            }
            fields_.push_back(f);
            fieldColumn_.push_back(column);
        }
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        const QString key = fields_[i].name.toLower();
        if (!fieldByName_.contains(key)) fieldByName_.insert(key, int(i));
    }
    links_.assign(fields_.size(), {});
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].kind == FieldKind::Lookup) links_[i].keyField = requireField(fields_[i].key);
    ++fieldsBuilt_;

    baseTable_.clear();
    for (const db::ResultColumn& c : columns_)
        if (!c.table.isEmpty()) {
            baseTable_ = c.table;
            break;
        }
    keyColumn_.clear();
    keyResultColumn_ = autoResultColumn_ = -1;
    const db::TableDef* table = db::findTable(baseTable_);
    if (table) keyColumn_ = QLatin1String(table->key);
    for (size_t i = 0; i < columns_.size(); ++i) {
        const db::ResultColumn& c = columns_[i];
        if (c.table.compare(baseTable_, Qt::CaseInsensitive) != 0) continue;
        if (!keyColumn_.isEmpty() && c.origin.compare(keyColumn_, Qt::CaseInsensitive) == 0)
            keyResultColumn_ = int(i);
        if (c.type == ColumnType::Auto) autoResultColumn_ = int(i);
    }
}

void Dataset::openLookupSources() {
    for (const FieldDef& f : fields_)
        if (f.kind == FieldKind::Lookup && f.source && f.source != this && !f.source->isActive())
            f.source->open();
}

void Dataset::open() {
    if (isActive()) return;
    db::ResultSet result = engine_->query(sql_, params_);
    buildFields(result);
    slots_.clear();
    slots_.reserve(result.rows.size());
    for (db::ResultRow& values : result.rows)
        slots_.push_back({std::move(values), {}, RowStatus::Unchanged});
    order_.reset(int(slots_.size()));
    pending_.clear();
    editBackup_.reset();
    invalidateIndexes();
    current_ = slots_.empty() ? -1 : 0;
    eof_ = slots_.empty();
    setState(DatasetState::Browse);
    openLookupSources();
    emit opened();
    emit rowsReset();
    emit currentRowChanged(current_);
    if (afterScroll) afterScroll(*this);
}

void Dataset::close() {
    if (!isActive()) return;
    slots_.clear();
    order_.reset(0);
    pending_.clear();
    editBackup_.reset();
    invalidateIndexes();
    current_ = -1;
    eof_ = true;
    setState(DatasetState::Inactive);
    emit closed();
    emit rowsReset();
    emit currentRowChanged(current_);
}

void Dataset::reopen() {
    close();
    open();
}

long long Dataset::execute() { return engine_->execute(sql_, params_); }

void Dataset::openWith(const QString& sql, const QVariantMap& params) {
    close();
    sql_ = sql;
    params_ = params;
    open();
}

long long Dataset::executeWith(const QString& sql, const QVariantMap& params) {
    close();
    sql_ = sql;
    params_ = params;
    return execute();
}

DatasetEvents& DatasetEvents::attach(Dataset::Event event, std::function<void(Dataset&)> handler) {
    dataset_.*event = std::move(handler);
    attached_.push_back(event);
    return *this;
}

void DatasetEvents::detach() {
    for (const Dataset::Event event : attached_) dataset_.*event = nullptr;
    attached_.clear();
}

void Dataset::setState(DatasetState state) {
    if (state_ == state) return;
    state_ = state;
    emit stateChanged(state);
}

int Dataset::recordCount() const { return order_.liveCount(); }

void Dataset::checkBrowseMode() {
    if (!isEditing()) return;
    emit aboutToPost();  // what a bound editor still holds counts as a change
    if (modified_) {
        post();
    } else {
        cancel();
    }
}

void Dataset::moveTo(int row) {
    checkBrowseMode();
    current_ = isEmpty() ? -1 : std::clamp(row, 0, recordCount() - 1);
    emit currentRowChanged(current_);
    if (afterScroll) afterScroll(*this);
}

void Dataset::setCurrentRow(int row) {
    if (row == current_ && !isEditing()) return;
    moveTo(row);
    eof_ = isEmpty();
}

void Dataset::first() {
    moveTo(0);
    eof_ = isEmpty();
}

void Dataset::last() {
    moveTo(recordCount() - 1);
    eof_ = true;
}

void Dataset::next() {
    checkBrowseMode();
    if (current_ + 1 >= recordCount()) {
        eof_ = true;
        return;
    }
    moveTo(current_ + 1);
    eof_ = false;
}

bool Dataset::locate(const QString& field, const QVariant& value) {
    checkBrowseMode();
    const int f = requireField(field);
    if (value.isNull()) {
        for (int row = 0; row < recordCount(); ++row) {
            if (this->value(row, f).isNull()) {
                setCurrentRow(row);
                return true;
            }
        }
        return false;
    }
    const int slot = findSlot(f, value.toString());
    if (slot < 0 || !valuesEqual(slotValue(slot, f), value)) return false;
    setCurrentRow(order_.positionOf(slot));
    return true;
}

QVariant Dataset::lookupValue(int slot, int field) const {
    const FieldDef& f = fields_[size_t(field)];
    const Dataset* source = f.source;
    if (!source || !source->isActive()) return {};
    const LookupLink& link = links_[size_t(field)];
    const QVariant key = slotValue(slot, link.keyField);
    if (key.isNull()) return {};
    if (link.sourceFields != source->fieldsBuilt_) {
        link.sourceKeyField = source->requireField(f.sourceKey);
        link.resultField = source->requireField(f.result);
        link.sourceFields = source->fieldsBuilt_;
    }
    const int found = source->findSlot(link.sourceKeyField, key.toString());
    if (found < 0) return {};
    QVariant result = source->slotValue(found, link.resultField);
    if (result.isNull() || isNumeric(result)) return result;
    return cutToGbkWidth(result.toString(), f.width);
}

QVariant Dataset::slotValue(int slot, int field) const {
    const FieldDef& f = fields_[size_t(field)];
    switch (f.kind) {
        case FieldKind::Data:
            return slots_[size_t(slot)].values[size_t(fieldColumn_[size_t(field)])];
        case FieldKind::Lookup:
            return lookupValue(slot, field);
        case FieldKind::Calculated:
            return f.formula ? f.formula(*this, order_.positionOf(slot)) : QVariant();
    }
    return {};
}

QVariant Dataset::value(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0 || field >= fieldCount()) return {};
    return slotValue(slotOf(row), field);
}

QString Dataset::displayText(int row, int field) const {
    const QVariant v = value(row, field);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) return formatDate(v);
    if (isNumeric(v)) {
        const FieldDef& f = fields_[size_t(field)];
        if (f.type == ColumnType::Integer || f.type == ColumnType::Auto)
            return QString::number(v.toLongLong());
        return f.noFormat ? formatPlainNumber(v.toDouble()) : formatFloat(v.toDouble());
    }
    return v.toString();
}

void Dataset::setValue(const QString& field, const QVariant& value) {
    setValue(requireField(field), value);
}

void Dataset::setValue(int field, const QVariant& value) {
    if (!isActive()) throw DbError(QStringLiteral("%1: 数据集没有打开").arg(name_));
    const FieldDef& f = fields_.at(size_t(field));
    if (f.kind != FieldKind::Data)
        throw DbError(QStringLiteral("%1: 字段“%2”不能修改").arg(name_, f.name));
    if (!isEditing()) edit();
    const QVariant coerced = coerce(value, f.type);
    const int slot = slotOf(current_);
    const size_t column = size_t(fieldColumn_[size_t(field)]);
    const QVariant before = std::exchange(slots_[size_t(slot)].values[column], coerced);
    modified_ = true;
    reindexValue(slot, column, before);
    emit rowChanged(current_);
}

void Dataset::edit() {
    if (!isActive()) throw DbError(QStringLiteral("%1: 数据集没有打开").arg(name_));
    if (isEditing()) return;
    if (current_ < 0) {
        append();
        return;
    }
    editBackup_ = currentRowData();
    modified_ = false;
    setState(DatasetState::Edit);
}

void Dataset::append() {
    if (!isActive()) throw DbError(QStringLiteral("%1: 数据集没有打开").arg(name_));
    checkBrowseMode();
    appendedFrom_ = current_;
    dropTrailingDeadSlots();
    Row row;
    row.values.resize(columns_.size());
    row.status = RowStatus::Inserted;
    slots_.push_back(std::move(row));
    order_.append();
    current_ = recordCount() - 1;
    eof_ = false;
    setState(DatasetState::Insert);
    emit rowInserted(current_);
    emit currentRowChanged(current_);
    if (onNewRecord) onNewRecord(*this);
    modified_ = false;
}

void Dataset::post() {
    if (!isEditing()) return;
    emit aboutToPost();
    if (beforePost) beforePost(*this);
    const int slot = slotOf(current_);
    Row& row = slots_[size_t(slot)];
    if (lockMode_ == LockMode::Optimistic) {
        if (row.status == RowStatus::Inserted) {
            const QVariant number =
                autoResultColumn_ >= 0 ? row.values[size_t(autoResultColumn_)] : QVariant();
            writeInsert(row);
            if (autoResultColumn_ >= 0) reindexValue(slot, size_t(autoResultColumn_), number);
        } else {
            const Row change{row.values, editBackup_ ? editBackup_->values : row.values,
                             RowStatus::Modified};
            writeUpdate(change);
        }
        row.status = RowStatus::Unchanged;
        row.original.clear();
    } else {
        if (row.status == RowStatus::Unchanged && editBackup_) {
            row.status = RowStatus::Modified;
            row.original = editBackup_->values;
        }
        pending_.insert(slot);
    }
    editBackup_.reset();
    setState(DatasetState::Browse);
    emit rowChanged(current_);
    if (afterPost) afterPost(*this);
}

void Dataset::cancel() {
    if (state_ == DatasetState::Insert) {
        const int removed = current_;
        removeSlot(slotOf(removed), RowStatus::Gone);
        dropTrailingDeadSlots();
        // Back to the row that was current before the new one was begun.
        current_ = std::min(appendedFrom_ >= 0 ? appendedFrom_ : removed, recordCount() - 1);
        eof_ = isEmpty();
        setState(DatasetState::Browse);
        emit rowRemoved(removed);
        emit currentRowChanged(current_);
    } else if (state_ == DatasetState::Edit) {
        const int slot = slotOf(current_);
        unindexSlot(slot);
        slots_[size_t(slot)] = *editBackup_;
        indexSlot(slot);
        editBackup_.reset();
        setState(DatasetState::Browse);
        emit rowChanged(current_);
    }
}

void Dataset::deleteRow() {
    if (!isActive() || current_ < 0)
        throw DbError(QStringLiteral("%1: 没有可删除的记录").arg(name_));
    if (state_ == DatasetState::Insert) {
        cancel();
        return;
    }
    cancel();
    if (beforeDelete) beforeDelete(*this);
    const int removed = current_;
    const int slot = slotOf(removed);
    Row& row = slots_[size_t(slot)];
    if (lockMode_ == LockMode::Optimistic) {
        if (row.status != RowStatus::Inserted) writeDelete(row);
        removeSlot(slot, RowStatus::Gone);
    } else if (row.status == RowStatus::Inserted) {
        pending_.erase(slot);
        removeSlot(slot, RowStatus::Gone);
    } else {
        pending_.insert(slot);
        removeSlot(slot, RowStatus::Deleted);
    }
    current_ = std::min(removed, recordCount() - 1);
    eof_ = isEmpty();
    emit rowRemoved(removed);
    emit currentRowChanged(current_);
    if (afterDelete) afterDelete(*this);
}

void Dataset::removeSlot(int slot, RowStatus status) {
    unindexSlot(slot);
    order_.setLive(slot, false);
    Row& row = slots_[size_t(slot)];
    row.status = status;
    if (status == RowStatus::Gone) row = Row{{}, {}, RowStatus::Gone};
}

void Dataset::restoreSlot(int slot, db::ResultRow values) {
    Row& row = slots_[size_t(slot)];
    row = Row{std::move(values), {}, RowStatus::Unchanged};
    order_.setLive(slot, true);
    indexSlot(slot);
}

// A new row reuses the end of the store once the rows appended after the last kept one are gone.
void Dataset::dropTrailingDeadSlots() {
    while (!slots_.empty() && slots_.back().status == RowStatus::Gone) {
        slots_.pop_back();
        order_.popBack();
    }
}

bool Dataset::hasPendingChanges() const { return isEditing() || !pending_.empty(); }

void Dataset::updateBatch() {
    try {
        db::Transaction tx(*engine_);
        writeBatch();
        tx.commit();
    } catch (...) {
        batchRolledBack();
        throw;
    }
    batchCommitted();
}

void Dataset::writeBatch() {
    checkBrowseMode();
    numberedByBatch_.clear();
    for (int slot : pending_)
        if (slots_[size_t(slot)].status == RowStatus::Deleted) writeDelete(slots_[size_t(slot)]);
    for (int slot : pending_) {
        Row& row = slots_[size_t(slot)];
        if (row.status == RowStatus::Modified) writeUpdate(row);
        if (row.status == RowStatus::Inserted) {
            const bool numbered =
                autoResultColumn_ >= 0 && row.values[size_t(autoResultColumn_)].isNull();
            writeInsert(row);
            if (!numbered) continue;
            numberedByBatch_.push_back(slot);
            reindexValue(slot, size_t(autoResultColumn_), QVariant());
        }
    }
}

void Dataset::batchRolledBack() {
    for (int slot : numberedByBatch_) {
        QVariant& number = slots_[size_t(slot)].values[size_t(autoResultColumn_)];
        reindexValue(slot, size_t(autoResultColumn_), std::exchange(number, QVariant()));
    }
    numberedByBatch_.clear();
}

void Dataset::batchCommitted() {
    for (int slot : pending_) {
        Row& row = slots_[size_t(slot)];
        if (row.status == RowStatus::Deleted) {
            row = Row{{}, {}, RowStatus::Gone};
        } else {
            row.status = RowStatus::Unchanged;
            row.original.clear();
        }
    }
    pending_.clear();
    if (!numberedByBatch_.empty()) emit rowsReset();
    numberedByBatch_.clear();
}

void Dataset::cancelBatch() {
    cancel();
    for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
        const int slot = *it;
        Row& row = slots_[size_t(slot)];
        if (row.status == RowStatus::Inserted) {
            removeSlot(slot, RowStatus::Gone);
            continue;
        }
        if (row.status == RowStatus::Modified) unindexSlot(slot);
        restoreSlot(slot, std::move(row.original.empty() ? row.values : row.original));
    }
    pending_.clear();
    dropTrailingDeadSlots();
    current_ = isEmpty() ? -1 : std::clamp(current_, 0, recordCount() - 1);
    eof_ = isEmpty();
    emit rowsReset();
    emit currentRowChanged(current_);
}

QString Dataset::writableColumn(int resultColumn) const {
    const db::ResultColumn& c = columns_[size_t(resultColumn)];
    if (c.origin.isEmpty() || c.table.compare(baseTable_, Qt::CaseInsensitive) != 0) return {};
    return c.origin;
}

std::vector<size_t> Dataset::writableColumns() const {
    std::vector<size_t> columns;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (!writableColumn(int(i)).isEmpty()) columns.push_back(i);
    return columns;
}

// The row by its key, and each of `columns` holding the value it was read with: the check of
// an optimistic write. A table without key finds the row by every value it was read with.
QString Dataset::whereColumnsHold(const db::ResultRow& original, const std::vector<size_t>& columns,
                                  QVariantMap& params) const {
    QStringList conditions;
    const bool keyed = keyResultColumn_ >= 0 && !original[size_t(keyResultColumn_)].isNull();
    if (keyed) {
        params.insert(QStringLiteral("key_"), original[size_t(keyResultColumn_)]);
        conditions << keyColumn_ + QStringLiteral("=:key_");
    }
    for (size_t i : keyed ? columns : writableColumns()) {
        if (int(i) == keyResultColumn_) continue;
        const QString column = writableColumn(int(i));
        if (original[i].isNull()) {
            conditions << column + QStringLiteral(" is null");
            continue;
        }
        const QString param = QStringLiteral("w%1_").arg(i);
        params.insert(param, original[i]);
        // A date reads back the same whichever of its stored forms it has.
        conditions << (columns_[i].type == ColumnType::DateTime
                           ? QStringLiteral("datetime(%1)=datetime(:%2)").arg(column, param)
                           : QStringLiteral("%1=:%2").arg(column, param));
    }
    if (conditions.isEmpty()) throw DbError(QStringLiteral("%1: 无法确定要修改的记录").arg(name_));
    return conditions.join(QStringLiteral(" and "));
}

void Dataset::requireTouched(long long changed) const {
    if (changed == 0) throw DbError(QStringLiteral("记录已被其他用户修改或删除"));
}

void Dataset::writeInsert(Row& row) {
    if (baseTable_.isEmpty()) throw DbError(QStringLiteral("%1: 数据集不能修改").arg(name_));
    QStringList names, values;
    QVariantMap params;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const QString column = writableColumn(int(i));
        if (column.isEmpty() || row.values[i].isNull()) continue;
        const QString param = QStringLiteral("v%1_").arg(i);
        names << column;
        values << u':' + param;
        params.insert(param, row.values[i]);
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("insert into %1 default values").arg(baseTable_)
                            : QStringLiteral("insert into %1 (%2) values (%3)")
                                  .arg(baseTable_, names.join(u','), values.join(u','));
    engine_->execute(sql, params);
    if (autoResultColumn_ >= 0 && row.values[size_t(autoResultColumn_)].isNull())
        row.values[size_t(autoResultColumn_)] = qint64(engine_->lastInsertId());
}

void Dataset::writeUpdate(const Row& row) {
    QStringList sets;
    QVariantMap params;
    std::vector<size_t> changed;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const QString column = writableColumn(int(i));
        if (column.isEmpty() || valuesEqual(row.values[i], row.original[i])) continue;
        const QString param = QStringLiteral("v%1_").arg(i);
        sets << column + QStringLiteral("=:") + param;
        params.insert(param, row.values[i]);
        changed.push_back(i);
    }
    if (sets.isEmpty()) return;
    const QString where = whereColumnsHold(row.original, changed, params);
    requireTouched(engine_->execute(
        QStringLiteral("update %1 set %2 where %3").arg(baseTable_, sets.join(u','), where),
        params));
}

void Dataset::writeDelete(const Row& row) {
    if (baseTable_.isEmpty()) throw DbError(QStringLiteral("%1: 数据集不能修改").arg(name_));
    QVariantMap params;
    const db::ResultRow& original = row.original.empty() ? row.values : row.original;
    const QString where = whereColumnsHold(original, writableColumns(), params);
    requireTouched(
        engine_->execute(QStringLiteral("delete from %1 where %2").arg(baseTable_, where), params));
}

const db::ResultRow& Dataset::asRead(int slot) const {
    const Row& row = slots_[size_t(slot)];
    if (!row.original.empty()) return row.original;
    if (state_ == DatasetState::Edit && editBackup_ && slot == slotOf(current_))
        return editBackup_->values;
    return row.values;
}

bool Dataset::wasRead(int row) const {
    if (row < 0 || row >= recordCount()) return false;
    return slots_[size_t(slotOf(row))].status != RowStatus::Inserted;
}

bool Dataset::isStoredAsRead(int row) const {
    if (!wasRead(row)) return false;
    const db::ResultRow& values = asRead(slotOf(row));
    QVariantMap params;
    const QString where = whereColumnsHold(values, {}, params);
    return storedAsRead(QStringLiteral("select * from %1 where %2").arg(baseTable_, where), params,
                        {&values});
}

bool Dataset::areStoredAsRead(const QString& sql, const QVariantMap& params) const {
    std::vector<const db::ResultRow*> rows;
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
        const RowStatus status = slots_[slot].status;
        if (status != RowStatus::Inserted && status != RowStatus::Gone)
            rows.push_back(&asRead(int(slot)));
    }
    return storedAsRead(sql, params, rows);
}

// Each row as one text of its values, so that two sets of rows compare whatever their order.
QStringList Dataset::canonicalRows(const std::vector<const db::ResultRow*>& rows,
                                   const std::vector<int>& columnOf) const {
    QStringList texts;
    texts.reserve(qsizetype(rows.size()));
    for (const db::ResultRow* row : rows) {
        QString text;
        for (int column : columnOf) {
            const QVariant& v = (*row)[size_t(column)];
            text += v.isNull()     ? QStringLiteral("\x01")
                    : isNumeric(v) ? QString::number(v.toDouble(), 'g', 17)
                                   : u'\x02' + v.toString();
            text += u'\x1f';
        }
        texts << text;
    }
    texts.sort();
    return texts;
}

bool Dataset::storedAsRead(const QString& sql, const QVariantMap& params,
                           const std::vector<const db::ResultRow*>& asReadRows) const {
    const db::ResultSet stored = engine_->query(sql, params);
    std::vector<int> mine, theirs;
    for (size_t i : writableColumns()) {
        for (size_t j = 0; j < stored.columns.size(); ++j) {
            if (stored.columns[j].origin.compare(columns_[i].origin, Qt::CaseInsensitive) != 0 ||
                stored.columns[j].table.compare(baseTable_, Qt::CaseInsensitive) != 0)
                continue;
            mine.push_back(int(i));
            theirs.push_back(int(j));
            break;
        }
    }
    std::vector<const db::ResultRow*> storedRows;
    for (const db::ResultRow& row : stored.rows) storedRows.push_back(&row);
    return canonicalRows(asReadRows, mine) == canonicalRows(storedRows, theirs);
}

void Dataset::FieldIndex::add(const QString& key, int slot) {
    auto it = first.find(key);
    if (it == first.end()) {
        first.insert(key, slot);
        return;
    }
    int further = slot;
    if (slot < it.value()) further = std::exchange(it.value(), slot);
    std::vector<int>& rest = more[key];
    rest.insert(std::lower_bound(rest.begin(), rest.end(), further), further);
}

void Dataset::FieldIndex::remove(const QString& key, int slot) {
    auto it = first.find(key);
    if (it == first.end()) return;
    auto rest = more.find(key);
    if (it.value() == slot) {
        if (rest == more.end()) {
            first.erase(it);
            return;
        }
        it.value() = rest->front();
        rest->erase(rest->begin());
    } else if (rest != more.end()) {
        const auto at = std::lower_bound(rest->begin(), rest->end(), slot);
        if (at != rest->end() && *at == slot) rest->erase(at);
    }
    if (rest != more.end() && rest->empty()) more.erase(rest);
}

Dataset::FieldIndex& Dataset::indexOf(int field) const {
    auto it = indexes_.find(field);
    if (it != indexes_.end()) return it->second;
    FieldIndex index;
    index.column = fieldColumn_[size_t(field)];
    index.first.reserve(recordCount());
    for (int slot = 0; slot < int(slots_.size()); ++slot) {
        if (!order_.isLive(slot)) continue;
        const QVariant key = slotValue(slot, field);
        if (!key.isNull()) index.add(key.toString(), slot);
    }
    return indexes_.emplace(field, std::move(index)).first->second;
}

// Indexes over lookup and calculated fields cannot follow the rows their values come from:
// they are built again when next asked.
void Dataset::dropDerivedIndexes() const {
    std::erase_if(indexes_, [](const auto& entry) { return entry.second.column < 0; });
}

void Dataset::indexSlot(int slot) const {
    dropDerivedIndexes();
    const db::ResultRow& values = slots_[size_t(slot)].values;
    for (auto& [field, index] : indexes_)
        if (!values[size_t(index.column)].isNull())
            index.add(values[size_t(index.column)].toString(), slot);
}

void Dataset::unindexSlot(int slot) const {
    dropDerivedIndexes();
    const db::ResultRow& values = slots_[size_t(slot)].values;
    for (auto& [field, index] : indexes_)
        if (!values[size_t(index.column)].isNull())
            index.remove(values[size_t(index.column)].toString(), slot);
}

void Dataset::reindexValue(int slot, size_t column, const QVariant& before) const {
    dropDerivedIndexes();
    const QVariant& after = slots_[size_t(slot)].values[column];
    for (auto& [field, index] : indexes_) {
        if (index.column != int(column)) continue;
        if (!before.isNull()) index.remove(before.toString(), slot);
        if (!after.isNull() && order_.isLive(slot)) index.add(after.toString(), slot);
    }
}

void Dataset::invalidateIndexes() const { indexes_.clear(); }

int Dataset::findSlot(int field, const QString& key) const {
    return indexOf(field).first.value(key, -1);
}

int Dataset::findFirst(const QString& field, const QString& key) const {
    const int slot = findSlot(requireField(field), key);
    return slot < 0 ? -1 : order_.positionOf(slot);
}

void Dataset::setMasterLink(Dataset* master, const QString& masterField, const QString& param) {
    clearMasterLink();
    master_ = master;
    masterField_ = masterField;
    masterParam_ = param;
    masterConnections_[0] =
        connect(master, &Dataset::currentRowChanged, this, &Dataset::masterChanged);
    masterConnections_[1] = connect(master, &Dataset::rowsReset, this, &Dataset::masterChanged);
    masterConnections_[2] = connect(master, &Dataset::stateChanged, this, &Dataset::masterChanged);
}

void Dataset::clearMasterLink() {
    for (auto& c : masterConnections_) disconnect(c);
    master_ = nullptr;
}

void Dataset::masterChanged() {
    if (!master_ || !master_->isActive() || master_->isEditing()) return;
    const QVariant key = master_->value(masterField_);
    if (isActive() && params_.contains(masterParam_) &&
        valuesEqual(params_.value(masterParam_), key))
        return;
    setParam(masterParam_, key);
    reopen();
}

}  // namespace talvor
