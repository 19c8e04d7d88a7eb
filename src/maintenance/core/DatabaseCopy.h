#pragma once

#include <QDateTime>
#include <QString>

#include "common/core/Progress.h"
#include "datamodel/Error.h"

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

// Copies the database at `source` into `directory`/talvor.mdb through SQLite's online backup,
// which reads one consistent state even while other connections write. A talvor.mdb already
// there is kept under its dated name. Progress counts pages; a cancelled copy leaves the
// directory as it was. Returns the path of the new copy.
QString backupDatabase(const QString& source, const QString& directory,
                       Progress& progress = unwatched());

// Why `candidate` cannot be restored (it opens as no database, lacks this program's tables or
// fails the integrity check); empty when it can.
QString restoreRefusal(const QString& candidate);

// Replaces the content of the working database with that of `candidate`, after keeping the
// working database's present content as a dated copy beside it. The working database must
// not be open in this program while this runs. Throws CopyError, leaving the working
// database untouched, when the candidate is refused or the copy fails. Returns the path of
// the safety copy.
QString restoreDatabase(const QString& candidate, const QString& working,
                        Progress& progress = unwatched());

}  // namespace talvor
