#include <gtest/gtest.h>

#include <QAbstractTableModel>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/core/TableExport.h"
#include "datamodel/Error.h"
#include "support/XlsxSheet.h"

namespace talvor {
namespace {

// Shown text and value apart, as a grid's model gives them: the number shown rounded, the
// date in the local form.
struct Shown {
    QVariant value;
    QString text;
};

class GridLikeModel final : public QAbstractTableModel {
  public:
    QStringList titles;
    std::vector<std::vector<Shown>> rows;

    int rowCount(const QModelIndex& = {}) const override { return int(rows.size()); }
    int columnCount(const QModelIndex& = {}) const override { return int(titles.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        const Shown& cell = rows[size_t(index.row())][size_t(index.column())];
        if (role == Qt::DisplayRole) return cell.text;
        return role == Qt::EditRole ? cell.value : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation, int role) const override {
        return role == Qt::DisplayRole ? QVariant(titles.value(section)) : QVariant();
    }
};

Shown text(const QString& t) { return {t, t}; }

class TableExportTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    GridLikeModel model;

    TableExportTest() {
        model.titles = {QStringLiteral("货品编码"), QStringLiteral("名称"), QStringLiteral("单价"),
                        QStringLiteral("日期"), QStringLiteral("隐藏")};
        model.rows = {
            {text(QStringLiteral("001")),
             text(QStringLiteral("华东,\"特级\"\n茶")),
             {2.456, QStringLiteral("2.46")},
             {QDate(2024, 3, 5), QStringLiteral("2024/3/5")},
             text(QStringLiteral("x"))},
            {{QString(), QString()},
             text(QStringLiteral("绿茶")),
             {qint64(-7), QStringLiteral("-7")},
             {QDateTime(QDate(2024, 12, 31), QTime(23, 5, 9)),
              QStringLiteral("2024/12/31 23:05:09")},
             text(QStringLiteral("y"))},
        };
    }

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files); }

    // A model of `rows` rows: code, name and amount, as large grids hold them.
    void fill(int rows) {
        model.titles = {QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("金额")};
        model.rows.clear();
        for (int r = 0; r < rows; ++r)
            model.rows.push_back({text(QString::number(r)),
                                  text(QStringLiteral("货品")),
                                  {r * 0.5, QString::number(r * 0.5)}});
    }
};

TEST_F(TableExportTest, CsvIsUtf8WithByteOrderMarkAndQuotesWhatMustBe) {
    exportTable(model, {0, 1, 2, 3}, path("a.csv"), ExportFormat::Csv);
    const QByteArray expected =
        QByteArray("\xEF\xBB\xBF") + QStringLiteral(
                                         "货品编码,名称,单价,日期\r\n"
                                         "001,\"华东,\"\"特级\"\"\n茶\",2.46,2024-03-05\r\n"
                                         ",绿茶,-7,2024-12-31 23:05:09\r\n")
                                         .toUtf8();
    EXPECT_EQ(QString::fromUtf8(read(path("a.csv"))), QString::fromUtf8(expected));
    EXPECT_TRUE(read(path("a.csv")).startsWith("\xEF\xBB\xBF"));
}

TEST_F(TableExportTest, XlsxKeepsNumbersDatesAndTextsApart) {
    exportTable(model, {1, 0, 2, 3}, path("a.xlsx"), ExportFormat::Xlsx);
    const test::XlsxSheet sheet(path("a.xlsx"));
    EXPECT_EQ(sheet.dimension, QStringLiteral("A1:D3"));
    EXPECT_EQ(sheet.text(QStringLiteral("A1")), QStringLiteral("名称"));
    EXPECT_EQ(sheet.text(QStringLiteral("D1")), QStringLiteral("日期"));
    EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("华东,\"特级\"\n茶"));
    EXPECT_EQ(sheet.text(QStringLiteral("B2")), QStringLiteral("001")) << "a code stays text";
    EXPECT_NE(sheet.type(QStringLiteral("B2")), QStringLiteral("n"));
    EXPECT_EQ(sheet.type(QStringLiteral("C2")), QStringLiteral("n"));
    EXPECT_EQ(sheet.text(QStringLiteral("C2")), QStringLiteral("2.46")) << "the precision shown";
    EXPECT_EQ(sheet.text(QStringLiteral("C3")), QStringLiteral("-7"));
    // Excel counts days from 1899-12-30.
    EXPECT_EQ(sheet.type(QStringLiteral("D2")), QStringLiteral("n"));
    EXPECT_EQ(sheet.text(QStringLiteral("D2")).toDouble(), 45356.0);
    EXPECT_NEAR(sheet.text(QStringLiteral("D3")).toDouble(),
                45657 + (23 * 3600 + 5 * 60 + 9) / 86400.0, 1e-9);
    EXPECT_NE(sheet.cells.at(QStringLiteral("D2")).style, 0);
    EXPECT_TRUE(sheet.styles.contains(QStringLiteral("yyyy-mm-dd")));
    EXPECT_EQ(sheet.cells.count(QStringLiteral("B3")), 0u) << "an empty value writes no cell";
}

TEST_F(TableExportTest, HundredThousandRowsInBothFormats) {
    fill(100000);
    exportTable(model, {0, 1, 2}, path("big.csv"), ExportFormat::Csv);
    const QList<QByteArray> lines = read(path("big.csv")).split('\n');
    ASSERT_EQ(lines.size(), 100002) << "title, rows, and the empty piece after the last CR LF";
    EXPECT_EQ(lines[100000], QStringLiteral("99999,货品,49999.5\r").toUtf8());

    exportTable(model, {0, 1, 2}, path("big.xlsx"), ExportFormat::Xlsx);
    const test::XlsxSheet sheet(path("big.xlsx"));
    EXPECT_EQ(sheet.dimension, QStringLiteral("A1:C100001"));
    EXPECT_EQ(sheet.text(QStringLiteral("A100001")), QStringLiteral("99999"));
    EXPECT_EQ(sheet.text(QStringLiteral("C100001")), QStringLiteral("49999.5"));
}

// A progress that stops the work after a number of rows, as the cancel button does.
class StopAfter final : public Progress {
  public:
    explicit StopAfter(long long rows) : rows_(rows) {}
    void setLabel(const QString&) override {}
    void advance(long long done, long long) override {
        if (done >= rows_) throw Cancelled();
    }

  private:
    long long rows_;
};

TEST_F(TableExportTest, CancelOrFailureLeavesTheFormerFileAndNoTemporary) {
    fill(1000);
    for (const auto format : {ExportFormat::Csv, ExportFormat::Xlsx}) {
        const QString target = path("kept");
        QFile former(target);
        ASSERT_TRUE(former.open(QIODevice::WriteOnly));
        former.write("former");
        former.close();

        StopAfter stop(500);
        EXPECT_THROW(exportTable(model, {0, 1, 2}, target, format, stop), Cancelled);
        EXPECT_EQ(read(target), QByteArray("former"));
        EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("kept")});

        exportTable(model, {0, 1, 2}, target, format);
        EXPECT_NE(read(target), QByteArray("former")) << "a finished export replaces it";
        QFile::remove(target);
    }
}

// Reports a number of rows it does not hold: enough to pass Excel's limit.
class TallModel final : public QAbstractTableModel {
  public:
    int rowCount(const QModelIndex& = {}) const override { return 1048576; }
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
};

TEST_F(TableExportTest, UnwritableTargetsAreReportedWithTheirName) {
    TallModel tall;
    QDir(dir.path()).mkdir(QStringLiteral("folder.xlsx"));
    const struct {
        const QAbstractItemModel& model;
        QString target;
        ExportFormat format;
        QString says;
    } cases[] = {
        {model, path("missing/a.csv"), ExportFormat::Csv, QStringLiteral("a.csv")},
        {model, path("folder.xlsx"), ExportFormat::Xlsx, QStringLiteral("folder.xlsx")},
        {tall, path("tall.xlsx"), ExportFormat::Xlsx, QStringLiteral("1048575")},
    };
    for (const auto& c : cases) {
        try {
            exportTable(c.model, {0}, c.target, c.format);
            ADD_FAILURE() << c.target.toStdString() << " was written";
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().contains(c.says)) << e.message().toStdString();
        }
        EXPECT_FALSE(QFileInfo(c.target).isFile());
    }
    EXPECT_EQ(filesInDir(), QStringList{});
}

}  // namespace
}  // namespace talvor
