#include "app/CommandLine.h"

#include <QDir>

#include "common/core/BillSettings.h"
#include "common/core/ProgramDir.h"
#include "common/core/ProgramTitle.h"
#include "datamodel/db/DatabaseCopy.h"
#include "datamodel/db/DbError.h"
#include "datamodel/db/PostgresEngine.h"
#include "datamodel/db/SqliteEngine.h"

namespace talvor {

namespace {

QString versionText() {
    return QStringLiteral("%1 (talvor) %2\n").arg(programTitle(), QStringLiteral(TALVOR_VERSION));
}

QString helpText() {
    return QStringLiteral(
               "用法：talvor [--version | --help | --copy-to-server]\n"
               "%1：进货、销售、库存与账款管理。不带参数时启动程序窗口。\n"
               "\n"
               "  --version  显示版本后退出\n"
               "  --help     显示本说明后退出\n"
               "  --copy-to-server\n"
               "             把本地数据库复制到 system.ini 中 [nettype] server 指定的"
               "空数据库服务器\n"
               "\n"
               "数据库 data/talvor.mdb 和设置文件 system.ini 放在程序所在的目录；该目录不可写"
               "（例如安装在 /usr 下）时放在 $XDG_DATA_HOME/talvor（默认 "
               "~/.local/share/talvor）。\n"
               "本用户的程序目录：%2\n")
        .arg(programTitle(), QDir::toNativeSeparators(programDir()));
}

}  // namespace

std::optional<TerminalQuestion> terminalQuestion(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == u"--version") return TerminalQuestion::Version;
        if (argument == u"--help") return TerminalQuestion::Help;
        if (argument == u"--copy-to-server") return TerminalQuestion::CopyToServer;
    }
    return std::nullopt;
}

int copyToServer(FILE* out) {
    const auto say = [out](const QString& text) {
        std::fputs(text.toLocal8Bit().constData(), out);
        std::fflush(out);
    };
    const QString server = serverConnection(iniPath());
    if (server.isEmpty()) {
        say(QStringLiteral("system.ini 的 [nettype] 中没有 server：不知道复制到哪个服务器\n"));
        return 1;
    }
    try {
        db::SqliteEngine local;
        local.open(databasePath());
        db::PostgresEngine remote;
        remote.open(server);
        if (!remote.isEmpty()) {
            say(QStringLiteral("服务器 %1 上的数据库不是空的，没有复制\n")
                    .arg(db::PostgresEngine::hostOf(server)));
            return 1;
        }
        db::copyDatabase(local, remote, [&](const db::CopyStep& step) {
            say(QStringLiteral("\r复制 %1：%2/%3 行")
                    .arg(step.table)
                    .arg(step.tableDone)
                    .arg(step.tableRows));
            if (step.tableDone == step.tableRows) say(QStringLiteral("\n"));
        });
    } catch (const db::DbError& e) {
        say(QStringLiteral("\n复制失败，服务器上没有留下任何数据：%1\n").arg(e.message()));
        return 1;
    }
    say(QStringLiteral("复制完成，各表行数一致\n"));
    return 0;
}

QString terminalAnswer(TerminalQuestion question) {
    return question == TerminalQuestion::Version ? versionText() : helpText();
}

}  // namespace talvor
