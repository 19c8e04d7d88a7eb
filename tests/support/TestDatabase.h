#pragma once

#include <QTemporaryDir>
#include <memory>

#include "datamodel/DataModule.h"
#include "datamodel/db/Schema.h"

namespace talvor::test {

// A new database in a temporary directory with a data module connected to it.
struct TestDatabase {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<TFrmDataMod> module;

    TestDatabase() : path(dir.filePath(QStringLiteral("talvor.mdb"))) {
        db::createDatabase(
            path, {QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("secret")});
        module = std::make_unique<TFrmDataMod>();
        module->connectTo(path);
    }

    db::SqliteEngine& engine() { return module->AdoConn(); }
    void exec(const QString& sql, const QVariantMap& params = {}) { engine().execute(sql, params); }
    QVariant scalar(const QString& sql, const QVariantMap& params = {}) {
        const db::ResultSet r = engine().query(sql, params);
        return r.rows.empty() ? QVariant() : r.rows[0][0];
    }
};

}  // namespace talvor::test
