// X numbers keys as the kernel does plus 8: so do the evdev and libinput drivers, XWayland and Xvfb's
// default keymap. X keycodes stop at 255, which leaves out every BTN_ code: of those only the mouse's
// buttons have an X meaning, as buttons 1 to 3, 8 and 9.
#include "platform/output/XInput.h"

#include <linux/input-event-codes.h>
#include <xcb/xproto.h>

namespace platform {
namespace {

constexpr int kKeycodeOffset = 8;

}  // namespace

std::optional<XInput> ToX(uint16_t code) {
    switch (code) {
    case BTN_LEFT:
        return XInput{XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE, 1};
    case BTN_MIDDLE:
        return XInput{XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE, 2};
    case BTN_RIGHT:
        return XInput{XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE, 3};
    case BTN_SIDE:  // back and forward: X's buttons 8 and 9, after the wheel's four
        return XInput{XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE, 8};
    case BTN_EXTRA:
        return XInput{XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE, 9};
    default:
        break;
    }
    if (code + kKeycodeOffset > UINT8_MAX) {
        return std::nullopt;
    }
    return XInput{XCB_KEY_PRESS, XCB_KEY_RELEASE, static_cast<uint8_t>(code + kKeycodeOffset)};
}

}  // namespace platform
