#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <cstdio>

#include "app/Application.h"
#include "app/Artwork.h"
#include "app/CommandLine.h"
#include "app/Startup.h"

namespace {

std::optional<talvor::TerminalQuestion> questionIn(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return talvor::terminalQuestion(arguments);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const auto question = questionIn(argc, argv)) {
        // Answered without a display: a core application is enough to know the directories.
        const QCoreApplication core(argc, argv);
        std::fputs(talvor::terminalAnswer(*question).toLocal8Bit().constData(), stdout);
        return 0;
    }
    talvor::TalvorApplication app(argc, argv);
    // Matches the installed talvor.desktop, whose icon the desktop shows beside the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("talvor"));
    QGuiApplication::setWindowIcon(talvor::programIcon());
    return talvor::runProgram(app);
}
