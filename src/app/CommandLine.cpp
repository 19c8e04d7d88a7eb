#include "app/CommandLine.h"

#include <QDir>

#include "common/core/ProgramDir.h"
#include "common/core/ProgramTitle.h"

namespace talvor {

namespace {

QString versionText() {
    return QStringLiteral("%1 (talvor) %2\n").arg(programTitle(), QStringLiteral(TALVOR_VERSION));
}

QString helpText() {
    return QStringLiteral(
               "用法：talvor [--version | --help]\n"
               "%1：进货、销售、库存与账款管理。不带参数时启动程序窗口。\n"
               "\n"
               "  --version  显示版本后退出\n"
               "  --help     显示本说明后退出\n"
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
    }
    return std::nullopt;
}

QString terminalAnswer(TerminalQuestion question) {
    return question == TerminalQuestion::Version ? versionText() : helpText();
}

}  // namespace talvor
