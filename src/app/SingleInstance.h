#pragma once

#include <QLockFile>
#include <QString>

namespace talvor {

// Keeps a second copy of the program from running for the same user. The guard is a lock file
// that names its process, so a copy that crashed leaves nothing that blocks the next start.
class SingleInstanceGuard {
  public:
    // The guard "talvor" in the user's runtime directory.
    SingleInstanceGuard();
    explicit SingleInstanceGuard(const QString& lockPath);

    // True when this process now holds the guard, false when another running copy does.
    bool acquire();

    static QString defaultLockPath();

  private:
    QLockFile lock_;
};

}  // namespace talvor
