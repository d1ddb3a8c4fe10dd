#pragma once
// Which attached device a choice of controller names. A choice is a model (SDL's GUID) and, when it
// was known, the port the pad was plugged into: two pads of one model differ only by their port.

#include "platform/input/JoystickDriver.h"

#include <optional>
#include <vector>

namespace platform {

// The slot, among the attached devices, of the one chosen by guid and port, or none:
// - the device of the GUID on that port;
// - else, of the devices of the GUID, the one in slot `read` (the one read now stays read while it is
//   attached, so nothing changes hands behind the user's back), else the first by slot. With one
//   device of the GUID that is the pad moved to another port; with several, none on the port, the
//   program cannot tell the chosen one, and reads the one read before, or the first, as a choice made
//   by GUID alone does;
// - none when no device has the GUID.
std::optional<uint32_t> ChosenSlot(const std::vector<AttachedDevice>& attached, const QString& guid,
                                   const QString& port, uint32_t read);

}  // namespace platform
