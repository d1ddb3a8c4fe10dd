#pragma once
// How SDL finds joystick devices. SDL asks libudev, and libudev hears of no new device while the udev
// daemon is not running (containers, chroots, minimal systems): an unplug is seen, a replug never.
// SDL's switch SDL_JOYSTICK_DISABLE_UDEV makes it watch /dev/input itself instead.

#include <QString>

namespace platform {

// Where the udev daemon listens while it runs.
inline constexpr const char* UdevControlSocket = "/run/udev/control";

// Whether SDL should find devices itself: the daemon's control socket is absent and the user has not
// set SDL_JOYSTICK_DISABLE_UDEV, either way.
bool SdlShouldScanDevicesItself(const QString& udevControlSocket);

// Sets SDL_JOYSTICK_DISABLE_UDEV=1 when SDL should find devices itself. Call before SDL initialises
// its joystick subsystem: SDL reads the switch then.
void PrepareDeviceDiscovery();

}  // namespace platform
