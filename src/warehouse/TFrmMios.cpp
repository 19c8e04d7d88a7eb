#include "warehouse/TFrmMios.h"

#include "datamodel/DataModule.h"
#include "ui/Progress.h"
#include "warehouse/StockScreenParts.h"
#include "warehouse/core/MonthlyMovement.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

const QueryDescriptor& movement() {
    static const QueryDescriptor d{
        .className = "TFrmMios",
        .caption = "月进销存",
        .module = 18,
        .list = &TFrmDataMod::MiosQ,
        .columns = withGoodsColumns({{u"last_amou"_s, u"上月结存"_s, 80},
                                     {u"in_amou"_s, u"本月进货"_s, 80},
                                     {u"out_amou"_s, u"本月出货"_s, 80},
                                     {u"now_amou"_s, u"本月结存"_s, 80}}),
        .goodsCaptions = true,
        .criteria = {{.name = "DateTimePicker1", .kind = CriterionKind::Date, .label = "统计月份"}},
        .run =
            [](QueryScreen& screen, Dataset& list) {
                const QDate month = screen.date("DateTimePicker1");
                runWithProgress(&screen, u"进销存明细"_s, [&](Progress& progress) {
                    BuildMonthlyMovement(*list.engine(), month, progress);
                });
                list.openWith(u"select * from  mios"_s);
            },
        .totals = {{.name = "Edit_in", .label = "进货总数", .field = "in_amou"},
                   {.name = "Edit_out", .label = "销售总数", .field = "out_amou"},
                   {.name = "Edit_now", .label = "结存总数", .field = "now_amou"}},
        .totalsPlace = TotalsPlace::CriteriaRow,
        .layout = "QRiss",
        .printNeedsRows = true,
        .opening =
            [](QueryScreen& screen) {
                Dataset& list = screen.list();
                list.engine()->execute(u"delete * from  mios"_s);
                list.setLockMode(LockMode::Optimistic);
                list.openWith(u"select * from  mios"_s);
            },
    };
    return d;
}

}  // namespace

TFrmMios::TFrmMios(QWidget* parent) : QueryScreen(movement(), parent) {}

}  // namespace talvor
