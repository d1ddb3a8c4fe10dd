#pragma once
// Which Corvane.ini the program reads and the user edits. Beside the executable (a portable copy keeps
// its own map) any file of that name wins; else the first readable regular file in the user's XDG config
// directory, then in each system XDG config directory; or only the file named on the command line.

#include <QString>
#include <QStringList>

namespace platform {

inline constexpr char16_t NomeMappa[] = u"Corvane.ini";

// The candidates in search order: <program directory>/Corvane.ini, $XDG_CONFIG_HOME/corvane/Corvane.ini
// (~/.config when unset, empty or relative), then corvane/Corvane.ini in each absolute entry of
// $XDG_CONFIG_DIRS (/etc/xdg when unset or empty).
QStringList MapSearchPath();

// The map to read: the command line's file when one was set, else the file beside the executable when
// anything of that name is there (unreadable, it reads as empty), else the first other candidate that
// is a readable regular file (directories, pipes and devices are passed over), else empty.
QString MapFile();
// The map the search finds, whatever the command line chose: the default profile's.
QString SearchedMapFile();

// The command line's map, used instead of the search; an empty text restores the search.
void SetMapFile(const QString& path);
// The map SetMapFile set, as an absolute path; empty while the search is in force.
QString ChosenMapFile();

// True for an existing, readable regular file (symbolic links followed).
bool IsReadableMap(const QString& path);

// The user's own map: $XDG_CONFIG_HOME/corvane/Corvane.ini, or under ~/.config.
QString UserMapPath();

// The commented example map that comes with the program: ../share/corvane/Corvane.ini from the
// executable's directory, else corvane/Corvane.ini in the XDG data directories; for a user whose
// language is English, Corvane.en.ini in the same places first. Empty when missing.
QString ExampleMapPath();

// Where a changed map goes so that the program reads it from then on.
struct MapTarget {
    // The file to write; empty when no file the user can write would be read (see blocked).
    QString path;
    // When path is still free: the map read now (a system map the user cannot write), to start from.
    QString copyFrom;
    // The map beside the executable when the user cannot write it: it wins the search whatever is
    // saved elsewhere.
    QString blocked;
};

// The command line's map; the map read now when the user can write it; the user's own map in place of
// a system map they cannot write, or when there is no map at all; nothing when an unwritable map
// beside the executable is read.
MapTarget MapSaveTarget();

// Creates target as a copy of source, never replacing anything that stands at target; the new file's
// mode follows the user's umask. False when nothing was created.
bool CopyToNewFile(const QString& source, const QString& target);

// Says that the map beside the executable cannot be changed by the user and how to use another one.
QString MapBlockedText(const QString& path);

// The file to open in an editor: MapSaveTarget's path, with its folder created and, while it is free,
// the map read now (else the example) copied there. Empty when MapSaveTarget has no path.
QString MapToEdit();

}  // namespace platform
