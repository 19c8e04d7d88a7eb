#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/core/BillSettings.h"
#include "common/core/IniFile.h"
#include "common/core/Routines.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class BillSettingsTest : public ::testing::Test {
  protected:
    void store(const QByteArray& bytes) const {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray stored() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path = dir.filePath(u"system.ini"_s);
    const PrintSettingsEntry entry{u" 禾岚商贸 "_s, u"欢迎光临\t"_s, u" 12 "_s,
                                   u" 自定义"_s,    u"100"_s,        u"150"_s};
};

TEST_F(BillSettingsTest, WithoutAFileEverythingHasItsDefault) {
    BillSettings settings{u"old"_s, u"old"_s, 9, u"A4"_s, 1, 2};
    loadLoginSettings(settings, path);
    EXPECT_EQ(settings.companyName, QString());
    EXPECT_EQ(settings.billBottom, QString());
    EXPECT_EQ(settings.lineCount, 0);
    // The page members belong to basic settings only.
    EXPECT_EQ(settings.pageType, u"A4"_s);
    EXPECT_EQ(settings.pageWidth, 1);

    const PaperSettings paper = readPaperSettings(path);
    EXPECT_EQ(paper.pageType, u"A4"_s);
    EXPECT_EQ(paper.pageWidth, 210);
    EXPECT_EQ(paper.pageLength, 297);
    EXPECT_EQ(paper.lineCount, u"0"_s);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(BillSettingsTest, LoginRefusesALineCountThatIsNoInteger) {
    for (const char* lineCount : {"twelve", "", "12 rows", "1.5"}) {
        store(QByteArray("[billdata]\ncompany_name=Talvor\nline_count=") + lineCount + "\n");
        BillSettings settings;
        EXPECT_THROW(loadLoginSettings(settings, path), ConversionError) << lineCount;
    }
    // Every attempt reads the file again, so mending it is enough.
    store("[billdata]\ncompany_name=Talvor\nline_count=12\n");
    BillSettings settings;
    loadLoginSettings(settings, path);
    EXPECT_EQ(settings.companyName, u"Talvor"_s);
    EXPECT_EQ(settings.lineCount, 12);
}

TEST_F(BillSettingsTest, SavingSetsTheMembersAndWritesTheKeysInOrder) {
    BillSettings settings;
    savePrintSettings(entry, path, settings);

    EXPECT_EQ(settings.companyName, u"禾岚商贸"_s);
    EXPECT_EQ(settings.billBottom, u"欢迎光临"_s);
    EXPECT_EQ(settings.lineCount, 12);
    EXPECT_EQ(settings.pageType, u"自定义"_s);
    EXPECT_EQ(settings.pageWidth, 100);
    EXPECT_EQ(settings.pageLength, 150);

    const QByteArray gbk =
        "[billdata]\ncompany_name=\xBA\xCC\xE1\xB0\xC9\xCC\xC3\xB3\n"
        "bill_bottom=\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\nline_count=12\n"
        "[pagesize]\npage_type=\xD7\xD4\xB6\xA8\xD2\xE5\npage_width=100\n"
        "page_length=150\n";
    EXPECT_EQ(stored(), gbk);

    // The next run shows the saved paper in basic settings but loads only three members.
    const PaperSettings paper = readPaperSettings(path);
    EXPECT_EQ(paper.pageType, u"自定义"_s);
    EXPECT_EQ(paper.pageWidth, 100);
    EXPECT_EQ(paper.pageLength, 150);
    EXPECT_EQ(paper.lineCount, u"12"_s);
    BillSettings nextRun;
    loadLoginSettings(nextRun, path);
    EXPECT_EQ(nextRun.companyName, u"禾岚商贸"_s);
    EXPECT_EQ(nextRun.lineCount, 12);
    EXPECT_EQ(nextRun.pageType, QString());
}

TEST_F(BillSettingsTest, ARefusedWriteLeavesTheMembersSet) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"system.ini"_s));
    BillSettings settings;
    EXPECT_THROW(savePrintSettings(entry, path, settings), IniWriteError);
    EXPECT_EQ(settings.companyName, u"禾岚商贸"_s);
    EXPECT_EQ(settings.lineCount, 12);
    EXPECT_EQ(settings.pageType, u"自定义"_s);
    EXPECT_EQ(settings.pageLength, 150);
}

TEST_F(BillSettingsTest, ANumberThatIsNoIntegerStopsTheSaveBeforeAnything) {
    for (auto field : {&PrintSettingsEntry::lineCount, &PrintSettingsEntry::pageWidth,
                       &PrintSettingsEntry::pageLength}) {
        PrintSettingsEntry bad = entry;
        bad.*field = QString();
        BillSettings settings{u"old"_s, {}, 3, {}, 0, 0};
        EXPECT_THROW(savePrintSettings(bad, path, settings), ConversionError);
        EXPECT_EQ(settings.companyName, u"old"_s);
        EXPECT_EQ(settings.lineCount, 3);
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(BillSettingsTest, DataSourceIsWrittenTrimmedBesideTheOtherSettings) {
    store("[billdata]\nline_count=4\n");
    writeDataSource(path, u" /opt/禾岚/data/talvor.mdb\t"_s);
    EXPECT_EQ(stored(), QByteArray("[billdata]\nline_count=4\n[nettype]\n"
                                   "datasource=/opt/\xBA\xCC\xE1\xB0/data/talvor.mdb\n"));
}

}  // namespace
}  // namespace talvor
