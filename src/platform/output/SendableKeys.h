#pragma once
// Which keys each way to the desktop can send.

#include "platform/output/OutputDevice.h"

#include <QString>

#include <cstdint>

namespace platform {

// Why the route cannot send a key or mouse button that KeyCode reads, in the user's language; empty
// when it can. uinput sends them all, XTest those X has a keycode or button for. With no route nothing
// is sent, for the route's own reason, not the key's.
QString WhyNotSent(uint16_t code, OutputRoute route);

}  // namespace platform
