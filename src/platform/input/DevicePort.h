#pragma once
// The port a device is plugged into, read from the kernel's sysfs. SDL's device path changes on every
// replug; the kernel's physical path (phys) of the device stays with the port.

#include "platform/input/JoystickDriver.h"

#include <QString>
#include <vector>

namespace platform {

// The physical path of the device at SDL's device path: for an evdev node (/dev/input/eventN) its input
// device's phys, for a hidraw node (/dev/hidrawN, SDL's HIDAPI devices) its HID device's HID_PHYS.
// Empty for anything else (SDL's virtual devices) and where the kernel tells none.
QString DevicePort(const char* sdlPath);

// A short number for the port in a USB physical path: the port chain after the bus, as in
// "usb-0000:00:14.0-2/input0" -> "2" and "usb-0000:00:14.0-1.3/input0" -> "1.3". Empty when the path
// has none (Bluetooth, uinput without a path).
QString PortNumber(const QString& phys);

// For each attached device, what tells it from its twins (the devices sharing its GUID): its port
// number, or, when a twin's path has none or two twins' numbers are alike (two buses), its place among
// the twins, counted from 1. Empty for a device without twins.
std::vector<QString> TwinPortLabels(const std::vector<AttachedDevice>& attached);

}  // namespace platform
