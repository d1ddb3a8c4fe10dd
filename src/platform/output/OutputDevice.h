#pragma once
// The keyboard and mouse the controller acts as: keys, mouse buttons, pointer motion and the wheel, in
// the kernel's codes (linux/input-event-codes.h: KEY_*, BTN_LEFT, BTN_RIGHT, BTN_MIDDLE).

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Calls come from one thread at a time, not necessarily the user interface's.
class OutputDevice {
public:
    OutputDevice() = default;
    virtual ~OutputDevice() = default;  // releases every key and button it holds
    OutputDevice(const OutputDevice&) = delete;
    OutputDevice& operator=(const OutputDevice&) = delete;

    // A key or mouse button goes down (true) or up; the desktop sees it at once.
    virtual void Key(uint16_t code, bool down) = 0;
    // Moves the pointer by pixels: right and down are positive.
    virtual void Move(int32_t dx, int32_t dy) = 0;
    // Turns the wheel by notches: up is positive.
    virtual void Wheel(int32_t notches) = 0;
    // Scrolls smoothly, in 120ths of a notch: up and right are positive. A device that knows only whole
    // notches turns its wheel once a whole notch has gathered.
    virtual void Scroll(int32_t vertical, int32_t horizontal) = 0;
};

// How the output reaches the desktop.
enum class OutputRoute { Uinput, XTest, None };

struct OpenedOutput {
    std::unique_ptr<OutputDevice> device;  // null when no route works
    OutputRoute route = OutputRoute::None;
    QString why;  // with no route: why, and what the user can do, in the user's language
};

// The virtual device "Corvane Demo" through /dev/uinput; where that cannot be opened for writing, the
// XTest extension on X11; else none, with the reason.
OpenedOutput OpenOutputDevice();

// How a keyboard and mouse is had: OpenOutputDevice, or a test's own.
using OutputOpener = std::function<OpenedOutput()>;

}  // namespace platform
