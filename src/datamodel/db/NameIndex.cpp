#include "datamodel/db/NameIndex.h"

#include "datamodel/db/SqliteEngine.h"

namespace talvor::db {

namespace {

constexpr const char* kNamed[][2] = {{"goods", "gods_name"}, {"company", "comp_name"}};

void addTriggers(SqliteEngine& engine) {
    for (const auto& [table, column] : kNamed) {
        for (const char* event : {"INSERT", "UPDATE OF"}) {
            const bool insert = event[0] == 'I';
            engine.runScript(
                QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1_pinyin_%3 AFTER %4 ON main.%1 "
                               "WHEN new.%2 IS NOT NULL AND "
                               "NOT EXISTS (SELECT 1 FROM name_pinyin WHERE name = new.%2) "
                               "BEGIN INSERT INTO name_pinyin (name, initials) "
                               "VALUES (new.%2, pinyin_initials(new.%2)); END")
                    .arg(QLatin1String(table), QLatin1String(column),
                         QLatin1String(insert ? "ins" : "upd"),
                         insert ? QStringLiteral("INSERT")
                                : QStringLiteral("UPDATE OF ") + QLatin1String(column)));
        }
    }
}

bool hasTable(SqliteEngine& engine) {
    return !engine
                .query(QStringLiteral("select name from sqlite_schema where type = 'table' "
                                      "and name = 'name_pinyin'"))
                .rows.empty();
}

}  // namespace

void prepareNameIndex(SqliteEngine& engine) {
    if (!hasTable(engine)) {
        Transaction transaction(engine);
        engine.runScript(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS name_pinyin (name TEXT PRIMARY KEY, initials TEXT NOT "
            "NULL) WITHOUT ROWID"));
        for (const auto& [table, column] : kNamed)
            engine.runScript(QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2 ON %1(%2)")
                                 .arg(QLatin1String(table), QLatin1String(column)));
        engine.runScript(
            QStringLiteral("INSERT OR IGNORE INTO name_pinyin (name, initials) SELECT name, "
                           "pinyin_initials(name) FROM (SELECT gods_name AS name FROM goods UNION "
                           "SELECT comp_name FROM company) WHERE name IS NOT NULL"));
        transaction.commit();
    }
    addTriggers(engine);
}

}  // namespace talvor::db
