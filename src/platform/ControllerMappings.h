#pragma once
// Game-controller mappings of the user's own, in the community format of gamecontrollerdb.txt: one
// controller a line, "GUID,name,element:binding,...,platform:Linux,". They let SDL show a pad it does
// not know in the picture's layout.

#include <QString>

namespace platform {

// Larger files are refused: the community database is well under one MiB.
inline constexpr qint64 MaxMappingFileBytes = qint64{4} << 20;

// Hands the file's mappings to SDL, whose game-controller subsystem must be running. A missing file
// loads nothing; a line SDL cannot take is skipped and the others still load. Returns the number of
// mappings SDL took, or -1 (with a warning) when the file is refused: not a plain file, unreadable,
// or larger than MaxMappingFileBytes.
int LoadControllerMappings(const QString& path);

}  // namespace platform
