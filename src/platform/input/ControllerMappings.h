#pragma once
// Game-controller mappings of the user's own, in the community format of gamecontrollerdb.txt: one
// controller a line, "GUID,name,element:binding,...,platform:Linux,". They let SDL show a pad it does
// not know in the picture's layout.
//
// SDL 2.26 trusts a mapping's numbers: a binding index that overflows becomes negative and SDL reads
// and writes before its arrays on every poll of a pad with that GUID. So every line is checked before
// SDL sees it, and a line that SDL could not take safely is skipped with a warning naming it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

// Larger files are refused: the community database is well under one MiB.
inline constexpr qint64 MaxMappingFileBytes = qint64{4} << 20;
// Lines past this many are not read: SDL adds mappings in quadratic time, and the community database
// has a few thousand lines.
inline constexpr int MaxMappingLines = 10000;

// The lines of text SDL can take safely, joined by line feeds; comments and blank lines are left out.
// Every other line is warned about, naming source and the line.
QByteArray SafeMappings(QByteArrayView text, const QString& source);

// Hands SDL only the safe lines of SDL_GAMECONTROLLERCONFIG and of the file SDL_GAMECONTROLLERCONFIG_FILE
// names, in place of the variables, which SDL would otherwise read itself. Call before SDL initialises
// its game-controller subsystem.
void PrepareControllerMappings();

// Hands the file's safe mappings to SDL, whose game-controller subsystem must be running. A missing
// file loads nothing; a line SDL cannot take is skipped and the others still load. Returns the number
// of mappings SDL took, or -1 (with a warning) when the file is refused: not a plain file, unreadable,
// or larger than MaxMappingFileBytes.
int LoadControllerMappings(const QString& path);

}  // namespace platform
