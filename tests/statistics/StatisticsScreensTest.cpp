#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QRadioButton>
#include <QTemporaryDir>

#include "StatisticsFixture.h"
#include "app/Screens.h"
#include "datamodel/DisplayFormat.h"
#include "statistics/StatisticsChart.h"
#include "statistics/StatisticsScreens.h"
#include "ui/DataGrid.h"
#include "ui/ScreenRegistry.h"
#include "warehouse/WarehouseFixture.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class StatisticsScreensTest : public test::WarehouseFixture {
  protected:
    test::BillRows rows{t};
    TFrmDataMod& m = *t.module;

    // March: a sale whose first line the scanner read twice, a return to a supplier, and a
    // sale to a company that has no master row.
    void march() {
        rows.bill(u"outmain"_s, u"S1"_s, QDate(2024, 3, 5), u"C1"_s, u"out"_s);
        rows.line(u"outgoods"_s, u"S1"_s, u"G1"_s, 10, 2);
        rows.line(u"outgoods"_s, u"S1"_s, u"G1"_s, 10, 2);
        rows.bill(u"outmain"_s, u"R1"_s, QDate(2024, 3, 6), u"C2"_s, u"retu"_s);
        rows.line(u"outgoods"_s, u"R1"_s, u"G2"_s, 12, 3);
        rows.sale(u"X1"_s, QDate(2024, 3, 6), u"C9"_s, u"G1"_s, 40, 1);
    }

    static void range(QWidget& screen, const QDate& from, const QDate& to) {
        child<QDateEdit>(screen, "DateTimePicker1")->setDate(from);
        child<QDateEdit>(screen, "DateTimePicker2")->setDate(to);
    }
    static void choose(QWidget& screen, const char* radio) {
        child<QRadioButton>(screen, radio)->setChecked(true);
    }
    static QComboBox* combo(QWidget& screen, const char* name) {
        return child<QComboBox>(screen, name);
    }
    static StatisticsChart& chart(QWidget& screen) {
        return *child<StatisticsChart>(screen, "StatisticsChart");
    }
    static QStringList column(const Dataset& d, const QString& field) {
        QStringList values;
        for (int row = 0; row < d.recordCount(); ++row) values << d.value(row, field).toString();
        return values;
    }
};

TEST_F(StatisticsScreensTest, SalesListingCountsEveryLineAndChartsTheDays) {
    march();
    TFrmOutList screen;
    EXPECT_EQ(screen.windowTitle(), u"出货统计"_s);
    QAbstractItemModel* grid = child<DataGrid>(screen, "DBGrid1")->model();
    EXPECT_EQ(grid->headerData(3, Qt::Horizontal), u"编码"_s);
    EXPECT_EQ(grid->headerData(7, Qt::Horizontal), u"分类"_s);

    range(screen, QDate(2024, 3, 5), QDate(2024, 3, 7));
    click(screen, "cmd_find");
    EXPECT_EQ(column(*m.OutListQ, u"bill_no"_s), (QStringList{u"S1"_s, u"S1"_s, u"R1"_s, u"X1"_s}));
    EXPECT_EQ(boxText(screen, "Edit_hjsl"), u"8"_s);
    EXPECT_EQ(boxText(screen, "Edit_hjje"), u"116"_s);
    EXPECT_EQ(chart(screen).shownBars(),
              (std::vector<ChartBar>{{u"3-5"_s, 40}, {u"3-6"_s, 76}, {u"3-7"_s, 0}}));

    choose(screen, "RadioGroup1_1");  // 销售
    click(screen, "cmd_find");
    EXPECT_EQ(column(*m.OutListQ, u"bill_no"_s), (QStringList{u"S1"_s, u"S1"_s, u"X1"_s}));
    EXPECT_EQ(boxText(screen, "Edit_hjje"), u"80"_s);
    EXPECT_EQ(chart(screen).shownBars()[1].value, 40);
}

TEST_F(StatisticsScreensTest, GoodsAndCompanyBoxesNarrowOneAtATime) {
    march();
    TFrmOutList screen;
    range(screen, QDate(2024, 3, 1), QDate(2024, 3, 31));

    combo(screen, "ComboBox_comp_code")->setEditText(u"C2"_s);
    EXPECT_EQ(combo(screen, "ComboBox_comp_name")->currentText(), u"城西百货"_s);
    combo(screen, "ComboBox_gods_name")->setEditText(u"保温杯"_s);
    EXPECT_EQ(combo(screen, "ComboBox_gods_code")->currentText(), u"G1"_s);
    EXPECT_EQ(combo(screen, "ComboBox_comp_code")->currentText(), QString());
    EXPECT_EQ(combo(screen, "ComboBox_comp_name")->currentText(), QString());
    click(screen, "cmd_find");
    EXPECT_EQ(column(*m.OutListQ, u"bill_no"_s), (QStringList{u"S1"_s, u"S1"_s, u"X1"_s}));

    combo(screen, "ComboBox_comp_name")->setEditText(u"华东五金"_s);
    EXPECT_EQ(combo(screen, "ComboBox_gods_code")->currentText(), QString());
    click(screen, "cmd_find");
    EXPECT_EQ(column(*m.OutListQ, u"bill_no"_s), (QStringList{u"S1"_s, u"S1"_s}));

    // A name of no goods leaves the code empty, and the empty code lists nothing.
    combo(screen, "ComboBox_gods_name")->setEditText(u"不存在的货"_s);
    click(screen, "cmd_find");
    EXPECT_EQ(m.OutListQ->recordCount(), 0);
    EXPECT_EQ(boxText(screen, "Edit_hjsl"), u"0"_s);
}

TEST_F(StatisticsScreensTest, PurchaseListingTellsPurchasesFromCustomerReturns) {
    rows.bill(u"inmain"_s, u"I1"_s, QDate(2024, 3, 2), u"C1"_s, u"in"_s);
    rows.line(u"ingoods"_s, u"I1"_s, u"G1"_s, 5, 4);
    rows.bill(u"inmain"_s, u"I2"_s, QDate(2024, 3, 2), u"C2"_s, u"retu"_s);
    rows.line(u"ingoods"_s, u"I2"_s, u"G2"_s, 7, 1);
    TFrmInlist screen;
    EXPECT_EQ(child<DataGrid>(screen, "DBGrid1")->model()->headerData(5, Qt::Horizontal),
              u"规格"_s);
    range(screen, QDate(2024, 3, 1), QDate(2024, 3, 2));

    const struct {
        const char* radio;
        QStringList bills;
        QString amount;
        QString printedKind;
    } cases[] = {{"RadioGroup1_0", {u"I1"_s, u"I2"_s}, u"27"_s, QString()},
                 {"RadioGroup1_1", {u"I1"_s}, u"20"_s, u"进货"_s},
                 {"RadioGroup1_2", {u"I2"_s}, u"7"_s, u"顾客退货"_s}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        choose(screen, c.radio);
        click(screen, "cmd_find");
        EXPECT_EQ(column(*m.InListQ, u"bill_no"_s), c.bills);
        EXPECT_EQ(boxText(screen, "Edit_hjje"), c.amount);
        click(screen, "cmd_prin");
        EXPECT_EQ(layouts.QRinstat->caption(u"list_type"_s), c.printedKind);
    }
}

TEST_F(StatisticsScreensTest, ListingPrintsOnlyFoundRowsWithItsLabelsAndChartWhenAsked) {
    march();
    TFrmOutList screen;
    range(screen, QDate(2024, 3, 5), QDate(2024, 3, 6));
    screen.cmd_prinClick();  // no query yet
    EXPECT_TRUE(previews.empty());

    combo(screen, "ComboBox_gods_code")->setEditText(u"G1"_s);
    click(screen, "cmd_find");
    click(screen, "cmd_prin");
    ASSERT_EQ(previews.size(), size_t(1));
    const report::ReportLayout& layout = *layouts.QRoutlist;
    EXPECT_EQ(layout.caption(u"gods_code"_s), u"G1"_s);
    EXPECT_EQ(layout.caption(u"gods_name"_s), u"保温杯"_s);
    EXPECT_EQ(layout.caption(u"datea"_s), u"2024/3/5"_s);
    EXPECT_EQ(layout.caption(u"hjje"_s), u"80"_s);
    EXPECT_EQ(layout.caption(u"QRLabel5"_s), QString());  // 全部
    EXPECT_EQ(layout.caption(u"QRLabel9"_s), u"编码"_s);
    const int listPages = previews[0].pageCount();

    choose(screen, "RadioGroup1_1");
    child<QCheckBox>(screen, "chk_chart")->setChecked(true);
    click(screen, "cmd_prin");  // prints as the boxes stand now, without querying again
    ASSERT_EQ(previews.size(), size_t(2));
    EXPECT_EQ(layout.caption(u"QRLabel5"_s), u"销售出货"_s);
    ASSERT_EQ(previews[1].pageCount(), listPages + 1);
    EXPECT_EQ(previews[1].pages.back().textList(),
              (QStringList{u"出货统计  每日金额（金额）"_s, u"3-5"_s, u"40"_s, u"3-6"_s, u"40"_s}));

    range(screen, QDate(2023, 1, 1), QDate(2023, 1, 2));
    click(screen, "cmd_find");
    screen.cmd_prinClick();  // nothing found: nothing printed
    EXPECT_EQ(previews.size(), size_t(2));
    EXPECT_FALSE(enabled(screen, "cmd_prin"));
}

TEST_F(StatisticsScreensTest, GoodsRankingChartsTheFirstTwentyRowsOfItsGrid) {
    for (int i = 1; i <= 25; ++i)
        rows.sale(u"B%1"_s.arg(i), QDate(2024, 3, 1), u"C1"_s, u"K%1"_s.arg(i, 2, 10, QChar(u'0')),
                  i, 30 - i);
    TFrmOutSortG screen;
    range(screen, QDate(2024, 3, 1), QDate(2024, 3, 1));
    EXPECT_EQ(
        child<DataGrid>(screen, "DBGrid1")->model()->headerData(7, Qt::Horizontal, Qt::ToolTipRole),
        u"各行单价的简单平均：每行算一次，不按数量加权"_s);

    for (const char* order : {"RadioGroup2_0", "RadioGroup2_1"}) {
        SCOPED_TRACE(order);
        choose(screen, order);
        click(screen, "cmd_find");
        const bool byAmount = QLatin1StringView(order) == "RadioGroup2_0"_L1;
        const QAbstractItemModel* grid = child<DataGrid>(screen, "DBGrid1")->model();
        const std::vector<ChartBar> bars = chart(screen).shownBars();
        ASSERT_EQ(bars.size(), size_t(20));
        for (int row = 0; row < 20; ++row) {
            // Without goods rows the bars are named by the grid's codes.
            EXPECT_EQ(bars[size_t(row)].label, grid->index(row, 0).data().toString());
            EXPECT_EQ(formatFloat(bars[size_t(row)].value),
                      grid->index(row, byAmount ? 8 : 6).data().toString());
        }
    }
    EXPECT_EQ(chart(screen).shownBars()[0].label, u"K01"_s);  // 29 units, the most
    EXPECT_EQ(boxText(screen, "Edit_hjsl"), u"425"_s);
}

TEST_F(StatisticsScreensTest, RankingsPrintTheirOrderAndKind) {
    march();
    TFrmOutSortC screen;
    range(screen, QDate(2024, 3, 1), QDate(2024, 3, 31));
    click(screen, "cmd_find");
    // Equal amounts in the order of their codes; C9 has no company row and still ranks.
    EXPECT_EQ(column(*m.OutSortCQ, u"comp_code"_s), (QStringList{u"C1"_s, u"C9"_s, u"C2"_s}));
    EXPECT_EQ(boxText(screen, "Edit_hjje"), u"116"_s);

    const struct {
        const char* order;
        const char* kind;
        QString sortLabel;
        QString kindLabel;
    } cases[] = {{"RadioGroup2_0", "RadioGroup1_0", u"按金额排序"_s, QString()},
                 {"RadioGroup2_1", "RadioGroup1_1", u"按数量排序"_s, u"出货"_s},
                 {"RadioGroup2_0", "RadioGroup1_2", u"按金额排序"_s, u"退货厂商"_s}};
    for (const auto& c : cases) {
        choose(screen, c.order);
        choose(screen, c.kind);
        click(screen, "cmd_prin");
        EXPECT_EQ(layouts.QRoutSortC->caption(u"sort_type"_s), c.sortLabel);
        EXPECT_EQ(layouts.QRoutSortC->caption(u"out_type"_s), c.kindLabel);
    }
    EXPECT_EQ(previews.size(), std::size(cases));
}

TEST_F(StatisticsScreensTest, AFailedQueryReachesTheErrorReportAndKeepsTheTotals) {
    march();
    TFrmOutSortG screen;
    range(screen, QDate(2024, 3, 1), QDate(2024, 3, 31));
    click(screen, "cmd_find");
    ASSERT_EQ(boxText(screen, "Edit_hjsl"), u"8"_s);

    t.exec(u"drop table outgoods"_s);
    click(screen, "cmd_find");
    EXPECT_EQ(answers.shown().size(), size_t(1));
    EXPECT_EQ(boxText(screen, "Edit_hjsl"), u"8"_s);
}

TEST_F(StatisticsScreensTest, ChartExportsWhatItShowsAsPng) {
    march();
    TFrmOutSortC screen;
    range(screen, QDate(2024, 3, 1), QDate(2024, 3, 31));
    click(screen, "cmd_find");
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.png"_s);
    chart(screen).askPngFile = [&] { return path; };
    click(screen, "cmd_png");
    const QImage image(path);
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), chart(screen).image().size());

    chart(screen).askPngFile = [&] { return dir.filePath(u"missing/dir/chart.png"_s); };
    click(screen, "cmd_png");
    EXPECT_EQ(answers.shown().size(), size_t(1));
}

TEST_F(StatisticsScreensTest, MenuItemsOpenTheirScreens) {
    const struct {
        const char* item;
        QString className;
        QString caption;
    } items[] = {{"N11", u"TFrmInlist"_s, u"进货统计"_s},
                 {"N23", u"TFrmOutList"_s, u"出货统计"_s},
                 {"N24", u"TFrmOutSortG"_s, u"出货排行-按货品"_s},
                 {"N25", u"TFrmOutSortC"_s, u"出货排行-按客户"_s}};
    for (const auto& i : items) {
        const ScreenFactory* factory = screenRegistry().find(QLatin1String(i.item));
        ASSERT_NE(factory, nullptr) << i.item;
        const std::unique_ptr<QDialog> screen = (*factory)(nullptr);
        EXPECT_EQ(screen->objectName(), i.className);
        EXPECT_EQ(screen->windowTitle(), i.caption);
    }
}

}  // namespace
}  // namespace talvor
