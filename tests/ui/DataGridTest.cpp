#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QtTest/QTest>

#include "common/core/GoodsCaptions.h"
#include "support/TestDatabase.h"
#include "ui/CutCellTips.h"
#include "ui/DataGrid.h"
#include "ui/Messages.h"
#include "ui/WidgetRoutines.h"

namespace talvor {
namespace {

class DataGridTest : public ::testing::Test {
  protected:
    test::TestDatabase t;
    ScriptedMessages messages;
    Dataset& goods = *t.module->GoodsQ;

    DataGridTest() {
        for (const char* code : {"G1", "G2", "G3", "G4"})
            t.exec(QStringLiteral(
                       "insert into goods (gods_code,gods_name,valu_in) values (:c,:n,2.5)"),
                   {{QStringLiteral("c"), QLatin1String(code)},
                    {QStringLiteral("n"), QStringLiteral("货品") + QLatin1String(code)}});
        goods.setSql(QStringLiteral("select * from goods order by gods_code"));
        goods.open();
    }

    static std::vector<GridColumn> columns(int count) {
        static const char* fields[] = {"gods_code", "gods_name", "gods_spec", "gods_type",
                                       "gods_kind", "gods_unit", "valu_in"};
        std::vector<GridColumn> c;
        for (int i = 0; i < count; ++i)
            c.push_back({QLatin1String(fields[i]), QStringLiteral("列%1").arg(i), 50 + i, i == 0});
        return c;
    }
};

TEST_F(DataGridTest, ShowsTheColumnsAsGivenAndSelectsWholeRows) {
    DataGrid grid(&goods, columns(7));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("列1"));
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(3), 53);
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.model()->index(0, 6).data().toString(), QStringLiteral("2.5"));
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
}

// A name wider than its column shows whole as the cell's tooltip; a code that fits has none.
TEST_F(DataGridTest, ACutCellShowsItsWholeTextAsATooltip) {
    const QString longName = QStringLiteral("广州市天河区宏达五金建材有限公司天河分店");
    t.exec(QStringLiteral("update goods set gods_name=:n where gods_code='G2'"),
           {{QStringLiteral("n"), longName}});
    goods.reopen();
    DataGrid grid(&goods, columns(2));
    grid.resize(300, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const auto cut = [&grid](int row, int column) {
        return cellIsCut(grid, grid.model()->index(row, column));
    };
    EXPECT_TRUE(cut(1, 1));
    EXPECT_FALSE(cut(1, 0));
    EXPECT_FALSE(cut(0, 1)) << "货品G1 fits its column";
    const QPoint at = grid.visualRect(grid.model()->index(1, 1)).center();
    QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), longName);
    QToolTip::hideText();
}

TEST_F(DataGridTest, GridAndDatasetKeepTheSameCurrentRow) {
    DataGrid grid(&goods, columns(2));
    EXPECT_EQ(grid.currentIndex().row(), 0);

    grid.setCurrentIndex(grid.model()->index(2, 1));
    EXPECT_EQ(goods.currentRow(), 2);
    EXPECT_EQ(goods.text(QStringLiteral("gods_code")), QStringLiteral("G3"));

    ASSERT_TRUE(goods.locate(QStringLiteral("gods_code"), QStringLiteral("G2")));
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(grid.currentIndex().column(), 1) << "the column stays";
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(1, {}));

    goods.append();
    EXPECT_EQ(grid.currentIndex().row(), 4);
    goods.cancel();
    EXPECT_EQ(grid.currentIndex().row(), 3);

    goods.reopen();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    goods.close();
    EXPECT_FALSE(grid.currentIndex().isValid());
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

TEST_F(DataGridTest, AMoveThatCannotPostStaysOnTheDatasetsRow) {
    DataGrid grid(&goods, columns(2));
    goods.setCurrentRow(1);
    goods.setValue(QStringLiteral("gods_code"), QString(25, u'X'));  // wider than the column
    grid.setCurrentIndex(grid.model()->index(3, 0));
    EXPECT_EQ(goods.currentRow(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(messages.shown().size(), 1u);
}

class GoodsCaptionsTest
    : public DataGridTest,
      public ::testing::WithParamInterface<std::pair<const char*, std::vector<int>>> {};

TEST_P(GoodsCaptionsTest, TitleTheColumnsTheOrderNames) {
    const auto& [order, titled] = GetParam();
    GoodsCaptions() = {QStringLiteral("编码"), QStringLiteral("货名"), QStringLiteral("规格"),
                       QStringLiteral("型号"), QStringLiteral("分类")};
    DataGrid grid(&goods, columns(7));
    ApplyGoodsCaptions(grid, QLatin1String(order));
    for (size_t k = 0; k < titled.size(); ++k)
        EXPECT_EQ(grid.model()->headerData(titled[k], Qt::Horizontal).toString(),
                  GoodsCaptions()[k]);
    EXPECT_EQ(grid.datasetModel()->columns()[2].field, QStringLiteral("gods_spec"))
        << "fields stay";
}

INSTANTIATE_TEST_SUITE_P(Grid, GoodsCaptionsTest,
                         ::testing::Values(std::pair{"", std::vector{0, 1, 2, 3, 4}},
                                           std::pair{"0123", std::vector{0, 1, 2, 3, 4}},
                                           std::pair{"23456", std::vector{2, 3, 4, 5, 6}},
                                           std::pair{"10243", std::vector{1, 0, 2, 4, 3}}));

TEST_F(GoodsCaptionsTest, AColumnTheGridLacksIsAnErrorAndNothingChanges) {
    GoodsCaptions() = {QStringLiteral("编码"), {}, {}, {}, {}};
    DataGrid grid(&goods, columns(5));
    EXPECT_THROW(ApplyGoodsCaptions(grid, QStringLiteral("01235")), std::exception);
    EXPECT_THROW(ApplyGoodsCaptions(grid, QStringLiteral("0123x")), std::exception);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("列0"));
}

}  // namespace
}  // namespace talvor
