#pragma once

#include <QString>

namespace talvor {

// The directory that holds system.ini and data/talvor.mdb. A copy of the program in a folder
// of its own (or the build folder) keeps them beside itself; an installed program cannot, so
// each user keeps them in $XDG_DATA_HOME/talvor. A test may point it elsewhere.
QString programDir();

// The choice made from the executable's directory and the user's data directory
// ($XDG_DATA_HOME): the executable's directory when the program may write there and it is not
// part of the system's /usr tree, which belongs to the package manager even for root.
QString chooseProgramDir(const QString& executableDir, const QString& userDataDir);

// An empty directory returns to the choice above.
void setProgramDir(const QString& dir);

QString databasePath();
QString iniPath();

}  // namespace talvor
