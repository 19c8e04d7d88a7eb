#pragma once

#include <QStringList>
#include <cstdio>
#include <optional>

namespace talvor {

// The program takes no arguments, except that "--version" and "--help" answer on the terminal
// instead of starting, and "--copy-to-server" copies the local database to the server
// system.ini names. Qt's own options such as "-platform" pass through to the application.
enum class TerminalQuestion { Version, Help, CopyToServer };

// The first question among the arguments (the program's name excluded), if any.
std::optional<TerminalQuestion> terminalQuestion(const QStringList& arguments);

// The text to print; the help names this user's program directory, so it needs the
// application object.
QString terminalAnswer(TerminalQuestion question);

// Copies data/talvor.mdb into the empty database of the server named by key server of section
// nettype in system.ini, writing its progress on `out`; returns the exit code.
int copyToServer(FILE* out);

}  // namespace talvor
