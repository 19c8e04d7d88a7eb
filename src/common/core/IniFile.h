#pragma once

#include <QString>
#include <stdexcept>
#include <utility>

#include "datamodel/Error.h"

namespace talvor {

// A write the file system refused: "Unable to write to <file>".
class IniWriteError : public Error {
  public:
    explicit IniWriteError(const QString& fileName);
};

// An initialisation file in the Windows format, GBK on disk. Sections and keys match without
// regard to letter case. Every call opens the file and closes it again, so a change made by one
// screen is seen by the next read anywhere; a missing file, section or key gives the default.
class IniFile {
  public:
    explicit IniFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal digits, or hexadecimal after "0x"; any other value gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;

    // Rewrites only the key's line (trimmed value), adding the file, section or key as needed.
    // Throws IniWriteError when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value) const;
    void writeInteger(const QString& section, const QString& key, int value) const;

  private:
    QString path_;
};

}  // namespace talvor
