// Desktops sort input devices by what they declare: keyboard keys with relative axes and the mouse's
// buttons make a keyboard and a mouse, while a pad's, a joystick's or a pen's buttons would make the
// device one of those. So of the kernel's BTN_ codes only the mouse's buttons are declared.
#include "platform/output/UinputDevice.h"
#include "platform/output/KeyNames.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace platform {
namespace {

constexpr int32_t kNotch = 120;  // the kernel's high-resolution units of one notch

class UinputDevice final : public OutputDevice {
public:
    UinputDevice(int fd, libevdev_uinput* device) : fd_(fd), device_(device) {}

    // The kernel would release the keys of a removed device too; a desktop that sees them go up first
    // ends its own repeat and drags cleanly.
    ~UinputDevice() override {
        for (const uint16_t code : held_) {
            libevdev_uinput_write_event(device_, EV_KEY, code, 0);
        }
        libevdev_uinput_write_event(device_, EV_SYN, SYN_REPORT, 0);
        libevdev_uinput_destroy(device_);
        close(fd_);
    }
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    // A second press would read as the key's auto-repeat, a release of a key not held as a stray one.
    void Key(uint16_t code, bool down) override {
        if (down ? !held_.insert(code).second : held_.erase(code) == 0) {
            return;
        }
        libevdev_uinput_write_event(device_, EV_KEY, code, down ? 1 : 0);
        libevdev_uinput_write_event(device_, EV_SYN, SYN_REPORT, 0);
    }

    // The kernel drops a zero value, and a report with nothing in it.
    void Move(int32_t dx, int32_t dy) override {
        libevdev_uinput_write_event(device_, EV_REL, REL_X, dx);
        libevdev_uinput_write_event(device_, EV_REL, REL_Y, dy);
        libevdev_uinput_write_event(device_, EV_SYN, SYN_REPORT, 0);
    }

    void Wheel(int32_t notches) override { Scroll(notches * kNotch, 0); }

    // The high-resolution wheels as they turn, and the whole notches they make for programs that read
    // only those, in one report: as a mouse with a free-spinning wheel sends them.
    void Scroll(int32_t vertical, int32_t horizontal) override {
        const auto axis = [this](unsigned hiRes, unsigned notches, int32_t amount, int32_t& gathered) {
            if (amount == 0) {
                return;
            }
            libevdev_uinput_write_event(device_, EV_REL, hiRes, amount);
            gathered += amount;
            if (const int32_t whole = gathered / kNotch; whole != 0) {
                libevdev_uinput_write_event(device_, EV_REL, notches, whole);
                gathered -= whole * kNotch;
            }
        };
        axis(REL_WHEEL_HI_RES, REL_WHEEL, vertical, vertical_);
        axis(REL_HWHEEL_HI_RES, REL_HWHEEL, horizontal, horizontal_);
        libevdev_uinput_write_event(device_, EV_SYN, SYN_REPORT, 0);
    }

private:
    int fd_;
    libevdev_uinput* device_;
    std::set<uint16_t> held_;
    int32_t vertical_ = 0, horizontal_ = 0;  // 120ths of a notch not yet a whole one
};

}  // namespace

std::unique_ptr<OutputDevice> OpenUinputDevice() {
    // Opened here rather than by libevdev, which asks for reading too: writing is all the device needs,
    // and all a user's access to /dev/uinput has to allow.
    const int fd = open("/dev/uinput", O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    const std::unique_ptr<libevdev, decltype(&libevdev_free)> description(libevdev_new(), &libevdev_free);
    libevdev_set_name(description.get(), "Corvane Demo");
    for (uint16_t code = 0; code < KEY_MAX; ++code) {
        if (OutputHasCode(code)) {
            libevdev_enable_event_code(description.get(), EV_KEY, code, nullptr);
        }
    }
    for (const unsigned axis : {REL_X, REL_Y, REL_WHEEL, REL_HWHEEL, REL_WHEEL_HI_RES, REL_HWHEEL_HI_RES}) {
        libevdev_enable_event_code(description.get(), EV_REL, axis, nullptr);
    }
    libevdev_uinput* device = nullptr;
    if (libevdev_uinput_create_from_device(description.get(), fd, &device) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<UinputDevice>(fd, device);
}

}  // namespace platform
