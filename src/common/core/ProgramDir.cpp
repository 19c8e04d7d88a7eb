#include "common/core/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace talvor {

namespace {

QString& overriddenDir() {
    static QString dir;
    return dir;
}

bool isBelowUsr(const QString& dir) {
    const QString path = QDir::cleanPath(dir);
    return path == u"/usr" || path.startsWith(u"/usr/");
}

}  // namespace

QString chooseProgramDir(const QString& executableDir, const QString& userDataDir) {
    if (QFileInfo(executableDir).isWritable() && !isBelowUsr(executableDir)) return executableDir;
    return QDir::cleanPath(userDataDir + QStringLiteral("/talvor"));
}

QString programDir() {
    const QString& dir = overriddenDir();
    if (!dir.isEmpty()) return dir;
    return chooseProgramDir(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

void setProgramDir(const QString& dir) { overriddenDir() = dir; }

QString databasePath() { return programDir() + QStringLiteral("/data/talvor.mdb"); }

QString iniPath() { return programDir() + QStringLiteral("/system.ini"); }

}  // namespace talvor
