#pragma once

#include <QTemporaryDir>
#include <memory>

#include "datamodel/DataModule.h"
#include "datamodel/db/Schema.h"
#include "support/TestServer.h"

namespace talvor::test {

// A new database with a data module connected to it: a file in a temporary directory, or,
// when TALVOR_TEST_SERVER names a PostgreSQL database, a schema of its own on that server.
struct TestDatabase {
    QTemporaryDir dir;
    std::unique_ptr<TestServerSchema> server = TestServerSchema::fromEnvironment();
    QString path;
    std::unique_ptr<TFrmDataMod> module;

    TestDatabase() {
        const db::Administrator admin{QStringLiteral("admin"), QStringLiteral("管理员"),
                                      QStringLiteral("secret")};
        if (server) {
            path = server->connection();
            server->create(admin);
        } else {
            path = dir.filePath(QStringLiteral("talvor.mdb"));
            db::createDatabase(path, admin);
        }
        module = anotherCopy();
    }

    // A copy of the program on this database with a connection of its own.
    std::unique_ptr<TFrmDataMod> anotherCopy() const {
        auto copy = server ? std::make_unique<TFrmDataMod>(TestServerSchema::engine())
                           : std::make_unique<TFrmDataMod>();
        copy->connectTo(path);
        return copy;
    }

    ~TestDatabase() { module.reset(); }

    db::Engine& engine() { return module->AdoConn(); }
    void exec(const QString& sql, const QVariantMap& params = {}) { engine().execute(sql, params); }
    QVariant scalar(const QString& sql, const QVariantMap& params = {}) {
        const db::ResultSet r = engine().query(sql, params);
        return r.rows.empty() ? QVariant() : r.rows[0][0];
    }
};

}  // namespace talvor::test
