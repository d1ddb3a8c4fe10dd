#pragma once
// Reading the command of a desktop entry (.desktop file) to open one file with it.

#include <QString>

namespace platform {

// The entry's Exec line as a command line for QtShell::StartProgram, with the file in place of the
// file or URL field code (%f, %F, %u, %U) and the other field codes expanded or dropped, each argument
// quoted. Empty when the entry cannot be read, has no Exec line, runs in a terminal, or takes no file.
QString DesktopEntryCommandLine(const QString& entryPath, const QString& file);

}  // namespace platform
