#include "datamodel/db/Schema.h"

#include "datamodel/Rights.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/NameIndex.h"
#include "datamodel/db/PasswordHash.h"
#include "datamodel/db/SqliteEngine.h"

namespace talvor::db {

namespace {

using T = ColumnType;

ColumnDef text(const char* name, int width = 0) { return {name, T::Text, width}; }
ColumnDef number(const char* name) { return {name, T::Float, 0}; }
ColumnDef date(const char* name) { return {name, T::DateTime, 0}; }
ColumnDef autoId() { return {"in_id", T::Auto, 0}; }

std::vector<ColumnDef> billHeaderColumns() {
    return {autoId(),
            text("bill_no", 14),
            text("vouc_no", 12),
            date("bill_date"),
            text("comp_code", 10),
            text("mone_type", 10),
            number("mone_rate"),
            text("fee_type", 10),
            text("oper_code", 10),
            text("hand_code", 10),
            text("chek_code", 10),
            text("rela_code", 10),
            text("send_code", 10),
            text("rece_code", 10),
            number("shou_tota"),
            number("fact_tota"),
            text("remark", 50),
            text("bill_type", 10),
            text("oper_name", 10)};
}

std::vector<ColumnDef> billLineColumns() {
    return {autoId(),           text("bill_no", 14), text("gods_code", 20),
            number("sub_amou"), number("unit_pric"), text("remark", 10)};
}

std::vector<ColumnDef> settlementColumns() {
    return {text("comp_code"),   text("comp_name"),   text("bill_no"),    number("shou_tota"),
            number("fact_tota"), number("lack_tota"), date("start_date"), date("end_date"),
            number("last_tota"), date("fei_date"),    text("fei_no"),     number("fei_tota"),
            number("rest_tota"), text("oper_name"),   text("fei_name"),   text("chek_name"),
            text("invo_no"),     text("re_mark")};
}

std::vector<ColumnDef> stockTakingColumns() {
    return {text("gods_code", 20), number("gods_amou"), number("chek_amou"), date("chek_date")};
}

// Each movement row names one quantity; the other two must read 0, not empty, so that the
// closing figure and the sums per goods are plain arithmetic.
std::vector<ColumnDef> movementColumns() {
    return {text("gods_code", 20),
            {"last_amou", T::Float, 0, true},
            {"in_amou", T::Float, 0, true},
            {"out_amou", T::Float, 0, true},
            {"now_amou", T::Decimal, 0}};
}

std::vector<TableDef> buildTables() {
    std::vector<TableDef> t;
    t.push_back(
        {"employee",
         {text("empl_code", 10), text("empl_name"),    text("empl_sex"),    text("regi_place"),
          text("native_place"),  date("empl_birth"),   text("id_card"),     text("rela_phon"),
          text("mobile"),        text("exig_rela"),    text("exig_tele"),   text("school_name"),
          text("special"),       text("leave_school"), text("degree"),      text("society_no"),
          text("medica_no"),     text("rela_addr"),    text("post_code"),   text("dept_name"),
          date("in_date"),       text("duty"),         text("salary_type"), text("tech_class"),
          text("class_type"),    text("low_salary")},
         "empl_code"});
    t.push_back(
        {"company",
         {text("comp_code", 10), text("comp_name"), text("comp_addr"), text("rela_name"),
          text("rela_phon"), text("head_name"), text("head_phon"), text("comp_type"),
          text("bank_no"), text("belo_coun"), text("belo_area"), text("belo_prov"),
          text("post_code"), text("fax"), text("e_mail"), text("comp_note"), number("rest_tota")},
         "comp_code"});
    t.push_back({"goods",
                 {autoId(), text("gods_code", 20), text("gods_name", 40), text("gods_spec", 20),
                  text("gods_type", 20), text("gods_kind", 20), text("gods_unit", 10),
                  number("valu_in"), number("valu_out"), number("max_amou"), number("min_amou"),
                  number("agent_pric"), text("prod_place", 30), text("prod_code", 20),
                  text("supp_code", 20), text("gods_note", 50)},
                 "in_id"});
    t.push_back({"powers",
                 {text("user_id", 10), text("password", kPasswordHashWidth), text("pow_use", 50),
                  text("pow_add", 50), text("pow_edit", 50), text("pow_dele", 50),
                  text("pow_chek", 50), text("pow_find", 50), text("pow_prin", 50)},
                 "user_id"});
    t.push_back({"userinfo",
                 {text("user_posi"), text("comp_name"), text("stad_no"), text("user_tele"),
                  text("user_fax"), text("user_addr"), text("user_mail"), text("user_www"),
                  text("bill_bottom"), text("gods_code"), text("gods_name"), text("gods_spec"),
                  text("gods_type"), text("gods_kind")}});
    t.push_back({"baseitem",
                 {text("gods_spec_id"), text("gods_spec"), text("gods_type_id"), text("gods_type"),
                  text("gods_kind_id"), text("gods_kind"), text("fee_code"), text("fee_type"),
                  text("mone_code"), text("mone_type"), number("mone_rate")}});
    t.push_back({"inmain", billHeaderColumns(), "in_id"});
    t.push_back({"outmain", billHeaderColumns(), "in_id"});
    t.push_back({"ingoods", billLineColumns(), "in_id"});
    t.push_back({"outgoods", billLineColumns(), "in_id"});
    t.push_back({"storemain",
                 {text("gods_code", 20), number("gods_amou"), number("cost_pric")},
                 "gods_code"});
    t.push_back({"storchek", stockTakingColumns()});
    t.push_back({"gathmain", settlementColumns()});
    t.push_back({"paymain", settlementColumns()});
    t.push_back({"chektemp", stockTakingColumns(), "", true});
    t.push_back({"outtemp", billLineColumns(), "in_id", true});
    t.push_back({"miostemp", movementColumns(), "", true});
    t.push_back({"mios", movementColumns(), "", true});
    return t;
}

// Identifying codes, unique without regard to letter case.
constexpr const char* kUniqueCodes[][2] = {
    {"goods", "gods_code"}, {"company", "comp_code"},   {"employee", "empl_code"},
    {"powers", "user_id"},  {"storemain", "gods_code"},
};

constexpr const char* kIndexes[][2] = {
    {"inmain", "bill_no"},     {"inmain", "bill_date"},   {"outmain", "bill_no"},
    {"outmain", "bill_date"},  {"ingoods", "bill_no"},    {"outgoods", "bill_no"},
    {"storchek", "chek_date"}, {"gathmain", "fei_date"},  {"paymain", "fei_date"},
    {"ingoods", "gods_code"},  {"outgoods", "gods_code"}, {"goods", "gods_name"},
};

// A text no longer than its width, the explanation being the check's name.
QString widthCheck(const ColumnDef& c) {
    if (!c.width) return {};
    return QStringLiteral(" CONSTRAINT \"%1 超过 %2 个字符\" CHECK (length(%1) <= %2)")
        .arg(QLatin1String(c.name))
        .arg(c.width);
}

// A column definition with the checks the original engine made: a text no longer than its
// width, a number column refusing what is no number, a date column refusing what is no date.
// A date is kept as "yyyy-MM-dd" (with " HH:mm:ss" when it has a time); SQLite's own parser
// takes 2024-02-30 for a date, so the text must come back unchanged when normalised.
QString sqliteColumn(const ColumnDef& c) {
    const QString name = QString::fromLatin1(c.name);
    const QString isNumber =
        QStringLiteral(
            " CONSTRAINT \"%1 不是数字\" CHECK (typeof(%1) IN ('real','integer','null'))")
            .arg(name);
    const QString zero = c.zeroWhenOmitted ? QStringLiteral(" NOT NULL DEFAULT 0") : QString();
    switch (c.type) {
        case T::Auto:
            return name + QStringLiteral(" INTEGER PRIMARY KEY");
        case T::Text:
            // length() stops at a NUL: a text holding one is refused before it is measured.
            return name +
                   (c.width ? QStringLiteral(" TEXT(%1)").arg(c.width) : QStringLiteral(" TEXT")) +
                   QStringLiteral(
                       " COLLATE NOCASE CONSTRAINT \"%1 含有空字符\" CHECK (instr(%1, char(0)) = "
                       "0)")
                       .arg(name) +
                   widthCheck(c);
        case T::Float:
        case T::Integer:
            return name + QStringLiteral(" FLOAT") + zero + isNumber;
        case T::Decimal:
            return name + QStringLiteral(" DECIMAL(18,0)") + zero + isNumber;
        case T::DateTime:
            return name + QStringLiteral(
                              " DATETIME CONSTRAINT \"%1 不是日期\" CHECK (%1 IS NULL OR "
                              "(typeof(%1)='text' AND "
                              "(%1 IS date(%1,'+0 days') OR %1 IS datetime(%1,'+0 days'))))")
                              .arg(name);
        case T::Unknown:
            break;
    }
    return name;
}

// The same checks on PostgreSQL. Texts compare without regard to ASCII letter case and in
// code point order, as SQLite's NOCASE does; numbers are refused by the column type itself.
// Dates stay texts in the stored form, so that they compare and read back as on SQLite.
QString postgresColumn(const ColumnDef& c) {
    const QString name = QString::fromLatin1(c.name);
    const QString zero = c.zeroWhenOmitted ? QStringLiteral(" NOT NULL DEFAULT 0") : QString();
    switch (c.type) {
        case T::Auto:
            // Numbered by talvor_next_in_id, as SQLite numbers its rows.
            return name + QStringLiteral(" bigint PRIMARY KEY");
        case T::Text:
            return name + QStringLiteral(" citext COLLATE \"C\"") + widthCheck(c);
        case T::Float:
        case T::Integer:
            return name + QStringLiteral(" double precision") + zero;
        case T::Decimal:
            return name + QStringLiteral(" numeric(18,0)") + zero;
        case T::DateTime:
            return name + QStringLiteral(
                              " text COLLATE \"C\" CONSTRAINT \"%1 不是日期\" CHECK "
                              "(%1 IS NULL OR talvor_is_date(%1))")
                              .arg(name);
        case T::Unknown:
            break;
    }
    return name;
}

// What SQLite gets from the engine's own functions, on PostgreSQL: the date check, datetime(),
// year() and month() of a stored date text, instr() (by code points, letter case counting),
// and the row numbers. A new row is numbered after the
// highest number in its table, so that rows copied with their numbers (a scratch table, a
// moved database) and the numbers a failed transaction took are as in SQLite. Writers take
// turns on the server (see PostgresEngine), so no two transactions take the same number.
const char* const kPostgresFunctions[] = {
    "CREATE EXTENSION IF NOT EXISTS citext SCHEMA public",
    "CREATE OR REPLACE FUNCTION talvor_is_date(t text) RETURNS boolean LANGUAGE plpgsql "
    "IMMUTABLE AS $$ BEGIN "
    "IF length(t) = 10 THEN RETURN to_char(t::date, 'YYYY-MM-DD') = t; END IF; "
    "RETURN length(t) = 19 AND to_char(t::timestamp, 'YYYY-MM-DD HH24:MI:SS') = t; "
    "EXCEPTION WHEN others THEN RETURN false; END $$",
    "CREATE OR REPLACE FUNCTION year(t text) RETURNS integer LANGUAGE sql IMMUTABLE AS "
    "$$ SELECT CASE WHEN t ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}' THEN substr(t, 1, 4)::integer END $$",
    "CREATE OR REPLACE FUNCTION datetime(t text) RETURNS text LANGUAGE sql IMMUTABLE AS "
    "$$ SELECT to_char(t::timestamp, 'YYYY-MM-DD HH24:MI:SS') $$",
    "CREATE OR REPLACE FUNCTION talvor_next_in_id() RETURNS trigger LANGUAGE plpgsql AS $$ "
    "BEGIN IF NEW.in_id IS NULL THEN "
    "EXECUTE format('SELECT coalesce(max(in_id), 0) + 1 FROM %I.%I', TG_TABLE_SCHEMA, "
    "TG_TABLE_NAME) INTO NEW.in_id; END IF; RETURN NEW; END $$",
    "CREATE OR REPLACE FUNCTION instr(t text, part text) RETURNS integer LANGUAGE sql IMMUTABLE "
    "AS $$ SELECT strpos(t, part) $$",
    "CREATE OR REPLACE FUNCTION month(t text) RETURNS integer LANGUAGE sql IMMUTABLE AS "
    "$$ SELECT CASE WHEN t ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}' THEN substr(t, 6, 2)::integer END $$",
};

QString columnDefinition(const ColumnDef& c, SqlDialect dialect) {
    return dialect == SqlDialect::Postgres ? postgresColumn(c) : sqliteColumn(c);
}

QStringList nextIdTriggers(bool scratch) {
    QStringList statements;
    for (const TableDef& t : schemaTables())
        if (t.scratch == scratch && t.columns.front().type == T::Auto)
            statements << QStringLiteral(
                              "CREATE OR REPLACE TRIGGER %1_next_id BEFORE INSERT ON %1 "
                              "FOR EACH ROW EXECUTE FUNCTION talvor_next_in_id()")
                              .arg(QLatin1String(t.name));
    return statements;
}

// The movement figure is a decimal without places: what is stored is a whole number.
// PostgreSQL's numeric(18,0) rounds by itself; SQLite needs a trigger.
QStringList wholeNumberTriggers() {
    QStringList statements;
    for (const char* table : {"miostemp", "mios"}) {
        for (const char* event : {"INSERT", "UPDATE OF now_amou"}) {
            statements
                << QStringLiteral(
                       "CREATE TEMP TRIGGER IF NOT EXISTS %1_whole_%2 AFTER %3 ON %1 "
                       "WHEN new.now_amou IS NOT NULL AND new.now_amou <> round(new.now_amou) "
                       "BEGIN UPDATE %1 SET now_amou = CAST(round(new.now_amou) AS INTEGER) "
                       "WHERE rowid = new.rowid; END")
                       .arg(QLatin1String(table), QLatin1String(event[0] == 'I' ? "ins" : "upd"),
                            QLatin1String(event));
        }
    }
    return statements;
}

}  // namespace

const std::vector<TableDef>& schemaTables() {
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const TableDef* findTable(const QString& name) {
    for (const TableDef& t : schemaTables())
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

QString createTableStatement(const TableDef& table, SqlDialect dialect) {
    QStringList columns;
    for (const ColumnDef& c : table.columns) columns << columnDefinition(c, dialect);
    return QStringLiteral("CREATE %1TABLE IF NOT EXISTS %2 (%3)")
        .arg(table.scratch ? QStringLiteral("TEMP ") : QString(), QLatin1String(table.name),
             columns.join(u", "));
}

QStringList scratchTableStatements(SqlDialect dialect) {
    QStringList statements;
    for (const TableDef& t : schemaTables())
        if (t.scratch) statements << createTableStatement(t, dialect);
    // The stock-taking writes the ledger from its working set by code. A server puts the index
    // of a temporary table beside it by itself.
    statements << (dialect == SqlDialect::Sqlite
                       ? QStringLiteral("CREATE INDEX IF NOT EXISTS temp.chektemp_code ON "
                                        "chektemp(gods_code)")
                       : QStringLiteral("CREATE INDEX IF NOT EXISTS chektemp_code ON "
                                        "chektemp(gods_code)"));
    statements << (dialect == SqlDialect::Sqlite ? wholeNumberTriggers() : nextIdTriggers(true));
    return statements;
}

void createTables(Engine& engine) {
    if (engine.dialect() == SqlDialect::Postgres)
        for (const char* sql : kPostgresFunctions) engine.runScript(QString::fromUtf8(sql));
    for (const TableDef& t : schemaTables())
        if (!t.scratch) engine.runScript(createTableStatement(t, engine.dialect()));
    if (engine.dialect() == SqlDialect::Postgres)
        for (const QString& sql : nextIdTriggers(false)) engine.runScript(sql);
    for (const auto& [table, column] : kUniqueCodes)
        engine.runScript(QStringLiteral("CREATE UNIQUE INDEX %1_%2 ON %1(%2)")
                             .arg(QLatin1String(table), QLatin1String(column)));
    for (const auto& [table, column] : kIndexes)
        engine.runScript(QStringLiteral("CREATE INDEX %1_%2 ON %1(%2)")
                             .arg(QLatin1String(table), QLatin1String(column)));
    prepareNameIndex(engine);
}

void createDatabase(const QString& path, const Administrator& admin) {
    SqliteEngine engine;
    engine.create(path);
    Transaction tx(engine);
    createSchema(engine, admin);
    tx.commit();
}

void createSchema(Engine& engine, const Administrator& admin) {
    Transaction tx(engine);
    createTables(engine);
    // The connection goes on working in the new database.
    for (const QString& sql : scratchTableStatements(engine.dialect())) engine.runScript(sql);
    engine.execute(
        QStringLiteral("insert into userinfo (gods_code,gods_name,gods_spec,gods_type,gods_kind) "
                       "values ('编码','货名','规格','型号','分类')"));
    engine.execute(
        QStringLiteral(
            "insert into employee (empl_code,empl_name,empl_sex) values (:code,:name,'男')"),
        {{QStringLiteral("code"), admin.code.trimmed()},
         {QStringLiteral("name"), admin.name.trimmed()}});
    const QString all = QString(kModuleCount, u'1');
    QVariantMap rights{{QStringLiteral("id"), admin.code.trimmed()},
                       {QStringLiteral("pw"), hashPassword(admin.password.trimmed())}};
    for (const char* column :
         {"pow_use", "pow_add", "pow_edit", "pow_dele", "pow_chek", "pow_find", "pow_prin"})
        rights.insert(QLatin1String(column), all);
    engine.execute(
        QStringLiteral(
            "insert into powers (user_id,password,pow_use,pow_add,pow_edit,pow_dele,pow_chek,"
            "pow_find,pow_prin) values (:id,:pw,:pow_use,:pow_add,:pow_edit,:pow_dele,"
            ":pow_chek,:pow_find,:pow_prin)"),
        rights);
    tx.commit();
}

// Databases made before passwords were hashed hold them in ten characters; SQLite cannot
// widen a checked column in place, so the table is rebuilt with its rows.
void upgradeSchema(SqliteEngine& engine) {
    for (const TableColumn& c : engine.tableColumns(QStringLiteral("powers")))
        if (c.name.compare(u"password", Qt::CaseInsensitive) == 0 && c.width >= kPasswordHashWidth)
            return;
    const TableDef& powers = *findTable(QStringLiteral("powers"));
    QStringList columns;
    for (const ColumnDef& c : powers.columns) columns << QLatin1String(c.name);
    const QString list = columns.join(u',');
    Transaction tx(engine);
    engine.runScript(QStringLiteral("ALTER TABLE powers RENAME TO powers_narrow"));
    engine.runScript(createTableStatement(powers));
    engine.runScript(
        QStringLiteral("INSERT INTO powers (%1) SELECT %1 FROM powers_narrow").arg(list));
    engine.runScript(QStringLiteral("DROP TABLE powers_narrow"));
    engine.runScript(QStringLiteral("CREATE UNIQUE INDEX powers_user_id ON powers(user_id)"));
    tx.commit();
}

}  // namespace talvor::db
