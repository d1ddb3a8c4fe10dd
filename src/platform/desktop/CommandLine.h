#pragma once
// The program's command line, read before any window opens and without a display.

#include <QStringList>
#include <optional>

namespace platform {

struct CommandLine {
    QString map;             // --map FILE, as an absolute path; empty: search for Corvane.ini
    bool emulation = false;  // --emulation: show the "Emulazione Corvane" menu entry
};

// Exit status of a command line that cannot be used (unknown option, missing or unusable map).
inline constexpr int UsageError = 2;

// Reads arguments (the program's name first). Returns the exit status when the program must end
// at once: 0 after printing --help or --version on standard output, UsageError after printing
// why on standard error. Otherwise fills options and returns nothing.
std::optional<int> ReadCommandLine(const QStringList& arguments, CommandLine& options);

}  // namespace platform
