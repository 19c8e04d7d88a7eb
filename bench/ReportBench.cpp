#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchData.h"
#include "datamodel/DataModule.h"
#include "reports/core/ReportLayout.h"
#include "reports/core/ReportPainter.h"

namespace talvor::bench {
namespace {

using namespace Qt::StringLiterals;

// The stock report of 10,000 ledger rows, the list the stock query prints, with every goods
// column looked up from the 100,000 goods.
struct StockReport {
    TFrmDataMod data;
    report::ReportLayouts layouts{data};

    StockReport() {
        data.connectTo(benchDatabase());
        data.StoreQ->setSql(
            u"select top 10000 a.gods_code,b.gods_name,a.gods_amou,a.cost_pric,"
            u"a.gods_amou*a.cost_pric from storemain a left outer join goods b "
            u"on b.gods_code=a.gods_code where trim(a.gods_code)<>'' order by a.gods_code"_s);
        data.StoreQ->open();
        layouts.Rptstore->setCaption(u"zsl"_s, u"1234567"_s);
        layouts.Rptstore->setCaption(u"zcb"_s, u"98765432.1"_s);
    }
};

void BM_PrepareStockReport(benchmark::State& state) {
    StockReport s;
    int pages = 0;
    for (auto _ : state) pages = s.layouts.Rptstore->prepare().pageCount();
    state.counters["rows"] = s.data.StoreQ->recordCount();
    state.counters["pages"] = pages;
}

void BM_ExportStockReportPdf(benchmark::State& state) {
    StockReport s;
    const report::PreparedReport prepared = s.layouts.Rptstore->prepare();
    QTemporaryDir dir;
    for (auto _ : state) report::exportPdf(prepared, dir.filePath(u"stock.pdf"_s));
    state.counters["pages"] = prepared.pageCount();
}

BENCHMARK(BM_PrepareStockReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportStockReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvor::bench
