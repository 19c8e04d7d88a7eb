#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchData.h"

int main(int argc, char** argv) {
    // Reports measure text and screens are built, which needs a widget application; no display
    // is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (talvor::bench::runAsCounter()) return 0;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
