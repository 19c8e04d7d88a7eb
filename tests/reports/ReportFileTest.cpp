#include <gtest/gtest.h>

#include <QBuffer>
#include <QDataStream>
#include <QTemporaryDir>

#include "reports/core/ReportFile.h"
#include "reports/core/ReportLayout.h"
#include "support/TestDatabase.h"

namespace talvor::report {
namespace {

using namespace Qt::StringLiterals;
using test::TestDatabase;

class ReportFileTest : public ::testing::Test {
  protected:
    TestDatabase t;
    ReportLayouts layouts{*t.module};
    QTemporaryDir dir;

    // A stock report of three pages with captions set and a figure too wide for its cell.
    PreparedReport stockReport() {
        t.exec(
            u"insert into goods (gods_code,gods_name,gods_unit) values ('A001','螺丝刀','把')"_s);
        for (int i = 0; i < 100; ++i)
            t.exec(u"insert into storemain (gods_code,gods_amou,cost_pric) values (:c,:a,:p)"_s,
                   {{u"c"_s, u"A%1"_s.arg(i + 1, 3, 10, QChar(u'0'))},
                    {u"a"_s, i * 1.5},
                    {u"p"_s, i == 7 ? 123456789.12 : 2.0}});
        t.module->StoreQ->setSql(u"select * from storemain order by gods_code"_s);
        t.module->StoreQ->open();
        layouts.Rptstore->setCaption(u"zsl"_s, u"7425"_s);
        layouts.Rptstore->setPaperCustom(200, 150);
        return layouts.Rptstore->prepare();
    }

    QByteArray bytesOf(const PreparedReport& r) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        writeReport(r, buffer);
        return buffer.data();
    }
    // A report header whose font table claims more entries than the file could hold.
    static QByteArray headerWithFontCount(qint32 count) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QDataStream out(&buffer);
        out.setVersion(QDataStream::Qt_6_0);
        out.writeRawData("TALVOR-REPORT", 14);
        out << quint16(1) << u"Rptstore"_s << quint8(0) << QSizeF(210, 297)
            << QMarginsF(10, 10, 10, 10) << count;
        return buffer.data();
    }
    PreparedReport fromBytes(QByteArray bytes) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return readReport(buffer);
    }
};

TEST_F(ReportFileTest, SavedReportLoadsBackIdentical) {
    const PreparedReport r = stockReport();
    ASSERT_GE(r.pageCount(), 3);
    const QString path = dir.filePath(u"库存.rpt"_s);
    saveReport(r, path);
    const PreparedReport loaded = loadReport(path);
    EXPECT_EQ(loaded, r);
    EXPECT_EQ(loaded.page, PageSetup::custom(200, 150));
    EXPECT_TRUE(loaded.pages[0].textList().contains(u"螺丝刀"_s));
}

TEST_F(ReportFileTest, RefusesFilesThatAreNotWholeReportsOfThisVersion) {
    const PreparedReport r = stockReport();
    const QByteArray good = bytesOf(r);
    QByteArray newer = good;
    newer[15] = char(newer[15] + 1);
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"foreign", QByteArray("%PDF-1.4 not a report")},
        {"header only", good.left(16)},
        {"cut in the middle", good.left(good.size() / 2)},
        {"last byte missing", good.left(good.size() - 1)},
        {"newer version", newer},
        {"count beyond the file", headerWithFontCount(0x7fffffff)},
    };
    for (const auto& [name, bytes] : cases) EXPECT_THROW(fromBytes(bytes), ReportError) << name;
    EXPECT_EQ(fromBytes(good), r);
}

TEST_F(ReportFileTest, UnwritableOrMissingPathIsAReportError) {
    const PreparedReport r = stockReport();
    EXPECT_THROW(saveReport(r, dir.filePath(u"no/such/dir/x.rpt"_s)), ReportError);
    EXPECT_THROW(loadReport(dir.filePath(u"missing.rpt"_s)), ReportError);
}

}  // namespace
}  // namespace talvor::report
