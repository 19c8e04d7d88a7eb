#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchData.h"
#include "common/core/TableExport.h"
#include "datamodel/DataModule.h"
#include "datamodel/DatasetModel.h"

namespace talvor::bench {
namespace {

// 100,000 purchase lines with their bill dates and goods names: texts, a date and numbers,
// as a statistics grid shows them.
const char* const kLines =
    "select l.bill_no,m.bill_date,l.gods_code,g.gods_name,l.sub_amou,l.unit_pric "
    "from ingoods l join inmain m on m.bill_no=l.bill_no "
    "left join goods g on g.gods_code=l.gods_code where l.in_id<=100000";

struct Grid {
    TFrmDataMod module;
    std::unique_ptr<DatasetModel> model;
    QTemporaryDir dir;
    Grid() {
        module.connectTo(benchDatabase());
        module.TempQ->openWith(QString::fromLatin1(kLines));
        std::vector<GridColumn> columns;
        for (const char* f :
             {"bill_no", "bill_date", "gods_code", "gods_name", "sub_amou", "unit_pric"})
            columns.push_back({QLatin1String(f), QStringLiteral("标题")});
        model = std::make_unique<DatasetModel>(module.TempQ, columns);
    }
};

// The rows the grid already holds go to the file; reading them from the database is not part
// of an export.
void exportGrid(benchmark::State& state, ExportFormat format, const char* name) {
    Grid grid;
    const QString path = grid.dir.filePath(QLatin1String(name));
    for (auto _ : state) exportTable(*grid.model, {0, 1, 2, 3, 4, 5}, path, format);
    state.counters["rows"] = grid.model->rowCount();
}

void BM_ExportXlsx100k(benchmark::State& state) { exportGrid(state, ExportFormat::Xlsx, "a.xlsx"); }
void BM_ExportCsv100k(benchmark::State& state) { exportGrid(state, ExportFormat::Csv, "a.csv"); }

// Raw SQLite and the C writers for the baselines: the same rows, stepped and written at once.
template <typename Write>
void rawExport(benchmark::State& state, Write write) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(benchDatabase().toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    QTemporaryDir dir;
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, kLines, -1, &stmt, nullptr);
        write(stmt, dir);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
}

const char* text(sqlite3_stmt* stmt, int i) {
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
}

void BM_RawSqliteXlsx100k(benchmark::State& state) {
    rawExport(state, [](sqlite3_stmt* stmt, QTemporaryDir& dir) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook* book = workbook_new_opt(
            QFile::encodeName(dir.filePath(QStringLiteral("raw.xlsx"))).constData(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        lxw_format* date = workbook_add_format(book);
        format_set_num_format(date, "yyyy-mm-dd");
        lxw_row_t row = 1;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            worksheet_write_string(sheet, row, 0, text(stmt, 0), nullptr);
            lxw_datetime d{};
            std::sscanf(text(stmt, 1), "%d-%d-%d", &d.year, &d.month, &d.day);
            worksheet_write_datetime(sheet, row, 1, &d, date);
            worksheet_write_string(sheet, row, 2, text(stmt, 2), nullptr);
            worksheet_write_string(sheet, row, 3, text(stmt, 3) ? text(stmt, 3) : "", nullptr);
            worksheet_write_number(sheet, row, 4, sqlite3_column_double(stmt, 4), nullptr);
            worksheet_write_number(sheet, row, 5, sqlite3_column_double(stmt, 5), nullptr);
            ++row;
        }
        workbook_close(book);
    });
}

void BM_RawSqliteCsv100k(benchmark::State& state) {
    rawExport(state, [](sqlite3_stmt* stmt, QTemporaryDir& dir) {
        FILE* f = std::fopen(QFile::encodeName(dir.filePath(QStringLiteral("raw.csv"))).constData(),
                             "wb");
        std::fputs("\xEF\xBB\xBF", f);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            std::fprintf(f, "%s,%.10s,%s,%s,%g,%g\r\n", text(stmt, 0), text(stmt, 1), text(stmt, 2),
                         text(stmt, 3) ? text(stmt, 3) : "", sqlite3_column_double(stmt, 4),
                         sqlite3_column_double(stmt, 5));
        std::fclose(f);
    });
}

}  // namespace

BENCHMARK(BM_RawSqliteXlsx100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportXlsx100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawSqliteCsv100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportCsv100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace talvor::bench
