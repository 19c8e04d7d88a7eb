#include "datamodel/db/JetDialect.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <vector>

namespace talvor::db {

namespace {

enum class Tok { Space, Word, Number, Text, Ident, Param, Punct };

struct Token {
    Tok kind;
    QString text;
};

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

QString singleQuoted(const QString& body) {
    QString out = body;
    out.replace(u'\'', QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

// Reads a literal delimited by `quote`, where a doubled quote stands for one. Returns the
// body and moves i past the closing quote (or to the end when it is missing).
QString readQuoted(const QString& s, qsizetype& i, QChar quote, bool& closed) {
    QString body;
    ++i;
    closed = false;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                body += quote;
                i += 2;
                continue;
            }
            ++i;
            closed = true;
            return body;
        }
        body += s[i++];
    }
    return body;
}

// A #date# literal in the form dates are stored in: "yyyy-MM-dd", with " HH:mm:ss" when it
// has a time of day. The old engine read month/day/year; a text that is no date stays as
// written, so the engine refuses it where a date is needed.
QString jetDate(const QString& body) {
    const QString text = body.trimmed();
    const qsizetype blank = text.indexOf(u' ');
    const QString datePart = blank < 0 ? text : text.left(blank);
    const QString timePart = blank < 0 ? QString() : text.mid(blank + 1).trimmed();
    QDate date;
    for (const QString& format :
         {QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy/M/d"), QStringLiteral("M/d/yyyy")}) {
        date = QDate::fromString(datePart, format);
        if (date.isValid()) break;
    }
    if (!date.isValid()) return text;
    if (timePart.isEmpty()) return date.toString(Qt::ISODate);
    QTime time;
    for (const QString& format : {QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")}) {
        time = QTime::fromString(timePart, format);
        if (time.isValid()) break;
    }
    if (!time.isValid()) return text;
    if (time == QTime(0, 0)) return date.toString(Qt::ISODate);
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::vector<Token> tokenize(const QString& s, SqlDialect dialect) {
    std::vector<Token> out;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < s.size() && s[i].isSpace()) ++i;
            out.push_back({Tok::Space, s.mid(start, i - start)});
        } else if (c == u'\'') {
            bool closed;
            const QString body = readQuoted(s, i, u'\'', closed);
            out.push_back({Tok::Text, closed ? singleQuoted(body) : s.mid(start)});
        } else if (c == u'"') {
            bool closed;
            const QString body = readQuoted(s, i, u'"', closed);
            out.push_back({Tok::Text, closed ? singleQuoted(body) : s.mid(start)});
        } else if (c == u'[') {
            const qsizetype end = s.indexOf(u']', i + 1);
            if (end < 0) {
                out.push_back({Tok::Punct, s.mid(start)});
                i = s.size();
            } else {
                QString name = s.mid(i + 1, end - i - 1);
                if (dialect == SqlDialect::Postgres) name = name.toLower();
                name.replace(u'"', QStringLiteral("\"\""));
                out.push_back({Tok::Ident, u'"' + name + u'"'});
                i = end + 1;
            }
        } else if (c == u'#') {
            const qsizetype end = s.indexOf(u'#', i + 1);
            if (end < 0) {
                out.push_back({Tok::Punct, s.mid(start)});
                i = s.size();
            } else {
                out.push_back({Tok::Text, singleQuoted(jetDate(s.mid(i + 1, end - i - 1)))});
                i = end + 1;
            }
        } else if (c == u':' && i + 1 < s.size() && isWordStart(s[i + 1])) {
            ++i;
            while (i < s.size() && isWordChar(s[i])) ++i;
            out.push_back({Tok::Param, s.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < s.size() && isWordChar(s[i])) ++i;
            out.push_back({Tok::Word, s.mid(start, i - start)});
        } else if (c.isDigit() || (c == u'.' && i + 1 < s.size() && s[i + 1].isDigit())) {
            while (i < s.size() && (s[i].isLetterOrNumber() || s[i] == u'.')) ++i;
            out.push_back({Tok::Number, s.mid(start, i - start)});
        } else if (c == u'-' && i + 1 < s.size() && s[i + 1] == u'-') {
            while (i < s.size() && s[i] != u'\n') ++i;
            out.push_back({Tok::Space, s.mid(start, i - start)});
        } else {
            ++i;
            out.push_back({Tok::Punct, QString(c)});
        }
    }
    return out;
}

bool isWord(const Token& t, const char* word) {
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token& t, char16_t c) {
    return t.kind == Tok::Punct && t.text.size() == 1 && t.text[0] == c;
}

// Index of the next token that is not blank, starting at i; tokens.size() when none.
size_t nextSolid(const std::vector<Token>& tokens, size_t i) {
    while (i < tokens.size() && tokens[i].kind == Tok::Space) ++i;
    return i;
}

// Removes "top N" after a select (and its distinct), returning N, or an empty text.
QString takeTop(std::vector<Token>& tokens, size_t selectAt) {
    size_t i = nextSolid(tokens, selectAt + 1);
    if (i < tokens.size() && (isWord(tokens[i], "distinct") || isWord(tokens[i], "all")))
        i = nextSolid(tokens, i + 1);
    if (i >= tokens.size() || !isWord(tokens[i], "top")) return {};
    const size_t n = nextSolid(tokens, i + 1);
    if (n >= tokens.size() || tokens[n].kind != Tok::Number) return {};
    const QString count = tokens[n].text;
    size_t last = n;
    if (last + 1 < tokens.size() && tokens[last + 1].kind == Tok::Space)
        ++last;  // the blank after N
    for (size_t k = i; k <= last; ++k) tokens[k] = {Tok::Space, QString()};
    return count;
}

// Numbers the parameters for PostgreSQL, one number per distinct name.
void numberParameters(std::vector<Token>& tokens, QStringList& names) {
    for (Token& t : tokens) {
        if (t.kind != Tok::Param) continue;
        const QString name = t.text.mid(1);
        qsizetype at = names.indexOf(name);
        if (at < 0) {
            at = names.size();
            names << name;
        }
        t.text = u'$' + QString::number(at + 1);
    }
}

}  // namespace

JetTranslation translateJet(const QString& statement, SqlDialect dialect) {
    std::vector<Token> tokens = tokenize(statement, dialect);

    JetTranslation result;
    if (dialect == SqlDialect::Postgres) numberParameters(tokens, result.parameters);
    QString& sql = result.sql;
    sql.reserve(statement.size() + 16);

    const size_t first = nextSolid(tokens, 0);
    bool distinct = false;
    if (first < tokens.size() && isWord(tokens[first], "delete")) {
        const size_t star = nextSolid(tokens, first + 1);
        if (star < tokens.size() && isPunct(tokens[star], u'*')) {
            const bool blankBefore = tokens[star - 1].kind == Tok::Space;
            const bool blankAfter = star + 1 < tokens.size() && tokens[star + 1].kind == Tok::Space;
            // Keep exactly one blank between delete and from: "delete*from" must not fuse.
            tokens[star] = {Tok::Space,
                            blankBefore || blankAfter ? QString() : QStringLiteral(" ")};
            if (blankBefore && blankAfter) tokens[star + 1].text.clear();
        }
    } else if (first < tokens.size() && isWord(tokens[first], "select")) {
        const size_t next = nextSolid(tokens, first + 1);
        distinct = next < tokens.size() && isWord(tokens[next], "distinct");
    } else if (first < tokens.size() && isWord(tokens[first], "insert")) {
        const size_t into = nextSolid(tokens, first + 1);
        const size_t table = into < tokens.size() ? nextSolid(tokens, into + 1) : into;
        const size_t select = table < tokens.size() ? nextSolid(tokens, table + 1) : table;
        if (select < tokens.size() && isWord(tokens[into], "into") &&
            (tokens[table].kind == Tok::Word || tokens[table].kind == Tok::Ident) &&
            isWord(tokens[select], "select")) {
            result.insertTarget = tokens[table].text;
            result.insertTarget.remove(u'"');
            for (size_t k = 0; k < select; ++k) sql += tokens[k].text;
            result.selectOffset = sql.size();
            tokens.erase(tokens.begin(), tokens.begin() + qsizetype(select));
        }
    }

    // One pending limit per parenthesis depth; it is placed where that depth closes.
    std::vector<QString> limits(1);
    bool ordered = false;         // the outermost select has an order by of its own
    qsizetype statementEnd = -1;  // where the outermost statement ends, before a ";"
    qsizetype lastSolidEnd = sql.size();
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const bool outermost = limits.size() == 1;
        if (isPunct(t, u'(')) {
            limits.emplace_back();
        } else if (isPunct(t, u')') && !outermost) {
            if (!limits.back().isEmpty()) sql += QStringLiteral(" limit ") + limits.back();
            limits.pop_back();
        } else if (isWord(t, "select")) {
            const QString top = takeTop(tokens, i);
            if (!top.isEmpty()) limits.back() = top;
        } else if (outermost && isWord(t, "order")) {
            const size_t by = nextSolid(tokens, i + 1);
            if (by < tokens.size() && isWord(tokens[by], "by")) ordered = true;
        } else if (outermost && isPunct(t, u';') && statementEnd < 0) {
            statementEnd = sql.size();
            if (!limits[0].isEmpty()) sql += QStringLiteral(" limit ") + limits[0];
            limits[0].clear();
        }
        if (isPunct(t, u'/'))
            sql += QStringLiteral("*1.0/");
        else if (isPunct(t, u'&'))
            sql += QStringLiteral("||");
        else
            sql += t.text;
        if (t.kind != Tok::Space) lastSolidEnd = sql.size();
    }
    if (statementEnd < 0) {
        statementEnd = lastSolidEnd;
        if (!limits[0].isEmpty()) sql.insert(lastSolidEnd, QStringLiteral(" limit ") + limits[0]);
    }
    if (distinct && !ordered) result.distinctOrderAt = statementEnd;
    return result;
}

}  // namespace talvor::db
