#include "accounts/Statements.h"

#include "accounts/core/Settlement.h"
#include "datamodel/DataModule.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

// The words in which the two statements differ, besides their names.
struct StatementWords {
    const char* due;
    const char* settled;
    const char* open;
    const char* dueColumn;
    const char* settledColumn;
    const char* openColumn;
};

std::vector<Criterion> statementCriteria() {
    return {
        {.name = "ComboBox1",
         .kind = CriterionKind::Combo,
         .label = "编码",
         .width = 90,
         .itemsTable = "company",
         .itemsColumn = "comp_code",
         .fillsCode = {.table = "company",
                       .keyColumn = "comp_code",
                       .resultColumn = "comp_name",
                       .target = "ComboBox2"},
         .reportLabel = "khbm"},
        {.name = "ComboBox2",
         .kind = CriterionKind::Combo,
         .label = "名称",
         .width = 160,
         .itemsTable = "company",
         .itemsColumn = "comp_name",
         .fillsCode = {.table = "company",
                       .keyColumn = "comp_name",
                       .resultColumn = "comp_code",
                       .target = "ComboBox1"},
         .reportLabel = "khmc"},
        {.name = "RadioGroup1",
         .kind = CriterionKind::Choice,
         .items = {"显示所有数据", "只显示帐目未结清数据"}},
        {.name = "DateTimePicker1",
         .kind = CriterionKind::Date,
         .label = "日期",
         .reportLabel = "rqfw1"},
        {.name = "DateTimePicker2", .kind = CriterionKind::Date, .reportLabel = "rqfw2"},
    };
}

QueryStatement statementOf(const QueryScreen& screen, const SettlementSide& side) {
    const SettlementCriteria criteria{.compCode = screen.text("ComboBox1"),
                                      .compName = screen.text("ComboBox2"),
                                      .billNo = {},
                                      .from = screen.date("DateTimePicker1"),
                                      .to = screen.date("DateTimePicker2")};
    QueryStatement s;
    s.sql = BillListStatement(side, criteria, screen.choice("RadioGroup1") == 1, s.params);
    return s;
}

std::vector<GridColumn> billColumns(const StatementWords& w) {
    return {{u"bill_no"_s, u"流水号"_s, 120},
            {u"bill_date"_s, u"开单日期"_s, 80},
            {u"oper_name"_s, u"开单人"_s, 70},
            {u"comp_code"_s, u"公司编码"_s, 80},
            {u"comp_name"_s, u"公司名称"_s, 160},
            {u"shou_tota"_s, QString::fromUtf8(w.dueColumn), 80},
            {u"fact_tota"_s, QString::fromUtf8(w.settledColumn), 80},
            {u"margin"_s, QString::fromUtf8(w.openColumn), 80}};
}

// The third total is the bills' margins summed, which is the first total less the second.
std::vector<QueryTotal> totals(const StatementWords& w) {
    return {{.name = "Edit1", .label = w.due, .field = "shou_tota", .reportLabel = "ysjea"},
            {.name = "Edit2", .label = w.settled, .field = "fact_tota", .reportLabel = "ysjeb"},
            {.name = "Edit3", .label = w.open, .field = "margin", .reportLabel = "qkje"}};
}

const QueryDescriptor& salesStatement() {
    static const StatementWords words{"应收", "实收", "欠收", "应收款", "实收款", "欠收款"};
    static const QueryDescriptor d{
        .className = "TFrmOutcost",
        .caption = "出货对帐单",
        .findCaption = "结算[&F]",
        .module = 22,
        .list = &TFrmDataMod::GathQ,
        .columns = billColumns(words),
        .criteria = statementCriteria(),
        .statement =
            [](const QueryScreen& screen) {
                return statementOf(screen, SettlementSide::Receipts());
            },
        .totals = totals(words),
        .layout = "Qoutcost",
    };
    return d;
}

const QueryDescriptor& purchaseStatement() {
    static const StatementWords words{"应付", "实付", "欠付", "应付款", "实付款", "欠付款"};
    static const QueryDescriptor d{
        .className = "TFrmIncost",
        .caption = "进货对帐单",
        .findCaption = "结算[&F]",
        .module = 21,
        .list = &TFrmDataMod::PayQ,
        .columns = billColumns(words),
        .criteria = statementCriteria(),
        .statement =
            [](const QueryScreen& screen) {
                return statementOf(screen, SettlementSide::Payments());
            },
        .totals = totals(words),
        .layout = "Qincost",
    };
    return d;
}

}  // namespace

TFrmOutcost::TFrmOutcost(QWidget* parent) : QueryScreen(salesStatement(), parent) {}

TFrmIncost::TFrmIncost(QWidget* parent) : QueryScreen(purchaseStatement(), parent) {}

}  // namespace talvor
