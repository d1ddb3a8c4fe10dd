#pragma once
// A kernel key or mouse button as XTest fakes it on X.

#include <cstdint>
#include <optional>

namespace platform {

struct XInput {
    uint8_t press;  // the event types that press and release it
    uint8_t release;
    uint8_t detail;  // keycode or button
};

// None for a code X has no keycode or button for: every key above 247, every BTN_ code but the mouse's
// three buttons.
std::optional<XInput> ToX(uint16_t code);

}  // namespace platform
