#include "warehouse/StockLists.h"

#include "datamodel/DataModule.h"
#include "warehouse/StockScreenParts.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

// The filter row both lists share: a code, a name that gives its code, a category, and 全部;
// each box the user fills empties the ones that would contradict it.
std::vector<Criterion> goodsFilters() {
    return {
        {.name = "Edit_code",
         .label = "产品编码",
         .width = 110,
         .empties = {"ComboBox_kind", "CheckBox_all"},
         .locates = "gods_code"},
        {.name = "ComboBox_name",
         .kind = CriterionKind::Combo,
         .label = "产品名称",
         .width = 150,
         .itemsTable = "goods",
         .itemsColumn = "gods_name",
         .empties = {"ComboBox_kind", "CheckBox_all"},
         .fillsCode = {.table = "goods",
                       .keyColumn = "gods_name",
                       .resultColumn = "gods_code",
                       .target = "Edit_code"},
         .locates = "gods_code"},
        {.name = "ComboBox_kind",
         .kind = CriterionKind::Combo,
         .label = "种类",
         .width = 110,
         .itemsTable = "goods",
         .itemsColumn = "gods_kind",
         .empties = {"Edit_code", "ComboBox_name", "CheckBox_all"}},
        {.name = "CheckBox_all",
         .kind = CriterionKind::Check,
         .label = "全部",
         .checked = true,
         .empties = {"Edit_code", "ComboBox_name", "ComboBox_kind"}},
    };
}

// Exactly one restriction: the code, else the category, else every row with a code.
QueryStatement restricted(const QueryScreen& screen, QString head, const QString& otherwise) {
    QVariantMap params;
    if (const QString code = screen.text("Edit_code"); !code.isEmpty()) {
        head += u"a.gods_code=:gods_code \n"_s;
        params.insert(u"gods_code"_s, code);
    } else if (const QString kind = screen.text("ComboBox_kind"); !kind.isEmpty()) {
        head += u"b.gods_kind=:gods_kind \n"_s;
        params.insert(u"gods_kind"_s, kind);
    } else {
        head += otherwise + u'\n';
    }
    return {head + u" order by a.gods_code"_s, params};
}

const QueryDescriptor& stockQuery() {
    static const QueryDescriptor d{
        .className = "TFrmStore",
        .caption = "库存查询",
        .module = 14,
        .list = &TFrmDataMod::StoreQ,
        .columns = withGoodsColumns({{u"gods_amou"_s, u"数量"_s, 80},
                                     {u"cost_pric"_s, u"成本"_s, 80},
                                     {u"cost_tota"_s, u"小计"_s, 90}}),
        .goodsCaptions = true,
        .criteria = goodsFilters(),
        .statement =
            [](const QueryScreen& screen) {
                return restricted(
                    screen,
                    u"select "
                    u"a.gods_code,b.gods_name,a.gods_amou,a.cost_pric,a.gods_amou*a.cost_pric \n"
                    " from storemain a left outer join goods b on b.gods_code=a.gods_code \n where "_s,
                    u"trim(a.gods_code)<>'' "_s);
            },
        .totals = {{.name = "Edit_zsl",
                    .label = "库存总数量",
                    .field = "gods_amou",
                    .reportLabel = "zsl"},
                   {.name = "Edit_zcb",
                    .label = "库存总成本",
                    .field = "cost_tota",
                    .reportLabel = "zcb"}},
        .layout = "Rptstore",
        .printsGoodsCaptions = true,
    };
    return d;
}

const QueryDescriptor& stockAlarm() {
    static const QueryDescriptor d{
        .className = "TFrmAlarm",
        .caption = "库存报警",
        .module = 15,
        .list = &TFrmDataMod::AlarmQ,
        .columns = withGoodsColumns({{u"gods_amou"_s, u"数量"_s, 80},
                                     {u"max_amou"_s, u"库存上限"_s, 80},
                                     {u"min_amou"_s, u"库存下限"_s, 80}}),
        .goodsCaptions = true,
        .criteria = goodsFilters(),
        .statement =
            [](const QueryScreen& screen) {
                return restricted(
                    screen,
                    u"select a.gods_code,b.gods_name,b.gods_kind,b.max_amou,b.min_amou,a.gods_amou "
                    u"\n"
                    " from storemain a left outer join goods b on b.gods_code=a.gods_code \n"
                    " where (a.gods_amou>b.max_amou or a.gods_amou<b.min_amou) and  "_s,
                    u"  trim(a.gods_code)<>'' "_s);
            },
        .totals =
            {{.name = "Edit_zsl", .label = "总数量", .field = "gods_amou", .reportLabel = "zsl"}},
        .totalsPlace = TotalsPlace::CriteriaRow,
        .layout = "Qalarm",
        .printsGoodsCaptions = true,
    };
    return d;
}

}  // namespace

TFrmStore::TFrmStore(QWidget* parent) : QueryScreen(stockQuery(), parent) {}

TFrmAlarm::TFrmAlarm(QWidget* parent) : QueryScreen(stockAlarm(), parent) {}

}  // namespace talvor
