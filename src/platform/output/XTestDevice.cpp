#include "platform/output/XTestDevice.h"
#include "platform/output/XInput.h"
#include "platform/output/XTestGuard.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>

namespace platform {
namespace {

// X's buttons 4 and 5 are the wheel's notches.
constexpr uint8_t kWheelUp = 4;
constexpr uint8_t kWheelDown = 5;
constexpr uint8_t kWheelLeft = 6;
constexpr uint8_t kWheelRight = 7;
constexpr int32_t kNotch = 120;

class XTestDevice final : public OutputDevice {
public:
    XTestDevice(xcb_connection_t* connection, std::unique_ptr<XTestGuard> guard)
        : connection_(connection), guard_(std::move(guard)) {}

    // A server that sees the connection close drops the requests it has not read yet: the releases are
    // waited for, with a request that has a reply. The guard then ends with nothing held.
    ~XTestDevice() override {
        for (const uint16_t code : std::set(held_)) {
            Key(code, false);
        }
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        xcb_disconnect(connection_);
    }
    XTestDevice(const XTestDevice&) = delete;
    XTestDevice& operator=(const XTestDevice&) = delete;

    // A second press would read as the key's auto-repeat, a release of a key not held as a stray one.
    void Key(uint16_t code, bool down) override {
        const std::optional<XInput> input = ToX(code);
        if (!input || (down ? !held_.insert(code).second : held_.erase(code) == 0)) {
            return;
        }
        if (down) {
            guard_->Tell(input->press, input->detail);
        }
        Fake(down ? input->press : input->release, input->detail);
        xcb_flush(connection_);
        if (!down) {
            guard_->Tell(input->release, input->detail);
        }
    }

    void Move(int32_t dx, int32_t dy) override {
        const auto clamp = [](int32_t value) {
            return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
        };
        // detail 1: the position is relative to where the pointer is.
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 1, XCB_CURRENT_TIME, XCB_NONE, clamp(dx),
                            clamp(dy), 0);
        xcb_flush(connection_);
    }

    void Wheel(int32_t notches) override {
        Click(notches > 0 ? kWheelUp : kWheelDown, notches);
        xcb_flush(connection_);
    }

    // X knows whole notches only: they are clicked as they gather.
    void Scroll(int32_t vertical, int32_t horizontal) override {
        const auto axis = [this](int32_t amount, int32_t& gathered, uint8_t more, uint8_t less) {
            gathered += amount;
            const int32_t whole = gathered / kNotch;
            Click(whole > 0 ? more : less, whole);
            gathered -= whole * kNotch;
        };
        axis(vertical, vertical_, kWheelUp, kWheelDown);
        axis(horizontal, horizontal_, kWheelRight, kWheelLeft);
        xcb_flush(connection_);
    }

private:
    void Click(uint8_t button, int64_t times) {
        for (int64_t click = std::abs(times); click > 0; --click) {
            Fake(XCB_BUTTON_PRESS, button);
            Fake(XCB_BUTTON_RELEASE, button);
        }
    }

    void Fake(uint8_t type, uint8_t detail) {
        xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }

    xcb_connection_t* connection_;
    std::unique_ptr<XTestGuard> guard_;
    std::set<uint16_t> held_;
    int32_t vertical_ = 0, horizontal_ = 0;  // 120ths of a notch not yet a whole one
};

}  // namespace

std::unique_ptr<OutputDevice> OpenXTestDevice(const QByteArray& display) {
    xcb_connection_t* const connection = xcb_connect(display.constData(), nullptr);
    const xcb_query_extension_reply_t* const xtest = xcb_connection_has_error(connection) == 0
                                                         ? xcb_get_extension_data(connection, &xcb_test_id)
                                                         : nullptr;
    // Without its guard a key could stay down for good after a crash: no XTest then.
    std::unique_ptr<XTestGuard> guard =
        xtest != nullptr && xtest->present != 0 ? XTestGuard::Start(display) : nullptr;
    if (!guard) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<XTestDevice>(connection, std::move(guard));
}

}  // namespace platform
