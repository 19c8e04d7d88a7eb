#pragma once

#include <QString>

namespace talvor {

// The directory that holds system.ini and data/talvor.mdb: the executable's own directory,
// unless a test has pointed it elsewhere.
QString programDir();

// An empty directory returns to the executable's directory.
void setProgramDir(const QString& dir);

QString databasePath();
QString iniPath();

}  // namespace talvor
