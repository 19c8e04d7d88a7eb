#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/core/ProgramDir.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

TEST(ProgramDir, APointedDirectoryHoldsTheFilesUntilTheChoiceReturns) {
    setProgramDir(QString());
    const QString chosen = programDir();
    EXPECT_EQ(iniPath(), chosen + u"/system.ini"_s);

    setProgramDir(u"/srv/禾岚"_s);
    EXPECT_EQ(databasePath(), u"/srv/禾岚/data/talvor.mdb"_s);
    EXPECT_EQ(iniPath(), u"/srv/禾岚/system.ini"_s);

    setProgramDir(QString());
    EXPECT_EQ(programDir(), chosen);
}

// An installed program keeps each user's data in the user's data directory; a copy in a
// folder of its own keeps it beside itself.
TEST(ProgramDir, AnInstalledProgramUsesTheUsersDataDirectory) {
    QTemporaryDir copy;
    const QString dataHome = u"/home/小王/.local/share"_s;
    const QString missing = copy.filePath(u"gone"_s);
    const std::pair<QString, QString> cases[] = {
        {copy.path(), copy.path()},
        {u"/usr/bin"_s, dataHome + u"/talvor"_s},
        {u"/usr/local/bin/"_s, dataHome + u"/talvor"_s},
        {missing, dataHome + u"/talvor"_s},
    };
    for (const auto& [executableDir, chosen] : cases)
        EXPECT_EQ(chooseProgramDir(executableDir, dataHome), chosen) << executableDir.toStdString();
}

TEST(ProgramDir, AReadOnlyDirectoryIsNotUsed) {
    QTemporaryDir copy;
    ASSERT_TRUE(QFile::setPermissions(copy.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (QFileInfo(copy.path()).isWritable()) GTEST_SKIP() << "this user writes anywhere";
    EXPECT_EQ(chooseProgramDir(copy.path(), u"/home/u/.local/share"_s),
              u"/home/u/.local/share/talvor"_s);
}

}  // namespace
}  // namespace talvor
