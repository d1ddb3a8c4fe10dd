#pragma once
// The directory of the program's own executable, the first place where Corvane.ini is looked for.

#include <QString>

namespace platform {

// The executable's directory, or the directory set by SetProgramDirectory.
QString ProgramDirectory();

// Points ProgramDirectory elsewhere (tests use a temporary directory); an empty text restores it.
void SetProgramDirectory(const QString& directory);

}  // namespace platform
