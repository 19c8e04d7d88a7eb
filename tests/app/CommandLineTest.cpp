#include <gtest/gtest.h>

#include <QRegularExpression>

#include "app/CommandLine.h"
#include "common/core/ProgramDir.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

TEST(CommandLine, OnlyVersionAndHelpAreAnsweredOnTheTerminal) {
    const std::pair<QStringList, std::optional<TerminalQuestion>> cases[] = {
        {{}, std::nullopt},
        {{u"--version"_s}, TerminalQuestion::Version},
        {{u"--help"_s}, TerminalQuestion::Help},
        {{u"-platform"_s, u"offscreen"_s, u"--help"_s}, TerminalQuestion::Help},
        {{u"--help"_s, u"--version"_s}, TerminalQuestion::Help},
        {{u"-platform"_s, u"xcb"_s}, std::nullopt},
        {{u"--Version"_s, u"-version"_s, u"help"_s}, std::nullopt},
    };
    for (const auto& [arguments, question] : cases)
        EXPECT_EQ(terminalQuestion(arguments), question) << arguments.join(u' ').toStdString();
}

TEST(CommandLine, TheAnswersNameTheVersionAndThisUsersProgramDirectory) {
    EXPECT_TRUE(
        terminalAnswer(TerminalQuestion::Version)
            .contains(QRegularExpression(u"^禾岚进销存管理系统 \\(talvor\\) \\d+\\.\\d+"_s)));

    setProgramDir(u"/home/小王/.local/share/talvor"_s);
    const QString help = terminalAnswer(TerminalQuestion::Help);
    setProgramDir({});
    EXPECT_TRUE(help.contains(u"--version"_s));
    EXPECT_TRUE(help.contains(u"/home/小王/.local/share/talvor\n"_s)) << help.toStdString();
}

}  // namespace
}  // namespace talvor
