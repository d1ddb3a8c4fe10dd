#pragma once
// Start at login: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<desktop file name>, that runs
// the program with --background. Only a file that is, byte for byte, the entry this program writes is
// ours; any other file of that name is the user's own and is never touched.

#include <QString>
#include <optional>

namespace platform {

// $XDG_CONFIG_HOME/autostart/it.corvane.demo.desktop (~/.config when unset, empty or relative).
QString AutostartPath();

// The program the entry runs: "corvane" when that is this executable on PATH (the installed
// program), else this executable's absolute path (a build tree, a portable copy).
QString AutostartProgram();

// One argument of an entry's Exec line: quoted when it holds anything but plain characters, with
// the characters the quoting reserves escaped, and percent signs doubled.
QString ExecArgument(const QString& argument);

// The entry's whole text for a program; none when the program's path holds a character that a
// desktop entry cannot carry (a line break or another control character, a name that is not UTF-8),
// when it is empty, or when it holds both "%" and "=", which no entry runs as one program.
std::optional<QString> AutostartEntry(const QString& program);

enum class AutostartState {
    Absent,   // no file of that name
    Ours,     // our entry: the program starts at login
    OursOff,  // our entry, switched off by the session's settings (Hidden=true,
              // X-GNOME-Autostart-enabled=false)
    Foreign,  // any other file of that name: the user's own
};

AutostartState ReadAutostart();

enum class AutostartWrite {
    Written,
    Foreign,     // a file of the user's is there: left as it is
    BadProgram,  // this program's path cannot be written into an entry
    Failed,      // the file or its folder cannot be written
};

// Writes the entry (its folder created), over our own switched-off entry too.
AutostartWrite WriteAutostart();
// Removes our entry; false when it cannot. A file of the user's is left alone (true: nothing of ours
// is there).
bool RemoveAutostart();

}  // namespace platform
