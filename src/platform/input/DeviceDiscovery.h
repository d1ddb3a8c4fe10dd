#pragma once
// How SDL finds joystick devices. SDL asks libudev, and libudev hears of no new device while the udev
// daemon is not running (containers, chroots, minimal systems): an unplug is seen, a replug never.
// SDL's switches SDL_JOYSTICK_DISABLE_UDEV (its evdev devices) and SDL_HIDAPI_JOYSTICK_DISABLE_UDEV (the
// pads its HIDAPI drivers take: PlayStation, Switch) make it watch /dev itself instead.

#include <QString>

namespace platform {

// Where the udev daemon listens while it runs.
inline constexpr const char* UdevControlSocket = "/run/udev/control";

// Whether SDL should find devices itself: the daemon's control socket is absent and the user has not
// set SDL_JOYSTICK_DISABLE_UDEV, either way.
bool SdlShouldScanDevicesItself(const QString& udevControlSocket);

// Throws SDL's switches while it lives, when SDL should find devices itself: make one right before SDL
// initialises its joystick subsystem and end it right after. No program started later sees a switch:
// SDL_JOYSTICK_DISABLE_UDEV is an SDL hint, and SDL 2.26 reads SDL_HIDAPI_JOYSTICK_DISABLE_UDEV only from
// the environment, so that one is in the environment only for as long as this object lives.
class DeviceDiscovery {
public:
    DeviceDiscovery();
    ~DeviceDiscovery();
    DeviceDiscovery(const DeviceDiscovery&) = delete;
    DeviceDiscovery& operator=(const DeviceDiscovery&) = delete;

private:
    bool inEnvironment_ = false;  // the HIDAPI switch was put into the environment here
};

}  // namespace platform
