#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/core/IniFile.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

class IniFileTest : public ::testing::Test {
  protected:
    QString path(const QString& name = QStringLiteral("system.ini")) const {
        return dir.filePath(name);
    }
    void store(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray stored() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    IniFile ini{path()};
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsNotCreatedByReading) {
    EXPECT_EQ(ini.readString(u"billdata"_s, u"company_name"_s, u"无"_s), u"无"_s);
    EXPECT_EQ(ini.readInteger(u"pagesize"_s, u"page_width"_s, 210), 210);
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(IniFileTest, ChineseTextIsStoredAsGbk) {
    ini.writeString(u"billdata"_s, u"company_name"_s, u"禾岚商贸"_s);
    // 禾 BACC, 岚 E1B0, 商 C9CC, 贸 C3B3
    EXPECT_EQ(stored(), QByteArray("[billdata]\ncompany_name=\xBA\xCC\xE1\xB0\xC9\xCC\xC3\xB3\n"));
    EXPECT_EQ(ini.readString(u"billdata"_s, u"company_name"_s, {}), u"禾岚商贸"_s);
}

TEST_F(IniFileTest, CharactersOutsideGbkAreWrittenAsQuestionMarks) {
    ini.writeString(u"billdata"_s, u"bill_bottom"_s, u"谢谢😀!"_s);
    EXPECT_EQ(stored(), QByteArray("[billdata]\nbill_bottom=\xD0\xBB\xD0\xBB?!\n"));
}

TEST_F(IniFileTest, GbkWrittenByAnotherProgramReadsAsChinese) {
    store("[billdata]\r\nbill_bottom = \xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9 \r\n");
    EXPECT_EQ(ini.readString(u"billdata"_s, u"bill_bottom"_s, {}), u"欢迎光临"_s);
}

TEST_F(IniFileTest, SectionsAndKeysMatchInAnyLetterCase) {
    store("[BillData]\nCOMPANY_Name=Talvor\n[PAGESIZE]\nPage_Width=180\n");
    EXPECT_EQ(ini.readString(u"billdata"_s, u"company_name"_s, {}), u"Talvor"_s);
    EXPECT_EQ(ini.readInteger(u"pagesize"_s, u"page_width"_s, 0), 180);

    ini.writeString(u"BILLDATA"_s, u"company_name"_s, u"Other"_s);
    EXPECT_EQ(stored(), QByteArray("[BillData]\ncompany_name=Other\n[PAGESIZE]\nPage_Width=180\n"));
}

TEST_F(IniFileTest, KeysAreLookedUpOnlyInTheirOwnSection) {
    store("top=1\n[a]\nx=in a\n[b]\ny=in b\n");
    EXPECT_EQ(ini.readString(u"a"_s, u"y"_s, u"-"_s), u"-"_s);
    EXPECT_EQ(ini.readString(u"b"_s, u"x"_s, u"-"_s), u"-"_s);
    EXPECT_EQ(ini.readString(u"b"_s, u"top"_s, u"-"_s), u"-"_s);
    EXPECT_EQ(ini.readString(u"b"_s, u"y"_s, u"-"_s), u"in b"_s);
}

TEST_F(IniFileTest, AKeyWithAnEmptyValueIsNotMissing) {
    store("[billdata]\ncompany_name=\n");
    EXPECT_EQ(ini.readString(u"billdata"_s, u"company_name"_s, u"default"_s), QString());
    EXPECT_EQ(ini.readInteger(u"billdata"_s, u"company_name"_s, 7), 7);
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexadecimalAfter0x) {
    const struct {
        const char* stored;
        int expected;
    } cases[] = {
        {"297", 297},
        {" 42 ", 42},
        {"-5", -5},
        {"0x1A", 26},
        {"0X1f", 31},
        {"0x", -1},
        {"0xG1", -1},
        {"12mm", -1},
        {"1.5", -1},
        {"abc", -1},
        {"", -1},
        {"$1A", -1},
        {"2147483647", 2147483647},
        {"2147483648", -1},
        {"0xFFFFFFFF", -1},
    };
    for (const auto& c : cases) {
        store(QByteArray("[pagesize]\npage_width=") + c.stored + "\n");
        EXPECT_EQ(ini.readInteger(u"pagesize"_s, u"page_width"_s, -1), c.expected)
            << "stored: '" << c.stored << "'";
    }
}

TEST_F(IniFileTest, ReadsSeeEveryChangeToTheFile) {
    store("[billdata]\nline_count=5\n");
    EXPECT_EQ(ini.readInteger(u"billdata"_s, u"line_count"_s, 0), 5);
    store("[billdata]\nline_count=8\n");
    EXPECT_EQ(ini.readInteger(u"billdata"_s, u"line_count"_s, 0), 8);
}

TEST_F(IniFileTest, WriteTouchesOnlyItsKeyLine) {
    const QByteArray before =
        "; printing\r\n"
        "[billdata]\r\n"
        "company_name = Old\r\n"
        "bill_bottom=\xBB\xB6\xD3\xAD\r\n"
        "\r\n"
        "[nettype]\r\n"
        "datasource=/srv/talvor.mdb\r\n"
        "[misc]\r\n"
        "odd line without equals\r\n"
        "last=1";
    const struct {
        const char* section;
        const char* key;
        const char* value;
        QByteArray after;
    } cases[] = {
        {"billdata", "company_name", "  New  \t",
         "; printing\r\n[billdata]\r\ncompany_name=New\r\nbill_bottom=\xBB\xB6\xD3\xAD\r\n\r\n"
         "[nettype]\r\ndatasource=/srv/talvor.mdb\r\n[misc]\r\nodd line without equals\r\n"
         "last=1"},
        {"billdata", "line_count", "3",
         "; printing\r\n[billdata]\r\ncompany_name = Old\r\nbill_bottom=\xBB\xB6\xD3\xAD\r\n"
         "line_count=3\r\n\r\n[nettype]\r\ndatasource=/srv/talvor.mdb\r\n[misc]\r\n"
         "odd line without equals\r\nlast=1"},
        {"misc", "first", "x",
         "; printing\r\n[billdata]\r\ncompany_name = Old\r\nbill_bottom=\xBB\xB6\xD3\xAD\r\n"
         "\r\n[nettype]\r\ndatasource=/srv/talvor.mdb\r\n[misc]\r\nodd line without equals\r\n"
         "last=1\r\nfirst=x\r\n"},
        {"pagesize", "page_type", "A4",
         "; printing\r\n[billdata]\r\ncompany_name = Old\r\nbill_bottom=\xBB\xB6\xD3\xAD\r\n"
         "\r\n[nettype]\r\ndatasource=/srv/talvor.mdb\r\n[misc]\r\nodd line without equals\r\n"
         "last=1\r\n[pagesize]\r\npage_type=A4\r\n"},
    };
    for (const auto& c : cases) {
        store(before);
        ini.writeString(QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                        QString::fromLatin1(c.value));
        EXPECT_EQ(stored(), c.after) << c.section << "/" << c.key;
    }
}

TEST_F(IniFileTest, AKeyWrittenInOneSectionLeavesTheSameKeyOfAnotherAlone) {
    store("[a]\nk=1\n[b]\nk=2\n");
    ini.writeInteger(u"b"_s, u"k"_s, 20);
    ini.writeInteger(u"a"_s, u"k"_s, -10);
    EXPECT_EQ(stored(), QByteArray("[a]\nk=-10\n[b]\nk=20\n"));
}

// File permissions do not stop root, so the refusals come from the file system's shape.
TEST_F(IniFileTest, RefusedWriteNamesTheFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"system.ini"_s));
    QFile plain(path(u"plain"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("[billdata]\n");
    plain.close();

    const QString asDirectory = path();
    const QString belowAFile = path(u"plain/system.ini"_s);
    for (const QString& target : {asDirectory, belowAFile}) {
        try {
            IniFile(target).writeString(u"nettype"_s, u"datasource"_s, u"x"_s);
            ADD_FAILURE() << "no error writing " << target.toStdString();
        } catch (const IniWriteError& error) {
            EXPECT_EQ(error.message(), u"Unable to write to "_s + target);
            EXPECT_EQ(QString::fromUtf8(error.what()), error.message());
        }
        EXPECT_EQ(IniFile(target).readString(u"nettype"_s, u"datasource"_s, u"d"_s), u"d"_s);
    }
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    EXPECT_EQ(plain.readAll(), QByteArray("[billdata]\n"));
}

TEST_F(IniFileTest, ReadOnlyFileOrDirectoryIsNotWritten) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    store("[billdata]\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner));
    EXPECT_THROW(ini.writeString(u"billdata"_s, u"line_count"_s, u"1"_s), IniWriteError);
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(stored(), QByteArray("[billdata]\n"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"locked"_s));
    const QString locked = path(u"locked"_s);
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_THROW(IniFile(locked + u"/system.ini"_s).writeInteger(u"a"_s, u"b"_s, 1), IniWriteError);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
}  // namespace talvor
