// Start-up to the login dialog: process start until talvor reports its login dialog shown,
// against a Qt program that only shows an empty dialog, measured in the same run. The target
// is under 300 ms on a warm machine; the yardstick shows what Qt itself costs here.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "datamodel/db/Schema.h"

namespace talvor::bench {
namespace {

// A fresh program directory holding a copy of talvor and a database, so that the run goes
// straight to the login, and a runtime directory of its own for the single-instance guard.
struct ProgramCopy {
    QTemporaryDir programDir;
    QTemporaryDir runtimeDir;
    QString program = programDir.filePath(QStringLiteral("talvor"));

    ProgramCopy() {
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/talvor"), program);
        QDir(programDir.path()).mkpath(QStringLiteral("data"));
        db::createDatabase(
            programDir.filePath(QStringLiteral("data/talvor.mdb")),
            {QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("secret")});
    }
};

ProgramCopy& programCopy() {
    static ProgramCopy copy;
    return copy;
}

// Starts the program and waits for the line it prints once its dialog is shown; the time
// from start to line, or a negative time when the line never came.
double secondsUntil(const QString& program, const QByteArray& line) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TALVOR_REPORT_STARTUP"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), programCopy().runtimeDir.path());
    process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    QByteArray out;
    while (!out.contains(line) && process.waitForReadyRead(10000))
        out += process.readAllStandardOutput();
    const double seconds = clock.nsecsElapsed() / 1e9;
    process.kill();
    process.waitForFinished();
    return out.contains(line) ? seconds : -1;
}

void measure(benchmark::State& state, const QString& program, const QByteArray& line) {
    for (auto _ : state) {
        const double seconds = secondsUntil(program, line);
        if (seconds < 0) {
            state.SkipWithError("the program never showed its dialog");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartupToLoginDialog(benchmark::State& state) {
    measure(state, programCopy().program, "talvor: login dialog shown");
}

void BM_StartupToEmptyQtDialog(benchmark::State& state) {
    measure(state, QCoreApplication::applicationDirPath() + QStringLiteral("/talvor_emptydialog"),
            "empty dialog shown");
}

BENCHMARK(BM_StartupToEmptyQtDialog)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_StartupToLoginDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace talvor::bench
