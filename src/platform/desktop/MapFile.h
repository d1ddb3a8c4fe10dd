#pragma once
// Which Corvane.ini the program reads and the user edits. The first readable regular file wins:
// beside the executable (a portable copy keeps its own map), then the user's XDG config directory,
// then each system XDG config directory; or only the file named on the command line.

#include <QString>
#include <QStringList>

namespace platform {

inline constexpr char16_t NomeMappa[] = u"Corvane.ini";

// The candidates in search order: <program directory>/Corvane.ini, $XDG_CONFIG_HOME/corvane/Corvane.ini
// (~/.config when unset, empty or relative), then corvane/Corvane.ini in each absolute entry of
// $XDG_CONFIG_DIRS (/etc/xdg when unset or empty).
QStringList MapSearchPath();

// The map to read: the command line's file when one was set, else the first candidate that is a
// readable regular file (directories, pipes and devices are passed over), else empty.
QString MapFile();

// The command line's map, used instead of the search; an empty text restores the search.
void SetMapFile(const QString& path);

// True for an existing, readable regular file (symbolic links followed).
bool IsReadableMap(const QString& path);

// The user's own map: $XDG_CONFIG_HOME/corvane/Corvane.ini, or under ~/.config.
QString UserMapPath();

// The commented example map that comes with the program: ../share/corvane/Corvane.ini from the
// executable's directory, else corvane/Corvane.ini in the XDG data directories. Empty when missing.
QString ExampleMapPath();

// The file to open in an editor: MapFile() when there is one; otherwise the user's path, with its
// folder created and the example copied there when the path is still free. Never replaces a file.
QString MapToEdit();

}  // namespace platform
