#pragma once
// What the kernel's sysfs tells of a device SDL reads: the port it is plugged into (SDL's device path
// changes on every replug; the kernel's physical path, phys, stays with the port) and the event node that
// tells of its changes.

#include "platform/input/JoystickDriver.h"

#include <QByteArray>
#include <QString>
#include <string>
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

// The event node that speaks when the device at SDL's device path changes: the path itself for an evdev
// node; for a hidraw node (a HID pad SDL reads whole), the gamepad node that the kernel's driver of the
// same HID device gives it. Its motion sensors and touchpad are left: they speak hundreds of times a second
// at rest, as the hidraw node does.
struct EventNode {
    std::string node;    // empty for none (SDL's virtual devices, a HID device no kernel driver serves)
    bool whole = false;  // read through hidraw: a report can reach SDL a moment after the node spoke
};
EventNode EventNodeOf(const char* sdlPath);

// One input device of a HID device, as sysfs tells it: its event node and capabilities/key, the key
// bitmap in hexadecimal words of a long each, the highest first.
struct InputDevice {
    std::string node;
    QByteArray keys;
};
// The node of the first that has a joystick or gamepad button; empty for none.
std::string GamepadNode(const std::vector<InputDevice>& inputs);

}  // namespace platform
