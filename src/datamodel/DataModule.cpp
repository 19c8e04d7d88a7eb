#include "datamodel/DataModule.h"

#include "datamodel/db/DbError.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"

namespace talvor {

using db::ColumnType;

namespace {

TFrmDataMod* instance = nullptr;

FieldDef field(const char* name, bool noFormat = false) {
    return FieldDef::data(QLatin1String(name), noFormat);
}

// A calculated product or difference of two number fields of the same row.
FieldDef arithmetic(const char* name, const char* a, const char* b, bool product) {
    return FieldDef::calculated(QLatin1String(name), ColumnType::Float,
                                [fa = -1, fb = -1, a = QLatin1String(a), b = QLatin1String(b),
                                 product](const Dataset& d, int row) mutable -> QVariant {
                                    if (fa < 0) fa = d.fieldIndex(a);
                                    if (fb < 0) fb = d.fieldIndex(b);
                                    const double x = d.value(row, fa).toDouble();
                                    const double y = d.value(row, fb).toDouble();
                                    return product ? x * y : x - y;
                                });
}

FieldDef lookup(const char* name, Dataset* source, const char* key, const char* sourceKey,
                const char* result, int width = 20) {
    return FieldDef::lookup(QLatin1String(name), source, QLatin1String(key),
                            QLatin1String(sourceKey), QLatin1String(result), width);
}

struct GoodsWidths {
    int nameWidth = 20, specWidth = 20, typeWidth = 20, kindWidth = 20, unitWidth = 20;
};

FieldDef goodsLookup(Dataset* goods, const char* column, int width) {
    return lookup(column, goods, "gods_code", "gods_code", column, width);
}

void addGoodsLookups(std::vector<FieldDef>& f, Dataset* goods, GoodsWidths w) {
    f.push_back(goodsLookup(goods, "gods_name", w.nameWidth));
    f.push_back(goodsLookup(goods, "gods_spec", w.specWidth));
    f.push_back(goodsLookup(goods, "gods_type", w.typeWidth));
    f.push_back(goodsLookup(goods, "gods_kind", w.kindWidth));
    f.push_back(goodsLookup(goods, "gods_unit", w.unitWidth));
}

void addEmployeeLookups(std::vector<FieldDef>& f, Dataset* employees) {
    for (const char* who : {"hand", "chek", "oper", "send", "rece", "rela"}) {
        const QByteArray name = QByteArray(who) + "_name";
        const QByteArray code = QByteArray(who) + "_code";
        f.push_back(FieldDef::lookup(QString::fromLatin1(name), employees,
                                     QString::fromLatin1(code), QStringLiteral("empl_code"),
                                     QStringLiteral("empl_name")));
    }
}

std::vector<FieldDef> headerFields(Dataset* companies, Dataset* employees, bool sales) {
    std::vector<FieldDef> f;
    for (const char* name : {"in_id", "bill_no", "vouc_no", "bill_date", "comp_code", "mone_type"})
        f.push_back(field(name));
    f.push_back(field("mone_rate", true));
    for (const char* name :
         {"fee_type", "hand_code", "chek_code", "oper_code", "send_code", "rece_code", "rela_code"})
        f.push_back(field(name));
    f.push_back(field(sales ? "shou_tota" : "fact_tota", true));
    f.push_back(field(sales ? "fact_tota" : "shou_tota", true));
    f.push_back(field("remark"));
    f.push_back(field("bill_type"));
    f.push_back(lookup("comp_name", companies, "comp_code", "comp_code", "comp_name", 50));
    if (sales) f.push_back(lookup("rela_phon", companies, "comp_code", "comp_code", "rela_phon"));
    addEmployeeLookups(f, employees);
    return f;
}

std::vector<FieldDef> lineFields(Dataset* goods, bool sales) {
    std::vector<FieldDef> f{field("in_id"), field("bill_no"), field("gods_code")};
    f.push_back(goodsLookup(goods, "gods_name", 50));
    f.push_back(goodsLookup(goods, "gods_spec", 30));
    if (sales) {
        f.push_back(goodsLookup(goods, "gods_kind", 20));
        f.push_back(goodsLookup(goods, "gods_type", 20));
    } else {
        f.push_back(goodsLookup(goods, "gods_type", 30));
        f.push_back(goodsLookup(goods, "gods_kind", 20));
    }
    f.push_back(goodsLookup(goods, "gods_unit", 10));
    f.push_back(field("sub_amou"));
    f.push_back(field("unit_pric"));
    f.push_back(arithmetic("sub_tota", "sub_amou", "unit_pric", true));
    f.push_back(field("remark"));
    return f;
}

std::vector<FieldDef> settledBillFields(Dataset* companies, int nameWidth) {
    return {field("bill_no"),
            field("bill_date"),
            field("oper_name"),
            field("comp_code"),
            lookup("comp_name", companies, "comp_code", "comp_code", "comp_name", nameWidth),
            field("shou_tota"),
            field("fact_tota"),
            arithmetic("margin", "shou_tota", "fact_tota", false)};
}

std::vector<FieldDef> movementFields(Dataset* goods) {
    std::vector<FieldDef> f{field("gods_code")};
    addGoodsLookups(f, goods, {});
    f.push_back(field("last_amou"));
    f.push_back(field("in_amou", true));
    f.push_back(field("out_amou"));
    f.push_back(field("now_amou"));
    return f;
}

}  // namespace

TFrmDataMod* FrmDataMod() { return instance; }

TFrmDataMod::TFrmDataMod(std::unique_ptr<db::Engine> engine, QObject* parent)
    : QObject(parent),
      connection_(engine ? std::move(engine) : std::make_unique<db::SqliteEngine>()) {
    setObjectName(QStringLiteral("FrmDataMod"));
    const auto batch = LockMode::Batch;
    EmployeeQ = make("EmployeeQ", "select * from employee");
    CompanyQ = make("CompanyQ", "select * from company");
    GoodsQ = make("GoodsQ", "select * from goods");
    GoodsFindQ = make("GoodsFindQ", "");
    PowerQ = make("PowerQ", "select * from powers");
    UserQ = make("UserQ", "select top 1 * from userinfo");
    SpecDefiQ = make("SpecDefiQ", "select distinct gods_spec_id,gods_spec from baseitem", batch);
    TypeDefiQ = make("TypeDefiQ", "select distinct gods_type_id,gods_type from baseitem", batch);
    KindDefiQ = make("KindDefiQ", "select distinct gods_kind_id,gods_kind from baseitem", batch);
    FeeDefiQ = make("FeeDefiQ", "select distinct fee_code,fee_type from baseitem", batch);
    MoneDefQ =
        make("MoneDefQ", "select distinct mone_code,mone_type,mone_rate from baseitem", batch);
    InMainQ = make("InMainQ", "select * from inmain", batch);
    OutMainQ = make("OutMainQ", "select top 1 * from outmain", batch);
    InGoodsQ = make("InGoodsQ", "select * from ingoods", batch);
    OutGoodsQ = make("OutGoodsQ", "select Top 1 * from outgoods", batch);
    InFindQ = make("InFindQ", "");
    OutFindQ = make("OutFindQ", "");
    OutTempQ = make("OutTempQ", "");
    StoreQ = make("StoreQ", "select * from storemain");
    StoreiniQ = make("StoreiniQ", "", batch);
    AlarmQ = make("AlarmQ", "", batch);
    ChektempQ = make("ChektempQ", "");
    MiostempQ = make("MiostempQ", "");
    MiosQ = make("MiosQ", "");
    GathQ = make("GathQ", "");
    PayQ = make("PayQ", "");
    GathMainQ = make("GathMainQ", "select top 1 * from gathmain");
    PayMainQ = make("PayMainQ", "select top 1 * from paymain");
    InListQ = make("InListQ", "");
    OutListQ = make("OutListQ", "");
    OutSortQ = make("OutSortQ", "");
    OutSortCQ = make("OutSortCQ", "");
    TempQ = make("TempQ", "");
    defineFields();
    instance = this;
}

TFrmDataMod::~TFrmDataMod() {
    disconnect();
    if (instance == this) instance = nullptr;
}

Dataset* TFrmDataMod::make(const char* name, const char* sql, LockMode mode) {
    auto* d = new Dataset(connection_.get(), QLatin1String(name), this);
    d->setSql(QString::fromUtf8(sql));
    d->setLockMode(mode);
    return d;
}

void TFrmDataMod::defineFields() {
    {
        std::vector<FieldDef> f;
        for (const char* name :
             {"in_id", "gods_code", "gods_name", "gods_spec", "gods_type", "gods_kind", "gods_unit",
              "valu_in", "valu_out", "max_amou", "min_amou", "prod_place", "prod_code", "supp_code",
              "agent_pric", "gods_note"})
            f.push_back(field(name));
        f.push_back(lookup("prod_name", CompanyQ, "prod_code", "comp_code", "comp_name", 40));
        f.push_back(lookup("supp_name", CompanyQ, "supp_code", "comp_code", "comp_name", 40));
        GoodsQ->setFieldDefs(f);
    }
    {
        std::vector<FieldDef> f;
        for (const char* name : {"user_id", "password", "pow_use", "pow_add", "pow_edit",
                                 "pow_dele", "pow_chek", "pow_find", "pow_prin"})
            f.push_back(field(name));
        f.push_back(lookup("user_name", EmployeeQ, "user_id", "empl_code", "empl_name"));
        PowerQ->setFieldDefs(f);
    }
    InMainQ->setFieldDefs(headerFields(CompanyQ, EmployeeQ, false));
    OutMainQ->setFieldDefs(headerFields(CompanyQ, EmployeeQ, true));
    InGoodsQ->setFieldDefs(lineFields(GoodsQ, false));
    OutGoodsQ->setFieldDefs(lineFields(GoodsQ, true));
    OutTempQ->setFieldDefs(lineFields(GoodsQ, true));
    {
        std::vector<FieldDef> f{field("gods_code"), field("gods_amou"), field("cost_pric")};
        addGoodsLookups(f, GoodsQ, {.nameWidth = 30, .unitWidth = 10});
        f.push_back(arithmetic("cost_tota", "gods_amou", "cost_pric", true));
        StoreQ->setFieldDefs(f);
    }
    {
        std::vector<FieldDef> f{field("gods_code"), field("gods_amou")};
        addGoodsLookups(f, GoodsQ,
                        {.specWidth = 10, .typeWidth = 10, .kindWidth = 10, .unitWidth = 6});
        f.push_back(field("cost_pric"));
        StoreiniQ->setFieldDefs(f);
    }
    {
        std::vector<FieldDef> f{field("gods_code")};
        addGoodsLookups(f, GoodsQ, {.nameWidth = 30, .unitWidth = 10});
        f.push_back(field("gods_amou"));
        f.push_back(lookup("max_amou", GoodsQ, "gods_code", "gods_code", "max_amou"));
        f.push_back(lookup("min_amou", GoodsQ, "gods_code", "gods_code", "min_amou"));
        f[f.size() - 1].type = f[f.size() - 2].type = ColumnType::Float;
        AlarmQ->setFieldDefs(f);
    }
    {
        std::vector<FieldDef> f{field("gods_code")};
        addGoodsLookups(f, GoodsQ, {});
        f.push_back(field("gods_amou"));
        f.push_back(field("chek_amou"));
        f.push_back(arithmetic("lost_amou", "chek_amou", "gods_amou", false));
        f.push_back(field("chek_date"));
        ChektempQ->setFieldDefs(f);
    }
    MiostempQ->setFieldDefs(movementFields(GoodsQ));
    MiosQ->setFieldDefs(movementFields(GoodsQ));
    GathQ->setFieldDefs(settledBillFields(CompanyQ, 20));
    PayQ->setFieldDefs(settledBillFields(CompanyQ, 30));
    {
        std::vector<FieldDef> f{
            field("bill_no"), field("comp_code"),
            lookup("comp_name", CompanyQ, "comp_code", "comp_code", "comp_name"),
            field("gods_code")};
        addGoodsLookups(f, GoodsQ,
                        {.nameWidth = 30, .specWidth = 10, .kindWidth = 10, .unitWidth = 8});
        f.push_back(field("unit_pric"));
        f.push_back(field("sub_amou"));
        f.push_back(arithmetic("sub_tota", "sub_amou", "unit_pric", true));
        f.push_back(field("bill_date"));  // not shown: the statistics chart adds up by day
        InListQ->setFieldDefs(f);
    }
    {
        std::vector<FieldDef> f{
            field("comp_code"),
            field("bill_no"),
            field("gods_code"),
            field("unit_pric"),
            field("sub_amou"),
            lookup("comp_name", CompanyQ, "comp_code", "comp_code", "comp_name", 50),
            goodsLookup(GoodsQ, "gods_name", 50),
            goodsLookup(GoodsQ, "gods_spec", 30),
            goodsLookup(GoodsQ, "gods_type", 20),
            goodsLookup(GoodsQ, "gods_unit", 10),
            arithmetic("sub_tota", "sub_amou", "unit_pric", true),
            goodsLookup(GoodsQ, "gods_kind", 20),
            field("bill_date")};  // not shown: the statistics chart adds up by day
        OutListQ->setFieldDefs(f);
    }
    {
        std::vector<FieldDef> f{field("gods_code"), field("sub_amou"), field("unit_pric"),
                                field("sub_tota")};
        addGoodsLookups(f, GoodsQ, {.nameWidth = 50, .unitWidth = 10});
        OutSortQ->setFieldDefs(f);
    }
    OutSortCQ->setFieldDefs(
        {field("comp_code"),
         lookup("comp_name", CompanyQ, "comp_code", "comp_code", "comp_name", 50),
         field("sub_amou"), field("sub_tota"),
         lookup("head_name", CompanyQ, "comp_code", "comp_code", "head_name")});
}

void TFrmDataMod::connectTo(const QString& location) {
    disconnect();
    connection_->open(location);
    // Files made before passwords were hashed get the wider column; a server database is always
    // made with it.
    auto* file = dynamic_cast<db::SqliteEngine*>(connection_.get());
    if (!file) return;
    try {
        db::upgradeSchema(*file);
    } catch (const db::DbError&) {
        // A read-only file of an earlier version still opens; its passwords stay as they are.
    }
}

void TFrmDataMod::disconnect() {
    for (Dataset* d : datasets()) d->close();
    connection_->close();
}

std::vector<Dataset*> TFrmDataMod::datasets() const {
    std::vector<Dataset*> all;
    for (QObject* child : children())
        if (auto* d = qobject_cast<Dataset*>(child)) all.push_back(d);
    return all;
}

Dataset* TFrmDataMod::dataset(const QString& name) const {
    for (Dataset* d : datasets())
        if (d->name().compare(name, Qt::CaseInsensitive) == 0) return d;
    return nullptr;
}

}  // namespace talvor
