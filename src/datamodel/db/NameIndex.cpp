#include "datamodel/db/NameIndex.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include "datamodel/db/Engine.h"
#include "datamodel/db/Pinyin.h"

namespace talvor::db {

namespace {

constexpr const char* kNamed[][2] = {{"goods", "gods_name"}, {"company", "comp_name"}};

// Names settled by one transaction: a few tenths of a second of the write lock.
constexpr int kSettleBatch = 5000;

bool onServer(const Engine& engine) { return engine.dialect() == SqlDialect::Postgres; }

void addConnectionTriggers(Engine& engine) {
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

// The server's own triggers, which every copy of the program meets: a name comes in once,
// with no initials yet.
QStringList serverTriggers() {
    QStringList statements;
    for (const auto& [table, column] : kNamed) {
        const QLatin1String t(table);
        const QLatin1String c(column);
        statements << QStringLiteral(
                          "CREATE OR REPLACE FUNCTION %1_pinyin() RETURNS trigger "
                          "LANGUAGE plpgsql AS $$ BEGIN INSERT INTO name_pinyin (name) "
                          "VALUES (NEW.%2) ON CONFLICT DO NOTHING; RETURN NULL; END $$")
                          .arg(t, c)
                   << QStringLiteral(
                          "CREATE OR REPLACE TRIGGER %1_pinyin AFTER INSERT OR UPDATE "
                          "OF %2 ON %1 FOR EACH ROW WHEN (NEW.%2 IS NOT NULL) "
                          "EXECUTE FUNCTION %1_pinyin()")
                          .arg(t, c);
    }
    return statements;
}

// On the server the names compare as goods and company names do, and those still waiting
// for their initials have an index of their own, empty but for a moment.
QStringList tableStatements(const Engine& engine) {
    QStringList statements;
    if (onServer(engine))
        statements << QStringLiteral(
                          "CREATE TABLE IF NOT EXISTS name_pinyin (name citext COLLATE \"C\" "
                          "PRIMARY KEY, initials text COLLATE \"C\")")
                   << QStringLiteral(
                          "CREATE INDEX IF NOT EXISTS name_pinyin_pending ON name_pinyin (name) "
                          "WHERE initials IS NULL");
    else
        statements << QStringLiteral(
            "CREATE TABLE IF NOT EXISTS name_pinyin (name TEXT PRIMARY KEY, initials TEXT NOT "
            "NULL) WITHOUT ROWID");
    for (const auto& [table, column] : kNamed)
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2 ON %1(%2)")
                          .arg(QLatin1String(table), QLatin1String(column));
    if (onServer(engine)) statements << serverTriggers();
    return statements;
}

// Every name goods and company hold, with its initials where the engine computes them. The
// server takes a name that comes twice as a conflict, sparing the sort a union would need.
QString fillStatement(const Engine& engine) {
    const QString names = QStringLiteral(
        "SELECT gods_name AS name FROM goods WHERE gods_name IS NOT NULL UNION %1"
        "SELECT comp_name FROM company WHERE comp_name IS NOT NULL");
    if (onServer(engine))
        return QStringLiteral("INSERT INTO name_pinyin (name) %1 ON CONFLICT DO NOTHING")
            .arg(names.arg(QStringLiteral("ALL ")));
    return QStringLiteral(
               "INSERT OR IGNORE INTO name_pinyin (name, initials) SELECT name, "
               "pinyin_initials(name) FROM (%1)")
        .arg(names.arg(QString()));
}

bool hasTable(Engine& engine) {
    const QString count =
        onServer(engine) ? QStringLiteral(
                               "select count(*) from pg_tables where schemaname = current_schema() "
                               "and tablename = 'name_pinyin'")
                         : QStringLiteral(
                               "select count(*) from sqlite_schema where type = 'table' "
                               "and name = 'name_pinyin'");
    return engine.query(count).rows[0][0].toLongLong() > 0;
}

QString pendingNames() {
    return QStringLiteral("select top %1 name from name_pinyin where initials is null")
        .arg(kSettleBatch);
}

// The names with their initials go as one JSON parameter, whatever their number, so that one
// prepared statement serves every batch.
QString settledJson(const std::vector<ResultRow>& pending) {
    QJsonArray settled;
    for (const ResultRow& row : pending) {
        const QString name = row[0].toString();
        settled.append(QJsonObject{{QStringLiteral("name"), name},
                                   {QStringLiteral("initials"), pinyinInitials(name)}});
    }
    return QString::fromUtf8(QJsonDocument(settled).toJson(QJsonDocument::Compact));
}

long long settle(Engine& engine, const std::vector<ResultRow>& pending) {
    if (pending.empty()) return 0;
    return engine.execute(
        QStringLiteral("update name_pinyin set initials = settled.initials from "
                       "json_to_recordset(cast(:settled as json)) as settled (name citext, "
                       "initials text) where name_pinyin.name = settled.name"),
        {{QStringLiteral("settled"), settledJson(pending)}});
}

}  // namespace

void prepareNameIndex(Engine& engine) {
    if (!hasTable(engine)) {
        Transaction transaction(engine);
        // Another copy may have made it while this one waited for the write lock.
        if (!hasTable(engine)) {
            for (const QString& sql : tableStatements(engine)) engine.runScript(sql);
            engine.runScript(fillStatement(engine));
        }
        transaction.commit();
    }
    if (onServer(engine))
        settlePendingInitials(engine);
    else
        addConnectionTriggers(engine);
}

// A quick look through the index of pending names first: most of the time there are none,
// and no write lock is taken.
void settlePendingInitials(Engine& engine) {
    if (engine.query(pendingNames()).rows.empty()) return;
    for (long long total = 0;;) {
        Transaction transaction(engine);
        // Read again under the write lock: another copy may have settled them meanwhile.
        const ResultSet pending = engine.query(pendingNames());
        const long long settled = settle(engine, pending.rows);
        transaction.commit();
        total += settled;
        if (settled == kSettleBatch) continue;
        // The server planned its reads for a table of pending names: it learns they are gone.
        if (total >= kSettleBatch) engine.runScript(QStringLiteral("ANALYZE name_pinyin"));
        return;
    }
}

bool readsNameIndex(const QString& statement) {
    static const QRegularExpression reads(QStringLiteral(R"(\b(from|join)\s+name_pinyin\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    return reads.match(statement).hasMatch();
}

}  // namespace talvor::db
