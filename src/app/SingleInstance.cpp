#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace talvor {

QString SingleInstanceGuard::defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/talvor.lock");
}

SingleInstanceGuard::SingleInstanceGuard() : SingleInstanceGuard(defaultLockPath()) {}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath) : lock_(lockPath) {
    // Held for the whole run: only a dead owner makes the file stale, never its age.
    lock_.setStaleLockTime(0);
}

bool SingleInstanceGuard::acquire() { return lock_.isLocked() || lock_.tryLock(0); }

}  // namespace talvor
