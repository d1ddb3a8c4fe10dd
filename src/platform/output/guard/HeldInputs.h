#pragma once
// What the XTest guard hears from the program, and what it lets go of when the program ends. Each
// change is a packet of two bytes: the X event type the program fakes (a key's or a button's press or
// release) and the keycode or button.

#include <xcb/xproto.h>

#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace platform::guard {

using Change = std::array<uint8_t, 2>;

class HeldInputs {
public:
    // Any other type is not one the program fakes, and changes nothing.
    void Apply(const Change& change) {
        const auto [type, detail] = change;
        if (type == XCB_KEY_PRESS || type == XCB_BUTTON_PRESS) {
            held_.insert({type, detail});
        } else if (type == XCB_KEY_RELEASE) {
            held_.erase({XCB_KEY_PRESS, detail});
        } else if (type == XCB_BUTTON_RELEASE) {
            held_.erase({XCB_BUTTON_PRESS, detail});
        }
    }

    // The releases of what is held.
    std::vector<Change> Releases() const {
        std::vector<Change> releases;
        for (const auto& [press, detail] : held_) {
            releases.push_back(
                {press == XCB_KEY_PRESS ? uint8_t{XCB_KEY_RELEASE} : uint8_t{XCB_BUTTON_RELEASE}, detail});
        }
        return releases;
    }

private:
    std::set<std::pair<uint8_t, uint8_t>> held_;  // {press type, detail}
};

}  // namespace platform::guard
