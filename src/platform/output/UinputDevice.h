#pragma once
// The keyboard and mouse through the kernel's uinput: every program of the session sees them, on X11
// and on Wayland alike.

#include "platform/output/OutputDevice.h"

namespace platform {

// The virtual device "Corvane Demo"; null when /dev/uinput cannot be opened for writing or the kernel
// refuses the device.
std::unique_ptr<OutputDevice> OpenUinputDevice();

}  // namespace platform
