#include "common/core/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <optional>
#include <vector>

#include "common/core/Gbk.h"
#include "common/core/Routines.h"

namespace talvor {

namespace {

// One line of the file as stored, so that lines we do not touch are written back byte for byte.
struct Line {
    QByteArray bytes;
    QByteArray ending;  // "\r\n", "\n", or empty for a last line without one
};

struct Document {
    std::vector<Line> lines;

    // New lines follow the file's own line endings.
    QByteArray ending() const {
        for (const Line& line : lines)
            if (!line.ending.isEmpty()) return line.ending;
        return QByteArrayLiteral("\n");
    }
};

Line splitEnding(QByteArray raw) {
    const QByteArray ending = raw.endsWith("\r\n") ? QByteArrayLiteral("\r\n")
                              : raw.endsWith('\n') ? QByteArrayLiteral("\n")
                                                   : QByteArray();
    raw.chop(ending.size());
    return {raw, ending};
}

Document parse(const QByteArray& content) {
    Document document;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype newline = content.indexOf('\n', start);
        const qsizetype next = newline < 0 ? content.size() : newline + 1;
        document.lines.push_back(splitEnding(content.mid(start, next - start)));
        start = next;
    }
    return document;
}

QByteArray serialize(const Document& document) {
    QByteArray content;
    for (const Line& line : document.lines) content += line.bytes + line.ending;
    return content;
}

std::optional<QString> sectionName(const QString& text) {
    if (!text.startsWith(u'[')) return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return trimmedInput(text.mid(1, close < 0 ? -1 : close - 1));
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QString& text) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0 || text.startsWith(u';')) return std::nullopt;
    return KeyLine{trimmedInput(text.left(equals)), trimmedInput(text.mid(equals + 1))};
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Where a key is, or where it would go: the section's header line, the key's own line with its
// value, and the last line of the section that is not blank.
struct Position {
    std::optional<size_t> section;
    std::optional<size_t> key;
    QString value;
    size_t lastFilled = 0;
};

Position locate(const Document& document, const QString& section, const QString& key) {
    Position position;
    for (size_t i = 0; i < document.lines.size(); ++i) {
        const QString text = trimmedInput(fromGbk(document.lines[i].bytes));
        if (const auto name = sectionName(text)) {
            if (position.section) break;
            if (sameName(*name, section)) position.section = position.lastFilled = i;
            continue;
        }
        if (!position.section || text.isEmpty()) continue;
        position.lastFilled = i;
        const auto line = keyLine(text);
        if (line && sameName(line->key, key)) {
            position.key = i;
            position.value = line->value;
            break;
        }
    }
    return position;
}

void insertLine(Document& document, size_t at, const QByteArray& bytes) {
    const QByteArray ending = document.ending();
    if (at > 0 && document.lines[at - 1].ending.isEmpty()) document.lines[at - 1].ending = ending;
    document.lines.insert(document.lines.begin() + qsizetype(at), Line{bytes, ending});
}

void setKey(Document& document, const QString& section, const QString& key, const QString& value) {
    const QByteArray bytes = toGbk(key + u'=' + value);
    const Position position = locate(document, section, key);
    if (position.key) {
        document.lines[*position.key].bytes = bytes;
    } else if (position.section) {
        insertLine(document, position.lastFilled + 1, bytes);
    } else {
        insertLine(document, document.lines.size(), toGbk(u'[' + section + u']'));
        insertLine(document, document.lines.size(), bytes);
    }
}

// A missing file reads as empty; one that exists but cannot be read must not be overwritten.
std::optional<QByteArray> readContent(const QString& path) {
    QFile file(path);
    if (!file.exists()) return QByteArray();
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

// Written beside the old file and renamed over it, so a crash never leaves half a file.
// QSaveFile also refuses to replace a file that is not writable.
bool replaceContent(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

}  // namespace

IniWriteError::IniWriteError(const QString& fileName)
    : Error(QStringLiteral("Unable to write to %1").arg(fileName)) {}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const auto content = readContent(path_);
    if (!content) return defaultValue;
    const Position position = locate(parse(*content), section, key);
    return position.key ? position.value : defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    return parseInteger(readString(section, key, QString())).value_or(defaultValue);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
    const auto content = readContent(path_);
    if (!content) throw IniWriteError(path_);
    Document document = parse(*content);
    setKey(document, section, key, trimmedInput(value));
    if (!replaceContent(path_, serialize(document))) throw IniWriteError(path_);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) const {
    writeString(section, key, QString::number(value));
}

}  // namespace talvor
