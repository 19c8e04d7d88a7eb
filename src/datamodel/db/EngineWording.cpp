#include "datamodel/db/EngineWording.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <QStringList>

namespace talvor::db {

namespace {

// The text after "<kind> constraint failed: ".
QString constraintSubject(const QString& engineText) {
    const qsizetype at = engineText.indexOf(QStringLiteral("constraint failed: "));
    return at < 0 ? QString() : engineText.mid(at + 19).trimmed();
}

// "goods.gods_code" -> "gods_code"; a unique index over several columns names the first.
QString constrainedColumn(const QString& engineText) {
    return constraintSubject(engineText).section(u',', 0, 0).section(u'.', -1).trimmed();
}

QString unquoted(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && value.front() == u'\'' && value.back() == u'\'')
        return value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return value;
}

// Splits at the commas that stand outside quoted texts.
QStringList splitValues(const QString& list) {
    QStringList parts;
    QString part;
    bool quoted = false;
    for (QChar c : list) {
        if (c == u'\'') quoted = !quoted;
        if (c == u',' && !quoted) {
            parts << part;
            part.clear();
        } else {
            part += c;
        }
    }
    parts << part;
    return parts;
}

// The value a statement writes into column: "insert into t (a,b) values (...)" or
// "update t set a=... where ...".
QString valueWritten(const QString& statement, const QString& column) {
    static const QRegularExpression insert(
        QStringLiteral(R"(^\s*insert\s+into\s+\S+\s*\(([^)]*)\)\s*values\s*\((.*)\)\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = insert.match(statement); m.hasMatch()) {
        const QStringList columns = m.captured(1).split(u',');
        const QStringList values = splitValues(m.captured(2));
        for (qsizetype i = 0; i < columns.size() && i < values.size(); ++i)
            if (columns[i].trimmed().compare(column, Qt::CaseInsensitive) == 0)
                return unquoted(values[i]);
        return {};
    }
    const QRegularExpression set(QStringLiteral(R"([\s,]%1\s*=\s*('(?:[^']|'')*'|[^,\s]+))")
                                     .arg(QRegularExpression::escape(column)),
                                 QRegularExpression::CaseInsensitiveOption);
    const qsizetype where = statement.indexOf(QStringLiteral(" where "), 0, Qt::CaseInsensitive);
    const auto m = set.match(where < 0 ? statement : statement.left(where));
    return m.hasMatch() ? unquoted(m.captured(1)) : QString();
}

QString duplicateValueText(const QString& value) {
    return value.isEmpty() ? QStringLiteral("编码已存在，请换一个编码后再保存。")
                           : QStringLiteral("编码已存在：“%1”，请换一个编码后再保存。").arg(value);
}

QString duplicateText(const QString& engineText, const QString& statement) {
    return duplicateValueText(valueWritten(statement, constrainedColumn(engineText)));
}

QString constraintText(int extendedCode, const QString& engineText, const QString& statement) {
    switch (extendedCode) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            return duplicateText(engineText, statement);
        // The schema names each check by what it asks: "gods_name 超过 40 个字符".
        case SQLITE_CONSTRAINT_CHECK:
            return QStringLiteral("输入的内容不符合要求：%1。请改正后再保存。")
                .arg(constraintSubject(engineText));
        case SQLITE_CONSTRAINT_NOTNULL:
            return QStringLiteral("“%1”必须填写，请填写后再保存。")
                .arg(constrainedColumn(engineText));
        default:
            return QStringLiteral("数据不符合数据库的要求，没有保存。");
    }
}

QString wording(int extendedCode, const QString& engineText, const QString& statement) {
    switch (extendedCode & 0xff) {
        case SQLITE_CONSTRAINT:
            return constraintText(extendedCode, engineText, statement);
        case SQLITE_FULL:
            return QStringLiteral("磁盘空间已满，数据没有保存。请腾出磁盘空间后再试。");
        case SQLITE_IOERR:
            return QStringLiteral(
                "读写数据库文件时出错，数据没有保存。请检查磁盘或网络连接后再试。");
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QStringLiteral("数据库正被其他用户使用，请稍后再试。");
        case SQLITE_NOTADB:
            return QStringLiteral("文件不是本系统的数据库。请检查数据库文件，或从备份恢复。");
        case SQLITE_CORRUPT:
            return QStringLiteral("数据库文件已损坏。请从备份恢复数据库。");
        case SQLITE_READONLY:
            return QStringLiteral("数据库文件是只读的，无法保存。请检查文件的写入权限。");
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return QStringLiteral("无法读写数据库文件。请检查文件是否存在以及读写权限。");
        case SQLITE_NOMEM:
            return QStringLiteral("内存不足，操作没有完成。请关闭其他程序后再试。");
        default:
            return QStringLiteral("数据库操作失败。");
    }
}

// The value a server names in its detail line "Key (gods_code)=(G001) already exists."; empty
// for a key of several columns, whose values it joins with commas.
QString duplicateKeyValue(const QString& detail) {
    static const QRegularExpression key(
        QStringLiteral(R"(^Key \(([^,)]*)\)=\((.*)\) already exists)"));
    const auto m = key.match(detail);
    return m.hasMatch() ? m.captured(2) : QString();
}

// A server reports its failures by SQLSTATE: a class of two characters and a condition.
QString serverWording(const ServerFailure& f) {
    const QString state = f.state;
    if (state == u"23505") return duplicateValueText(duplicateKeyValue(f.detail));
    if (state == u"23514")
        return constraintText(SQLITE_CONSTRAINT_CHECK,
                              QStringLiteral("CHECK constraint failed: ") + f.constraint, {});
    if (state == u"23502")
        return constraintText(SQLITE_CONSTRAINT_NOTNULL,
                              QStringLiteral("NOT NULL constraint failed: ") + f.column, {});
    if (state.startsWith(u"23")) return constraintText(SQLITE_CONSTRAINT, {}, {});
    if (state == u"53100") return wording(SQLITE_FULL, {}, {});
    if (state == u"53200") return wording(SQLITE_NOMEM, {}, {});
    if (state == u"40001" || state == u"40P01" || state == u"55P03" || state == u"57014")
        return wording(SQLITE_BUSY, {}, {});
    if (state.startsWith(u"08") || state.isEmpty() || state == u"57P01" || state == u"57P03")
        return QStringLiteral(
            "与数据库服务器的连接已断开，操作没有完成。请检查网络和服务器后再试。");
    if (state.startsWith(u"28") || state == u"42501")
        return QStringLiteral("没有使用服务器上这个数据库的权限。请检查登录名、口令和授权。");
    if (state.startsWith(u"XX"))
        return QStringLiteral("服务器上的数据库已损坏。请从备份恢复数据库。");
    return wording(SQLITE_ERROR, {}, {});
}

QString withDetail(const QString& text, const QString& engineText) {
    return engineText.isEmpty() ? text : text + QStringLiteral("\n详细信息：") + engineText;
}

}  // namespace

QString engineFailureText(int extendedCode, const QString& engineText, const QString& statement) {
    return withDetail(wording(extendedCode, engineText, statement), engineText);
}

QString openFailureText(int extendedCode, const QString& engineText, const QString& path) {
    return withDetail(
        wording(extendedCode, engineText, {}) + QStringLiteral("\n数据库文件：") + path,
        engineText);
}

QString serverFailureText(const ServerFailure& failure) {
    return withDetail(serverWording(failure), failure.message);
}

}  // namespace talvor::db
