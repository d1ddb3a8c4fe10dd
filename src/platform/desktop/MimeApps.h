#pragma once
// The desktop's default application for a MIME type, as the XDG MIME applications rules store it:
// the [Default Applications] group of the mimeapps.list files, read directly. No helper program is
// started, so asking never waits on a desktop service.

#include <QString>

namespace platform {

// Full path of the desktop entry (.desktop file) of the default application for mimeType: the first
// installed entry listed for it in the first mimeapps.list that lists an installed one. The files are
// looked for in $XDG_CONFIG_HOME, $XDG_CONFIG_DIRS, then the applications folders of $XDG_DATA_HOME and
// $XDG_DATA_DIRS (where defaults.list, the older name, is read too), each desktop's own
// <desktop>-mimeapps.list ($XDG_CURRENT_DESKTOP) before the common one. Empty when none is set.
QString DefaultApplicationEntry(const QString& mimeType);

}  // namespace platform
