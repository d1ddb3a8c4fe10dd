#pragma once
// Start at login: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<desktop file name>, that runs
// the program with --background. A file of that name that runs something else is the user's own and
// is never touched.

#include <QString>

namespace platform {

// $XDG_CONFIG_HOME/autostart/it.corvane.demo.desktop (~/.config when unset, empty or relative).
QString AutostartPath();

// The program the entry runs: "corvane" when that is this executable on PATH (the installed
// program), else this executable's absolute path (a build tree, a portable copy).
QString AutostartProgram();

// One argument of an entry's Exec line: quoted when it holds anything but plain characters, with
// the characters the quoting reserves escaped, and percent signs doubled.
QString ExecArgument(const QString& argument);

// The entry's whole text for a program.
QString AutostartEntry(const QString& program);

enum class AutostartState {
    Absent,   // no file of that name
    Ours,     // an entry that runs this program
    Foreign,  // a file of that name that runs something else, or cannot be read
};

AutostartState ReadAutostart();

// Writes the entry (its folder created); false when it cannot, or when a foreign file is there.
bool WriteAutostart();
// Removes our entry; false when it cannot. A foreign file is left alone (true: nothing of ours is there).
bool RemoveAutostart();

}  // namespace platform
