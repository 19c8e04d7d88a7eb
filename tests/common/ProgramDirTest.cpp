#include <gtest/gtest.h>

#include <QCoreApplication>

#include "common/core/ProgramDir.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

TEST(ProgramDir, IsTheExecutablesDirectoryUnlessPointedElsewhere) {
    setProgramDir(QString());
    EXPECT_EQ(programDir(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(iniPath(), QCoreApplication::applicationDirPath() + u"/system.ini"_s);

    setProgramDir(u"/srv/禾岚"_s);
    EXPECT_EQ(databasePath(), u"/srv/禾岚/data/talvor.mdb"_s);
    EXPECT_EQ(iniPath(), u"/srv/禾岚/system.ini"_s);

    setProgramDir(QString());
    EXPECT_EQ(programDir(), QCoreApplication::applicationDirPath());
}

}  // namespace
}  // namespace talvor
