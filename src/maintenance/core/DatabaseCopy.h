#pragma once

#include <QDateTime>
#include <QString>

#include "common/core/Progress.h"
#include "datamodel/Error.h"
#include "datamodel/db/Engine.h"

namespace talvor {

// A backup or a restore that did not happen; the text says why, for the line under the
// screen's own message.
class CopyError : public Error {
  public:
    using Error::Error;
};

inline const QString kBackupFileName = QStringLiteral("talvor.mdb");

// "talvor-YYYYMMDD-HHMMSS.mdb" in `directory` for a copy made at `when`, with a number added
// when a copy of that second is already there.
QString datedCopyPath(const QString& directory, const QDateTime& when);

// Copies the working database (the data module's engine, connected) into
// `directory`/talvor.mdb, reading one consistent state while other connections write: a file
// through SQLite's online backup, a server's tables into a new file of the same kind, so that
// one backup restores on either engine. A talvor.mdb already there is kept under its dated
// name. A cancelled or failed copy leaves the directory as it was. Returns the path of the new
// copy.
QString backupDatabase(db::Engine& working, const QString& directory,
                       Progress& progress = unwatched());

// Why `candidate` cannot be restored (it opens as no database, lacks this program's tables or
// fails the integrity check); empty when it can.
QString restoreRefusal(const QString& candidate);

// Where a restore from `candidate` keeps the working database's present content: beside the
// working file, or, for a server, which has no directory of its own, beside the candidate.
QString safetyCopyDirectory(const db::Engine& working, const QString& candidate);

// Replaces the content of the working database with that of `candidate`, after keeping its
// present content as a dated copy in safetyCopyDirectory(). `working` is the data module's
// engine, disconnected while this runs; its path() names the working database. The
// replacement is one transaction: a refused candidate, a failure or a cancel leaves the working
// database as it was (CopyError, Cancelled). Returns the path of the safety copy.
QString restoreDatabase(const QString& candidate, db::Engine& working,
                        Progress& progress = unwatched());

}  // namespace talvor
