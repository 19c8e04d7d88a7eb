#include "reports/core/LayoutCatalogue.h"
#include "reports/core/LayoutParts.h"

namespace talvor::report::catalogue {

using namespace parts;
using namespace Qt::StringLiterals;

namespace {

const Style kList{fontPx(13), 24};
const FontSpec kTitle = fontPx(19, true);

Entry dateRange() { return entry(u"日期范围"_s, {rt(u"datea"_s), rt(u"dateb"_s)}, 218); }

// The list bands of the statistics and rankings: headings on every page, totals at the end.
LayoutDefinition listing(const QString& className, const QString& dataset,
                         std::vector<Control> heading, int headingY,
                         const std::vector<Column>& columns) {
    heading = join({heading, headingRow(columns, headingY, kList)});
    const std::vector<Entry> totals{entry(u"合计数量"_s, rt(u"hjsl"_s), 220),
                                    entry(u"合计金额"_s, rt(u"hjje"_s), 220)};
    return {.className = className,
            .instanceName = className.mid(1),
            .dataset = dataset,
            .page = PageSetup::a4(),
            .bands = {band(BandKind::PageHeader, headingY + kList.rowPx, std::move(heading)),
                      detailBand(columns, kList),
                      band(BandKind::Summary, 32, entryLine(4, totals, kList)),
                      band(BandKind::PageFooter, 10)}};
}

std::vector<Column> lineColumns() {
    return {text(u"流水号"_s, u"bill_no"_s, 100),
            text(u"客户"_s, u"comp_name"_s, 110),
            runtimeText(u"QRLabel9"_s, u"QRLabel9"_s, u"gods_code"_s, 86),
            runtimeText(u"QRLabel10"_s, u"QRLabel10"_s, u"gods_name"_s, 140),
            runtimeText(u"QRLabel11"_s, u"QRLabel11"_s, u"gods_spec"_s, 70),
            text(u"单位"_s, u"gods_unit"_s, 40),
            figure(u"单价"_s, u"unit_pric"_s, 56),
            figure(u"数量"_s, u"sub_amou"_s, 56),
            figure(u"小计"_s, u"sub_tota"_s, 60)};
}

// Purchase and sales statistics differ in title, in the caption of the company code and in the
// name of the label that tells the kind of bill.
LayoutDefinition lineStatistics(const QString& className, const QString& dataset,
                                const QString& title, const QString& companyCaption,
                                const QString& kindLabel) {
    return listing(
        className, dataset,
        join({{titleLabel(title, 32, kTitle)},
              entryLine(36,
                        {entry(u"商品编码"_s, rt(u"gods_code"_s), 220),
                         entry(u"商品名称"_s, rt(u"gods_name"_s), 280), dateRange()},
                        kList),
              entryLine(60,
                        {entry(companyCaption, rt(u"comp_no"_s), 220),
                         entry(u"客户"_s, rt(u"comp_name"_s), 280), entry({}, rt(kindLabel), 218)},
                        kList)}),
        84, lineColumns());
}

// The caption line ends where the heading row starts, or the row's rule cuts its texts.
std::vector<Control> rankingHeading(const QString& title) {
    return join({{titleLabel(title, 32, kTitle)},
                 entryLine(40,
                           {entry(u"排序方式："_s, rt(u"sort_type"_s), 220),
                            entry({}, rt(u"out_type"_s), 280), dateRange()},
                           kList)});
}

}  // namespace

LayoutDefinition QRinstat() {
    return lineStatistics(u"TQRinstat"_s, u"InListQ"_s, u"进  货  统  计"_s, u"客户编码"_s,
                          u"list_type"_s);
}

LayoutDefinition QRoutlist() {
    return lineStatistics(u"TQRoutlist"_s, u"OutListQ"_s, u"出货统计"_s, u"客户编号"_s,
                          u"QRLabel5"_s);
}

LayoutDefinition QRoutSortG() {
    return listing(u"TQRoutSortG"_s, u"OutSortQ"_s, rankingHeading(u"出货排行-按货品"_s), 64,
                   {runtimeText(u"QRLabel9"_s, u"商品编码"_s, u"gods_code"_s, 120),
                    runtimeText(u"QRLabel10"_s, u"商品名称"_s, u"gods_name"_s, 220),
                    runtimeText(u"QRLabel11"_s, u"规格"_s, u"gods_spec"_s, 110),
                    text(u"单位"_s, u"gods_unit"_s, 60), figure(u"单价"_s, u"unit_pric"_s, 68),
                    figure(u"数量"_s, u"sub_amou"_s, 68), figure(u"小计"_s, u"sub_tota"_s, 72)});
}

LayoutDefinition QRoutSortC() {
    return listing(
        u"TQRoutSortC"_s, u"OutSortCQ"_s, rankingHeading(u"出货排行-按客户"_s), 64,
        {text(u"公司编码"_s, u"comp_code"_s, 120), text(u"公司名称"_s, u"comp_name"_s, 260),
         text(u"负责人"_s, u"head_name"_s, 130), figure(u"数量"_s, u"sub_amou"_s, 100),
         figure(u"金额"_s, u"sub_tota"_s, 108)});
}

}  // namespace talvor::report::catalogue
