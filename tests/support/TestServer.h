#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <atomic>
#include <memory>

#include "datamodel/db/PostgresEngine.h"
#include "datamodel/db/Schema.h"

namespace talvor::test {

// A schema of its own on the PostgreSQL database TALVOR_TEST_SERVER names (a libpq
// connection string of key=value pairs), dropped with everything in it at the end. Tests
// running at once on one server each see only their own tables; the database holds the citext
// extension already (scripts/with-postgres makes it), which two first starts at once would
// both try to create.
class TestServerSchema {
  public:
    static std::unique_ptr<TestServerSchema> fromEnvironment() {
        const QString base = qEnvironmentVariable("TALVOR_TEST_SERVER");
        if (base.isEmpty()) return nullptr;
        return std::unique_ptr<TestServerSchema>(new TestServerSchema(base));
    }

    static std::unique_ptr<db::Engine> engine() { return std::make_unique<db::PostgresEngine>(); }

    ~TestServerSchema() {
        try {
            admin_.runScript(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(name_));
        } catch (...) {
        }
    }

    // The connection string that works in this schema.
    QString connection() const {
        return base_ + QStringLiteral(" options='-c search_path=%1,public'").arg(name_);
    }

    // The program's tables with their administrator, as a first start makes them.
    void create(const db::Administrator& admin) {
        db::PostgresEngine engine;
        engine.open(connection());
        db::createSchema(engine, admin);
    }

  private:
    explicit TestServerSchema(QString base) : base_(std::move(base)) {
        static std::atomic<int> counter{0};
        name_ = QStringLiteral("test_%1_%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(counter.fetch_add(1));
        admin_.open(base_);
        admin_.runScript(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(name_));
        admin_.runScript(QStringLiteral("CREATE SCHEMA %1").arg(name_));
    }

    QString base_;
    QString name_;
    db::PostgresEngine admin_;
};

}  // namespace talvor::test
