#include <benchmark/benchmark.h>

#include <QPushButton>

#include "BenchData.h"
#include "bills/BillScreen.h"
#include "datamodel/DataModule.h"
#include "datamodel/Rights.h"
#include "ui/Messages.h"

namespace talvor::bench {
namespace {

struct Counter {
    TFrmDataMod module;
    ScriptedMessages answers;
    Counter() {
        module.connectTo(writableBenchDatabase());
        for (QString& r : CurrentUser().rights) r = QString(kModuleCount, u'1');
    }
};

// The purchase screen opened on a day with bills, the goods not yet read (the first bill screen
// of a run) and already read (every later one).
void BM_OpenPurchaseScreen(benchmark::State& state) {
    Counter counter;
    const bool goodsRead = state.range(0) == 1;
    if (goodsRead) counter.module.GoodsQ->open();
    for (auto _ : state) {
        state.PauseTiming();
        if (!goodsRead) counter.module.GoodsQ->close();
        state.ResumeTiming();
        TFrmIn screen;
        benchmark::DoNotOptimize(counter.module.InGoodsQ->recordCount());
    }
    state.SetLabel(goodsRead ? "goods already read" : "goods read by the screen");
}

void BM_SavePurchase50Lines(benchmark::State& state) {
    Counter counter;
    counter.module.GoodsQ->open();
    TFrmIn screen;
    auto* save = screen.findChild<QPushButton*>(QStringLiteral("cmd_save"));
    Dataset& lines = *counter.module.InGoodsQ;
    int bill = 0;
    for (auto _ : state) {
        state.PauseTiming();
        screen.cmd_addClick();
        for (int i = 0; i < 50; ++i) {
            if (i > 0) lines.append();
            lines.setValue(QStringLiteral("gods_code"), goodsCode((bill * 50 + i * 613) % kGoods));
            lines.setValue(QStringLiteral("unit_pric"), 9.5);
            lines.setValue(QStringLiteral("sub_amou"), 2.0);
            lines.post();
        }
        ++bill;
        state.ResumeTiming();
        save->click();
        if (screen.mode() != ScreenMode::Null) state.SkipWithError("the bill was not saved");
    }
}

BENCHMARK(BM_OpenPurchaseScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SavePurchase50Lines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace talvor::bench
