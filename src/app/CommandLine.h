#pragma once

#include <QStringList>
#include <optional>

namespace talvor {

// The program takes no arguments, except that "--version" and "--help" answer on the terminal
// instead of starting. Qt's own options such as "-platform" pass through to the application.
enum class TerminalQuestion { Version, Help };

// The first question among the arguments (the program's name excluded), if any.
std::optional<TerminalQuestion> terminalQuestion(const QStringList& arguments);

// The text to print; the help names this user's program directory, so it needs the
// application object.
QString terminalAnswer(TerminalQuestion question);

}  // namespace talvor
