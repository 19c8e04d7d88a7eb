#include "common/core/ProgramDir.h"

#include <QCoreApplication>

namespace talvor {

namespace {

QString& overriddenDir() {
    static QString dir;
    return dir;
}

}  // namespace

QString programDir() {
    const QString& dir = overriddenDir();
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

void setProgramDir(const QString& dir) { overriddenDir() = dir; }

QString databasePath() { return programDir() + QStringLiteral("/data/talvor.mdb"); }

QString iniPath() { return programDir() + QStringLiteral("/system.ini"); }

}  // namespace talvor
