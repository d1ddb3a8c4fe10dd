#pragma once
// The keyboard and mouse through X11's XTest extension, where uinput is closed: only X's programs see
// them.

#include "platform/output/OutputDevice.h"

#include <QByteArray>

namespace platform {

// Over a connection of its own to the display (Qt's belongs to the user interface's thread), with its
// guard (XTestGuard.h); null when there is no X server there, it lacks XTest or the guard cannot start.
std::unique_ptr<OutputDevice> OpenXTestDevice(const QByteArray& display);

}  // namespace platform
