#include "datamodel/Dataset.h"

#include <QDate>
#include <QDateTime>

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
    rows_.clear();
    rows_.reserve(result.rows.size());
    for (db::ResultRow& values : result.rows)
        rows_.push_back({std::move(values), {}, RowStatus::Unchanged});
    deleted_.clear();
    editBackup_.reset();
    invalidateIndexes();
    current_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    setState(DatasetState::Browse);
    openLookupSources();
    emit opened();
    emit rowsReset();
    emit currentRowChanged(current_);
    if (afterScroll) afterScroll(*this);
}

void Dataset::close() {
    if (!isActive()) return;
    rows_.clear();
    deleted_.clear();
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
    if (rows_.empty()) {
        current_ = -1;
    } else {
        current_ = std::clamp(row, 0, int(rows_.size()) - 1);
    }
    emit currentRowChanged(current_);
    if (afterScroll) afterScroll(*this);
}

void Dataset::setCurrentRow(int row) {
    if (row == current_ && !isEditing()) return;
    moveTo(row);
    eof_ = rows_.empty();
}

void Dataset::first() {
    moveTo(0);
    eof_ = rows_.empty();
}

void Dataset::last() {
    moveTo(int(rows_.size()) - 1);
    eof_ = true;
}

void Dataset::next() {
    checkBrowseMode();
    if (current_ + 1 >= int(rows_.size())) {
        eof_ = true;
        return;
    }
    moveTo(current_ + 1);
    eof_ = false;
}

bool Dataset::locate(const QString& field, const QVariant& value) {
    checkBrowseMode();
    const int f = requireField(field);
    for (int row = 0; row < int(rows_.size()); ++row) {
        if (valuesEqual(this->value(row, f), value)) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

QVariant Dataset::dataValue(int row, int field) const {
    const int column = fieldColumn_[size_t(field)];
    return column < 0 ? QVariant() : rows_[size_t(row)].values[size_t(column)];
}

QVariant Dataset::lookupValue(int row, const FieldDef& f) const {
    if (!f.source || !f.source->isActive()) return {};
    const QVariant key = value(row, f.key);
    if (key.isNull()) return {};
    const int found = f.source->findFirst(f.sourceKey, key.toString());
    if (found < 0) return {};
    const QVariant result = f.source->value(found, f.result);
    if (result.isNull() || isNumeric(result)) return result;
    return cutToGbkWidth(result.toString(), f.width);
}

QVariant Dataset::value(int row, int field) const {
    if (row < 0 || row >= int(rows_.size()) || field < 0 || field >= int(fields_.size())) return {};
    const FieldDef& f = fields_[size_t(field)];
    switch (f.kind) {
        case FieldKind::Data:
            return dataValue(row, field);
        case FieldKind::Lookup:
            return lookupValue(row, f);
        case FieldKind::Calculated:
            return f.formula ? f.formula(*this, row) : QVariant();
    }
    return {};
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
    rows_[size_t(current_)].values[size_t(fieldColumn_[size_t(field)])] = coerce(value, f.type);
    modified_ = true;
    invalidateIndexes();
    emit rowChanged(current_);
}

void Dataset::edit() {
    if (!isActive()) throw DbError(QStringLiteral("%1: 数据集没有打开").arg(name_));
    if (isEditing()) return;
    if (current_ < 0) {
        append();
        return;
    }
    editBackup_ = rows_[size_t(current_)];
    modified_ = false;
    setState(DatasetState::Edit);
}

void Dataset::append() {
    if (!isActive()) throw DbError(QStringLiteral("%1: 数据集没有打开").arg(name_));
    checkBrowseMode();
    appendedFrom_ = current_;
    Row row;
    row.values.resize(columns_.size());
    row.status = RowStatus::Inserted;
    rows_.push_back(std::move(row));
    current_ = int(rows_.size()) - 1;
    eof_ = false;
    invalidateIndexes();
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
    Row& row = rows_[size_t(current_)];
    if (lockMode_ == LockMode::Optimistic) {
        if (row.status == RowStatus::Inserted) {
            writeInsert(row);
        } else {
            const Row change{row.values, editBackup_ ? editBackup_->values : row.values,
                             RowStatus::Modified};
            writeUpdate(change);
        }
        row.status = RowStatus::Unchanged;
        row.original.clear();
    } else if (row.status == RowStatus::Unchanged && editBackup_) {
        row.status = RowStatus::Modified;
        row.original = editBackup_->values;
    }
    editBackup_.reset();
    setState(DatasetState::Browse);
    emit rowChanged(current_);
    if (afterPost) afterPost(*this);
}

void Dataset::cancel() {
    if (state_ == DatasetState::Insert) {
        const int removed = current_;
        rows_.erase(rows_.begin() + removed);
        // Back to the row that was current before the new one was begun.
        current_ = std::min(appendedFrom_ >= 0 ? appendedFrom_ : removed, int(rows_.size()) - 1);
        eof_ = rows_.empty();
        invalidateIndexes();
        setState(DatasetState::Browse);
        emit rowRemoved(removed);
        emit currentRowChanged(current_);
    } else if (state_ == DatasetState::Edit) {
        rows_[size_t(current_)] = *editBackup_;
        editBackup_.reset();
        invalidateIndexes();
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
    Row& row = rows_[size_t(removed)];
    if (lockMode_ == LockMode::Optimistic) {
        if (row.status != RowStatus::Inserted) writeDelete(row);
    } else if (row.status != RowStatus::Inserted) {
        deleted_.push_back({std::move(row), removed});
    }
    rows_.erase(rows_.begin() + removed);
    current_ = std::min(removed, int(rows_.size()) - 1);
    eof_ = rows_.empty();
    invalidateIndexes();
    emit rowRemoved(removed);
    emit currentRowChanged(current_);
    if (afterDelete) afterDelete(*this);
}

bool Dataset::hasPendingChanges() const {
    if (!deleted_.empty() || isEditing()) return true;
    for (const Row& row : rows_)
        if (row.status != RowStatus::Unchanged) return true;
    return false;
}

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
    for (const DeletedRow& d : deleted_) writeDelete(d.row);
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& row = rows_[i];
        if (row.status == RowStatus::Modified) writeUpdate(row);
        if (row.status == RowStatus::Inserted) {
            const bool numbered =
                autoResultColumn_ >= 0 && row.values[size_t(autoResultColumn_)].isNull();
            writeInsert(row);
            if (numbered) numberedByBatch_.push_back(i);
        }
    }
}

void Dataset::batchRolledBack() {
    for (size_t i : numberedByBatch_)
        if (i < rows_.size()) rows_[i].values[size_t(autoResultColumn_)] = QVariant();
    numberedByBatch_.clear();
}

void Dataset::batchCommitted() {
    deleted_.clear();
    for (Row& row : rows_) {
        row.status = RowStatus::Unchanged;
        row.original.clear();
    }
    if (!numberedByBatch_.empty()) emit rowsReset();
    numberedByBatch_.clear();
}

void Dataset::cancelBatch() {
    cancel();
    for (int i = int(rows_.size()) - 1; i >= 0; --i) {
        Row& row = rows_[size_t(i)];
        if (row.status == RowStatus::Inserted) {
            rows_.erase(rows_.begin() + i);
        } else if (row.status == RowStatus::Modified) {
            row.values = std::move(row.original);
            row.original.clear();
            row.status = RowStatus::Unchanged;
        }
    }
    for (auto it = deleted_.rbegin(); it != deleted_.rend(); ++it) {
        Row row = std::move(it->row);
        if (row.status == RowStatus::Modified) {
            row.values = std::move(row.original);
            row.original.clear();
        }
        row.status = RowStatus::Unchanged;
        rows_.insert(rows_.begin() + std::min(it->index, int(rows_.size())), std::move(row));
    }
    deleted_.clear();
    invalidateIndexes();
    current_ = rows_.empty() ? -1 : std::clamp(current_, 0, int(rows_.size()) - 1);
    eof_ = rows_.empty();
    emit rowsReset();
    emit currentRowChanged(current_);
}

QString Dataset::writableColumn(int resultColumn) const {
    const db::ResultColumn& c = columns_[size_t(resultColumn)];
    if (c.origin.isEmpty() || c.table.compare(baseTable_, Qt::CaseInsensitive) != 0) return {};
    return c.origin;
}

QString Dataset::whereRowIs(const db::ResultRow& original, QVariantMap& params) const {
    if (keyResultColumn_ >= 0 && !original[size_t(keyResultColumn_)].isNull()) {
        params.insert(QStringLiteral("key_"), original[size_t(keyResultColumn_)]);
        return keyColumn_ + QStringLiteral("=:key_");
    }
    // No identifying column: the row is the one holding every value it was read with.
    QStringList conditions;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const QString column = writableColumn(int(i));
        if (column.isEmpty()) continue;
        if (original[i].isNull()) {
            conditions << column + QStringLiteral(" is null");
        } else {
            const QString param = QStringLiteral("w%1_").arg(i);
            conditions << column + QStringLiteral("=:") + param;
            params.insert(param, original[i]);
        }
    }
    if (conditions.isEmpty()) throw DbError(QStringLiteral("%1: 无法确定要修改的记录").arg(name_));
    return conditions.join(QStringLiteral(" and "));
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
    for (size_t i = 0; i < columns_.size(); ++i) {
        const QString column = writableColumn(int(i));
        if (column.isEmpty() || valuesEqual(row.values[i], row.original[i])) continue;
        const QString param = QStringLiteral("v%1_").arg(i);
        sets << column + QStringLiteral("=:") + param;
        params.insert(param, row.values[i]);
    }
    if (sets.isEmpty()) return;
    const QString where = whereRowIs(row.original, params);
    const QString sql =
        QStringLiteral("update %1 set %2 where %3").arg(baseTable_, sets.join(u','), where);
    if (engine_->execute(sql, params) == 0)
        throw DbError(QStringLiteral("找不到要修改的记录，它可能已被其他用户修改或删除"));
}

void Dataset::writeDelete(const Row& row) {
    if (baseTable_.isEmpty()) throw DbError(QStringLiteral("%1: 数据集不能修改").arg(name_));
    QVariantMap params;
    const db::ResultRow& original = row.status == RowStatus::Modified ? row.original : row.values;
    const QString where = whereRowIs(original, params);
    engine_->execute(QStringLiteral("delete from %1 where %2").arg(baseTable_, where), params);
}

void Dataset::invalidateIndexes() const { indexes_.clear(); }

int Dataset::findFirst(const QString& field, const QString& key) const {
    const QString name = field.toLower();
    auto it = indexes_.find(name);
    if (it == indexes_.end()) {
        const int f = requireField(field);
        QHash<QString, int> index;
        index.reserve(qsizetype(rows_.size()));
        for (int row = 0; row < int(rows_.size()); ++row) {
            const QString k = value(row, f).toString();
            if (!index.contains(k)) index.insert(k, row);
        }
        it = indexes_.insert(name, std::move(index));
    }
    return it->value(key, -1);
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
