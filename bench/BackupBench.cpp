#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BenchData.h"
#include "datamodel/DataModule.h"
#include "maintenance/core/DatabaseCopy.h"

namespace talvor::bench {
namespace {

void emptyDirectory(const QTemporaryDir& dir) {
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        QFile::remove(QDir(dir.path()).filePath(name));
}

void reportSize(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * QFile(benchDatabase()).size());
}

// Baseline: SQLite's online backup alone, all pages in one step into a new file.
void BM_SqliteBackupApi(benchmark::State& state) {
    const QByteArray source = QFile::encodeName(benchDatabase());
    QTemporaryDir dir;
    const QByteArray target = QFile::encodeName(QDir(dir.path()).filePath(kBackupFileName));
    for (auto _ : state) {
        sqlite3 *from = nullptr, *to = nullptr;
        sqlite3_open_v2(source.constData(), &from, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_open_v2(target.constData(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
        sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
        sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        sqlite3_close(to);
        sqlite3_close(from);
        state.PauseTiming();
        emptyDirectory(dir);
        state.ResumeTiming();
    }
    reportSize(state);
}

// The program's backup of the file engine (argument 0): in steps under one read transaction,
// into a temporary name, the former copy kept under its date. On a server on this machine
// (argument 1, under scripts/with-postgres): every table read in one snapshot into a new file.
//   scripts/with-postgres ./build/talvor_bench --benchmark_filter=Backup
void BM_BackupDatabase(benchmark::State& state) {
    const bool server = state.range(0) == 1;
    if (server && benchServer().isEmpty()) {
        state.SkipWithError("TALVOR_TEST_SERVER names no server (run under scripts/with-postgres)");
        return;
    }
    const std::unique_ptr<TFrmDataMod> module =
        server ? serverModule(serverBenchDatabase()) : fileModule(benchDatabase());
    QTemporaryDir dir;
    for (auto _ : state) {
        backupDatabase(module->AdoConn(), dir.path());
        state.PauseTiming();
        emptyDirectory(dir);
        state.ResumeTiming();
    }
    reportSize(state);
}

BENCHMARK(BM_SqliteBackupApi)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BackupDatabase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace talvor::bench
