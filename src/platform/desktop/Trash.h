#pragma once
// The desktop's trash, where a file the user removes goes so it can be got back.

#include <QString>

namespace platform {

// Moves the file to the user's trash ($XDG_DATA_HOME/Trash, or that of its own disk); false, and the
// file stays, when there is no trash to take it.
bool MoveToTrash(const QString& path);

}  // namespace platform
