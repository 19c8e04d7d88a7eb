#include "reports/core/LayoutCatalogue.h"
#include "reports/core/LayoutParts.h"

namespace talvor::report::catalogue {

using namespace parts;
using namespace Qt::StringLiterals;

namespace {

const Style kList{fontPx(13), 24};
const FontSpec kTitle = fontPx(16, true);

// The first four goods headings carry the user's captions; until they are set they show the
// system's own titles.
std::vector<Column> goodsColumns(int code, int name, int size, int type) {
    return {runtimeText(u"QRLab_code"_s, u"商品编码"_s, u"gods_code"_s, code),
            runtimeText(u"QRLab_name"_s, u"商品名称"_s, u"gods_name"_s, name),
            runtimeText(u"QRLab_spec"_s, u"规格"_s, u"gods_spec"_s, size),
            runtimeText(u"QRLab_type"_s, u"型号"_s, u"gods_type"_s, type)};
}

std::vector<Column> withGoods(std::vector<Column> goods, std::vector<Column> rest) {
    goods.insert(goods.end(), rest.begin(), rest.end());
    return goods;
}

// A one-page style list: title, an optional line of totals and the headings print once.
LayoutDefinition stockList(const QString& className, const QString& title, const QString& dataset,
                           const std::vector<Entry>& totals, const std::vector<Column>& columns,
                           bool pageFooter) {
    const int headingY = totals.empty() ? 36 : 60;
    std::vector<Band> bands{band(BandKind::Title, headingY + kList.rowPx,
                                 join({{titleLabel(title, 30, kTitle)},
                                       entryLine(32, totals, kList),
                                       headingRow(columns, headingY, kList)})),
                            detailBand(columns, kList)};
    if (pageFooter) bands.push_back(band(BandKind::PageFooter, 10));
    return {.className = className,
            .instanceName = className.mid(1),
            .dataset = dataset,
            .page = PageSetup::a4(),
            .bands = std::move(bands)};
}

}  // namespace

LayoutDefinition Rptstore() {
    return stockList(
        u"TRptstore"_s, u"库存报表"_s, u"StoreQ"_s,
        {entry(u"总数量"_s, rt(u"zsl"_s), 220), entry(u"总成本"_s, rt(u"zcb"_s), 220)},
        withGoods(goodsColumns(100, 170, 90, 90),
                  {text(u"单位"_s, u"gods_unit"_s, 50), figure(u"数量"_s, u"gods_amou"_s, 70),
                   figure(u"成本"_s, u"cost_pric"_s, 70), figure(u"小计"_s, u"cost_tota"_s, 78)}),
        true);
}

LayoutDefinition Qalarm() {
    return stockList(
        u"TQalarm"_s, u"库存报警"_s, u"AlarmQ"_s, {entry(u"总数量"_s, rt(u"zsl"_s), 220)},
        withGoods(
            goodsColumns(100, 170, 90, 90),
            {text(u"单位"_s, u"gods_unit"_s, 50), figure(u"数量"_s, u"gods_amou"_s, 70),
             figure(u"库存上限"_s, u"max_amou"_s, 70), figure(u"库存下限"_s, u"min_amou"_s, 78)}),
        true);
}

LayoutDefinition QRcheck() {
    return stockList(
        u"TQRcheck"_s, u"库存调整表"_s, u"ChektempQ"_s, {},
        withGoods(goodsColumns(110, 190, 100, 100),
                  {text(u"单位"_s, u"gods_unit"_s, 58), figure(u"库存数量"_s, u"gods_amou"_s, 80),
                   figure(u"调整数量"_s, u"chek_amou"_s, 80)}),
        false);
}

LayoutDefinition QRpd() {
    return stockList(
        u"TQRpd"_s, u"盘 点 表"_s, u"ChektempQ"_s, {},
        withGoods(
            goodsColumns(100, 170, 90, 90),
            {text(u"单位"_s, u"gods_unit"_s, 50), figure(u"库存数量"_s, u"gods_amou"_s, 70),
             figure(u"实盘数量"_s, u"chek_amou"_s, 70), figure(u"盈亏数量"_s, u"lost_amou"_s, 78)}),
        false);
}

LayoutDefinition QRiss() {
    return stockList(
        u"TQRiss"_s, u"进销存表"_s, u"MiosQ"_s, {},
        {text(u"商品编码"_s, u"gods_code"_s, 100), text(u"商品名称"_s, u"gods_name"_s, 180),
         text(u"规格"_s, u"gods_spec"_s, 100), text(u"单位"_s, u"gods_unit"_s, 50),
         figure(u"上月结存"_s, u"last_amou"_s, 72), figure(u"本月进货"_s, u"in_amou"_s, 72),
         figure(u"本月出货"_s, u"out_amou"_s, 72), figure(u"本月结存"_s, u"now_amou"_s, 72)},
        false);
}

}  // namespace talvor::report::catalogue
