#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QShortcut>

#include "common/core/GoodsCaptions.h"
#include "support/TestDatabase.h"
#include "ui/DataGrid.h"
#include "ui/GridExport.h"
#include "ui/Messages.h"
#include "ui/WidgetRoutines.h"

namespace talvor {
namespace {

class GridExportTest : public ::testing::Test {
  protected:
    test::TestDatabase t;
    ScriptedMessages messages;
    Dataset& goods = *t.module->GoodsQ;
    std::unique_ptr<DataGrid> grid;

    GridExportTest() {
        t.exec(
            QStringLiteral("insert into goods (gods_code,gods_name,gods_spec,gods_type,"
                           "gods_kind,valu_in) values ('001','绿茶','500克','A','茶',12.345)"));
        goods.openWith(QStringLiteral("select * from goods order by gods_code"));
        std::vector<GridColumn> columns;
        for (const char* f :
             {"gods_code", "gods_name", "gods_spec", "gods_type", "gods_kind", "valu_in"})
            columns.push_back({QLatin1String(f), QLatin1String(f)});
        columns.back().title = QStringLiteral("进价");
        grid = std::make_unique<DataGrid>(&goods, columns);
        GoodsCaptions() = {QStringLiteral("编号"), QStringLiteral("品名"), QStringLiteral("规格"),
                           QStringLiteral("型号"), QStringLiteral("类别")};
        ApplyGoodsCaptions(*grid);
    }
    ~GridExportTest() override { GoodsCaptions() = {}; }

    QString path(const char* name) const { return t.dir.filePath(QLatin1String(name)); }
};

TEST_F(GridExportTest, GridsOfferBothFormatsInTheirMenuAndOnCtrlE) {
    QStringList captions;
    for (const QAction* a : grid->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("导出Excel"), QStringLiteral("导出CSV")}));
    EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
    const auto* shortcut = grid->findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(QStringLiteral("Ctrl+E")));
}

TEST_F(GridExportTest, ExportsTheColumnsShownInTheirOrderUnderTheCaptions) {
    grid->horizontalHeader()->moveSection(5, 0);
    grid->setColumnHidden(3, true);
    grid->setColumnHidden(4, true);

    ASSERT_TRUE(exportGrid(grid.get(), path("goods.csv"), ExportFormat::Csv));
    QFile f(path("goods.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              "\xEF\xBB\xBF" +
                  QStringLiteral("进价,编号,品名,规格\r\n12.35,001,绿茶,500克\r\n").toUtf8());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(GridExportTest, AFailureIsReportedAndWritesNothing) {
    EXPECT_FALSE(exportGrid(grid.get(), path("missing/goods.xlsx"), ExportFormat::Xlsx));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("导出失败：无法写入文件")))
        << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("goods.xlsx")));
}

}  // namespace
}  // namespace talvor
