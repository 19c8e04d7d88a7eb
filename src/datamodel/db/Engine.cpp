#include "datamodel/db/Engine.h"

namespace talvor::db {

int ResultSet::columnIndex(const QString& name) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

Transaction::Transaction(Engine& engine, Kind kind) : engine_(engine) {
    if (!engine_.inTransaction()) {
        if (kind == Snapshot)
            engine_.beginSnapshot();
        else
            engine_.beginWrite();
        owner_ = true;
    }
}

Transaction::~Transaction() {
    if (owner_ && !done_) {
        try {
            engine_.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    if (owner_ && !done_) engine_.commit();
    done_ = true;
}

}  // namespace talvor::db
