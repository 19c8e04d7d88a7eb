#include "statistics/StatisticsScreens.h"

#include <array>

#include "common/core/GoodsCaptions.h"
#include "datamodel/DataModule.h"
#include "reports/core/ReportLayout.h"
#include "statistics/StatisticsChart.h"
#include "statistics/core/ChartPage.h"
#include "ui/DataGrid.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

QString name(const char* text) { return QString::fromLatin1(text); }

// What both families share: the range, the kind of bill, the two totals, the chart beside
// the grid and the chart's page after the printed list when the user asks for it.
constexpr const char* kFrom = "DateTimePicker1";
constexpr const char* kTo = "DateTimePicker2";
constexpr const char* kKind = "RadioGroup1";

BillChoice billChoice(const QueryScreen& screen) {
    switch (screen.choice(kKind)) {
        case 1:
            return BillChoice::Trade;
        case 2:
            return BillChoice::Returns;
        default:
            return BillChoice::All;
    }
}

std::vector<QueryTotal> quantityAndAmount() {
    return {{.name = "Edit_hjsl", .label = "合计数量", .field = "sub_amou", .reportLabel = "hjsl"},
            {.name = "Edit_hjje", .label = "合计金额", .field = "sub_tota", .reportLabel = "hjje"}};
}

StatisticsChart& chartOf(const QueryScreen& screen) {
    return *screen.findChild<StatisticsChart*>();
}

std::function<QWidget*(QueryScreen&)> chartBeside(StatisticsChart::Shape shape) {
    return [shape](QueryScreen& screen) { return new StatisticsChart(shape, &screen); };
}

void chartAfterList(const QueryScreen& screen, report::PreparedReport& pages) {
    const StatisticsChart& chart = chartOf(screen);
    if (chart.printsWithList()) AppendChartPages(pages, screen.windowTitle(), chart.data());
}

void printGoodsHeadings(report::ReportLayout& layout) {
    const char* headings[] = {"QRLabel9", "QRLabel10", "QRLabel11"};
    for (size_t i = 0; i < std::size(headings); ++i)
        layout.setCaption(name(headings[i]), GoodsCaptions()[i]);
}

// ---- line listings ----------------------------------------------------------------------

constexpr const char* kGoodsCode = "ComboBox_gods_code";
constexpr const char* kGoodsName = "ComboBox_gods_name";
constexpr const char* kCompanyCode = "ComboBox_comp_code";
constexpr const char* kCompanyName = "ComboBox_comp_name";

// How the purchase and the sales listing differ.
struct LineListing {
    const char* className;
    const char* caption;
    int module;
    Dataset* TFrmDataMod::*list;
    const BillSide* side;
    const char* kindGroup;
    std::array<const char*, 3> kinds;
    const char* layout;
    const char* kindLabel;  // the layout's run-time label naming the chosen kind
    std::array<const char*, 3> printedKinds;
    std::vector<GridColumn> columns;
    int goodsCaptions;  // goods columns, from the fourth, that take the goods captions
};

// A goods box and a company box each narrow alone: filling one empties the other side and
// puts the matching code or name beside it.
Criterion selectionBox(const char* box, const char* label, const char* table, const char* column,
                       const char* partner, const char* partnerColumn,
                       std::vector<const char*> others, const char* printedAs) {
    return {.name = box,
            .kind = CriterionKind::Combo,
            .label = label,
            .width = 100,
            .itemsTable = table,
            .itemsColumn = column,
            .empties = std::move(others),
            .fillsCode = {.table = table,
                          .keyColumn = column,
                          .resultColumn = partnerColumn,
                          .target = partner},
            .reportLabel = printedAs};
}

std::vector<Criterion> lineCriteria(const LineListing& l) {
    const std::vector<const char*> goods{kGoodsCode, kGoodsName};
    const std::vector<const char*> companies{kCompanyCode, kCompanyName};
    return {
        selectionBox(kGoodsCode, "商品编码", "goods", "gods_code", kGoodsName, "gods_name",
                     companies, "gods_code"),
        selectionBox(kGoodsName, "商品名称", "goods", "gods_name", kGoodsCode, "gods_code",
                     companies, "gods_name"),
        selectionBox(kCompanyCode, "客户编码", "company", "comp_code", kCompanyName, "comp_name",
                     goods, "comp_no"),
        selectionBox(kCompanyName, "客户名称", "company", "comp_name", kCompanyCode, "comp_code",
                     goods, "comp_name"),
        {.name = kFrom, .kind = CriterionKind::Date, .label = "日期", .reportLabel = "datea"},
        {.name = kTo, .kind = CriterionKind::Date, .label = "至", .reportLabel = "dateb"},
        {.name = kKind,
         .kind = CriterionKind::Choice,
         .label = l.kindGroup,
         .items = {l.kinds.begin(), l.kinds.end()}},
    };
}

LineCriteria lineCriteria(const QueryScreen& screen) {
    LineCriteria criteria{.from = screen.date(kFrom),
                          .to = screen.date(kTo),
                          .bills = billChoice(screen),
                          .goodsCode = {},
                          .companyCode = {}};
    if (!screen.text(kGoodsCode).isEmpty() || !screen.text(kGoodsName).isEmpty())
        criteria.goodsCode = screen.text(kGoodsCode);
    if (!screen.text(kCompanyCode).isEmpty() || !screen.text(kCompanyName).isEmpty())
        criteria.companyCode = screen.text(kCompanyCode);
    return criteria;
}

QueryDescriptor lineStatistics(const LineListing& l) {
    return {
        .className = l.className,
        .caption = l.caption,
        .module = l.module,
        .list = l.list,
        .columns = l.columns,
        .criteria = lineCriteria(l),
        .run =
            [&l](QueryScreen& screen, Dataset& list) {
                const LineCriteria criteria = lineCriteria(screen);
                QueryLines(list, *l.side, criteria);
                chartOf(screen).display(AmountChart(list, criteria.from, criteria.to));
            },
        .totals = quantityAndAmount(),
        .layout = l.layout,
        .printNeedsRows = true,
        .printing =
            [&l](const QueryScreen& screen, report::ReportLayout& layout) {
                printGoodsHeadings(layout);
                layout.setCaption(name(l.kindLabel),
                                  QString::fromUtf8(l.printedKinds[size_t(screen.choice(kKind))]));
            },
        .morePages = chartAfterList,
        .opening =
            [&l](QueryScreen& screen) {
                for (int k = 0; k < l.goodsCaptions; ++k)
                    screen.grid().datasetModel()->setColumnTitle(3 + k, GoodsCaptions()[size_t(k)]);
            },
        .besideGrid = chartBeside(StatisticsChart::Shape::Timeline),
    };
}

std::vector<GridColumn> lineColumns(bool withModelAndCategory) {
    std::vector<GridColumn> columns{
        {u"bill_no"_s, u"流水号"_s, 110},     {u"comp_code"_s, u"公司编码"_s, 70},
        {u"comp_name"_s, u"公司名称"_s, 120}, {u"gods_code"_s, u"商品编码"_s, 80},
        {u"gods_name"_s, u"商品名称"_s, 120}, {u"gods_spec"_s, u"规格"_s, 60}};
    if (withModelAndCategory)
        columns.insert(columns.end(),
                       {{u"gods_type"_s, u"型号"_s, 60}, {u"gods_kind"_s, u"种类"_s, 60}});
    columns.insert(columns.end(), {{u"gods_unit"_s, u"单位"_s, 40},
                                   {u"unit_pric"_s, u"单价"_s, 60},
                                   {u"sub_amou"_s, u"数量"_s, 60},
                                   {u"sub_tota"_s, u"小计"_s, 70}});
    return columns;
}

const LineListing kSalesListing{
    .className = "TFrmOutList",
    .caption = "出货统计",
    .module = 11,
    .list = &TFrmDataMod::OutListQ,
    .side = &kOutgoing,
    .kindGroup = "出货类型",
    .kinds = {"全部", "销售", "退货厂商"},
    .layout = "QRoutlist",
    .kindLabel = "QRLabel5",
    .printedKinds = {"", "销售出货", "退货厂商"},
    .columns = lineColumns(true),
    .goodsCaptions = 5,
};

const LineListing kPurchaseListing{
    .className = "TFrmInlist",
    .caption = "进货统计",
    .module = 7,
    .list = &TFrmDataMod::InListQ,
    .side = &kIncoming,
    .kindGroup = "进货类型",
    .kinds = {"全部", "进货", "顾客退货"},
    .layout = "QRinstat",
    .kindLabel = "list_type",
    .printedKinds = {"", "进货", "顾客退货"},
    .columns = lineColumns(false),
    .goodsCaptions = 3,
};

// ---- rankings ---------------------------------------------------------------------------

constexpr const char* kOrder = "RadioGroup2";

// How the ranking by goods and the ranking by customer differ.
struct Ranking {
    const char* className;
    const char* caption;
    int module;
    Dataset* TFrmDataMod::*list;
    RankKey key;
    std::vector<GridColumn> columns;
    bool goodsCaptions;
    const char* layout;
};

RankBy rankBy(const QueryScreen& screen) {
    return screen.choice(kOrder) == 1 ? RankBy::Quantity : RankBy::Amount;
}

QueryDescriptor ranking(const Ranking& r) {
    return {
        .className = r.className,
        .caption = r.caption,
        .module = r.module,
        .list = r.list,
        .columns = r.columns,
        .goodsCaptions = r.goodsCaptions,
        .criteria = {{.name = kFrom,
                      .kind = CriterionKind::Date,
                      .label = "起始日期",
                      .reportLabel = "datea"},
                     {.name = kTo,
                      .kind = CriterionKind::Date,
                      .label = "截止日期",
                      .reportLabel = "dateb"},
                     {.name = kOrder,
                      .kind = CriterionKind::Choice,
                      .label = "排序方式",
                      .items = {"按金额排序", "按数量排序"}},
                     {.name = kKind,
                      .kind = CriterionKind::Choice,
                      .label = "出货方式",
                      .items = {"全部", "销售", "退货厂商"}}},
        .run =
            [&r](QueryScreen& screen, Dataset& list) {
                const RankBy by = rankBy(screen);
                QueryRanking(list, r.key,
                             {.from = screen.date(kFrom),
                              .to = screen.date(kTo),
                              .bills = billChoice(screen),
                              .by = by});
                chartOf(screen).display(RankingChart(list, r.key, by));
            },
        .totals = quantityAndAmount(),
        .layout = r.layout,
        .printNeedsRows = true,
        .printing =
            [&r](const QueryScreen& screen, report::ReportLayout& layout) {
                layout.setCaption(u"sort_type"_s, rankBy(screen) == RankBy::Amount
                                                      ? u"按金额排序"_s
                                                      : u"按数量排序"_s);
                const QString kinds[] = {QString(), u"出货"_s, u"退货厂商"_s};
                layout.setCaption(u"out_type"_s, kinds[screen.choice(kKind)]);
                if (r.goodsCaptions) printGoodsHeadings(layout);
            },
        .morePages = chartAfterList,
        .besideGrid = chartBeside(StatisticsChart::Shape::Ranking),
    };
}

const Ranking kGoodsRanking{
    .className = "TFrmOutSortG",
    .caption = "出货排行-按货品",
    .module = 12,
    .list = &TFrmDataMod::OutSortQ,
    .key = RankKey::Goods,
    .columns = {{u"gods_code"_s, u"货品编码"_s, 80},
                {u"gods_name"_s, u"货品名称"_s, 130},
                {u"gods_spec"_s, u"规格"_s, 70},
                {u"gods_type"_s, u"型号"_s, 70},
                {u"gods_kind"_s, u"种类"_s, 60},
                {u"gods_unit"_s, u"单位"_s, 40},
                {u"sub_amou"_s, u"数量"_s, 70},
                {u"unit_pric"_s, u"平均价"_s, 70, false,
                 u"各行单价的简单平均：每行算一次，不按数量加权"_s},
                {u"sub_tota"_s, u"金额"_s, 90}},
    .goodsCaptions = true,
    .layout = "QRoutSortG",
};

const Ranking kCompanyRanking{
    .className = "TFrmOutSortC",
    .caption = "出货排行-按客户",
    .module = 13,
    .list = &TFrmDataMod::OutSortCQ,
    .key = RankKey::Company,
    .columns = {{u"comp_code"_s, u"公司编码"_s, 90},
                {u"comp_name"_s, u"公司名称"_s, 200},
                {u"head_name"_s, u"负责人名"_s, 100},
                {u"sub_amou"_s, u"数量"_s, 90},
                {u"sub_tota"_s, u"金额"_s, 110}},
    .goodsCaptions = false,
    .layout = "QRoutSortC",
};

const QueryDescriptor& salesListing() {
    static const QueryDescriptor d = lineStatistics(kSalesListing);
    return d;
}

const QueryDescriptor& purchaseListing() {
    static const QueryDescriptor d = lineStatistics(kPurchaseListing);
    return d;
}

const QueryDescriptor& goodsRanking() {
    static const QueryDescriptor d = ranking(kGoodsRanking);
    return d;
}

const QueryDescriptor& companyRanking() {
    static const QueryDescriptor d = ranking(kCompanyRanking);
    return d;
}

}  // namespace

TFrmOutList::TFrmOutList(QWidget* parent) : QueryScreen(salesListing(), parent) {}

TFrmInlist::TFrmInlist(QWidget* parent) : QueryScreen(purchaseListing(), parent) {}

TFrmOutSortG::TFrmOutSortG(QWidget* parent) : QueryScreen(goodsRanking(), parent) {}

TFrmOutSortC::TFrmOutSortC(QWidget* parent) : QueryScreen(companyRanking(), parent) {}

void registerStatisticsScreens(ScreenRegistry& screens) {
    screens.add<TFrmInlist>(u"N11"_s);
    screens.add<TFrmOutList>(u"N23"_s);
    screens.add<TFrmOutSortG>(u"N24"_s);
    screens.add<TFrmOutSortC>(u"N25"_s);
}

}  // namespace talvor
