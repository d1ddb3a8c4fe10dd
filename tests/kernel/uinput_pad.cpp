// Kernel game controllers made through /dev/uinput, driven by pad_commands.h's commands on standard
// input: "add <name> xbox360|stick|many [phys]" makes an X-Box 360 pad as the xpad driver presents it,
// a generic stick that no controller database knows, or a panel with 40 buttons and two hats; phys is
// the physical path (the port) the kernel shows, such as usb-0000:00:14.0-2/input0. Buttons and axes go
// by their kernel names (BTN_A, ABS_HAT0X). "add <name> forward <node> <button> <key>" makes a keyboard
// whose key a thread sets from that button as read on the event node: the least a program can do, the
// output's yardstick. Ends at the end of its input. Usage: uinput_pad < commands
#include "pad_commands.h"

#include <linux/uinput.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Axis {
    int code;
    int minimum;
    int maximum;
    int rest;  // centred sticks and hats, released triggers
};

struct Model {
    const char* name;
    uint16_t vendor;
    uint16_t product;
    uint16_t version;
    std::vector<int> buttons;
    std::vector<Axis> axes;
};

const Model kXbox360 = {
    "Microsoft X-Box 360 pad",
    0x045e,
    0x028e,
    0x0114,
    {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START, BTN_MODE, BTN_THUMBL, BTN_THUMBR},
    {{ABS_X, -32768, 32767, 0},
     {ABS_Y, -32768, 32767, 0},
     {ABS_Z, 0, 255, 0},
     {ABS_RX, -32768, 32767, 0},
     {ABS_RY, -32768, 32767, 0},
     {ABS_RZ, 0, 255, 0},
     {ABS_HAT0X, -1, 1, 0},
     {ABS_HAT0Y, -1, 1, 0}},
};

// pid.codes' test identifier: no mapping database lists it.
const Model kStick = {
    "Corvane Test Stick",
    0x1209,
    0x0001,
    0x0100,
    {BTN_TRIGGER, BTN_THUMB, BTN_THUMB2, BTN_TOP},
    {{ABS_X, 0, 1023, 512}, {ABS_Y, 0, 1023, 512}, {ABS_HAT0X, -1, 1, 0}, {ABS_HAT0Y, -1, 1, 0}},
};

// More buttons than a mask holds and a second hat: 16 joystick buttons, then 24 extra ones.
Model ManyButtons() {
    Model model = {"Corvane Test Panel", 0x1209, 0x0002, 0x0100, {}, {}};
    for (int button = BTN_TRIGGER; button <= BTN_DEAD; ++button) {
        model.buttons.push_back(button);
    }
    for (int button = BTN_TRIGGER_HAPPY1; button <= BTN_TRIGGER_HAPPY24; ++button) {
        model.buttons.push_back(button);
    }
    model.axes = {{ABS_X, 0, 1023, 512}, {ABS_Y, 0, 1023, 512}, {ABS_HAT0X, -1, 1, 0},
                  {ABS_HAT0Y, -1, 1, 0}, {ABS_HAT1X, -1, 1, 0}, {ABS_HAT1Y, -1, 1, 0}};
    return model;
}
const Model kManyButtons = ManyButtons();

const std::map<std::string, int> kCodes = {
    {"BTN_A", BTN_A},
    {"BTN_B", BTN_B},
    {"BTN_X", BTN_X},
    {"BTN_Y", BTN_Y},
    {"BTN_TL", BTN_TL},
    {"BTN_TR", BTN_TR},
    {"BTN_SELECT", BTN_SELECT},
    {"BTN_START", BTN_START},
    {"BTN_MODE", BTN_MODE},
    {"BTN_THUMBL", BTN_THUMBL},
    {"BTN_THUMBR", BTN_THUMBR},
    {"BTN_TRIGGER", BTN_TRIGGER},
    {"BTN_THUMB", BTN_THUMB},
    {"BTN_THUMB2", BTN_THUMB2},
    {"BTN_TOP", BTN_TOP},
    {"ABS_X", ABS_X},
    {"ABS_Y", ABS_Y},
    {"ABS_Z", ABS_Z},
    {"ABS_RX", ABS_RX},
    {"ABS_RY", ABS_RY},
    {"ABS_RZ", ABS_RZ},
    {"ABS_HAT0X", ABS_HAT0X},
    {"ABS_HAT0Y", ABS_HAT0Y},
    {"ABS_HAT1X", ABS_HAT1X},
    {"BTN_TRIGGER_HAPPY1", BTN_TRIGGER_HAPPY1},
    {"BTN_TRIGGER_HAPPY24", BTN_TRIGGER_HAPPY24},
    {"KEY_A", KEY_A},
};

int Code(const std::string& name) {
    const auto found = kCodes.find(name);
    if (found == kCodes.end()) {
        throw std::runtime_error("unknown code " + name);
    }
    return found->second;
}

class Device {
public:
    Device(const Model& model, const std::string& phys)
        : fd_(open("/dev/uinput", O_WRONLY | O_NONBLOCK | O_CLOEXEC)) {
        Check(fd_ >= 0, "open /dev/uinput");
        try {
            Create(model, phys);
        } catch (...) {
            close(fd_);
            throw;
        }
    }
    ~Device() {
        if (forwarder_.joinable()) {
            ioctl(source_, EVIOCREVOKE, nullptr);  // wakes the forwarder's read
            forwarder_.join();
            close(source_);
        }
        ioctl(fd_, UI_DEV_DESTROY);
        close(fd_);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    void Set(const std::string& control, int value, bool key) {
        Write(key ? EV_KEY : EV_ABS, Code(control), value);
        Write(EV_SYN, SYN_REPORT, 0);
    }

    void Forward(const std::string& node, int button, const std::string& key) {
        source_ = open(node.c_str(), O_RDONLY | O_CLOEXEC);
        Check(source_ >= 0, "open " + node);
        forwarder_ = std::thread([this, button, key] {
            for (input_event event{}; read(source_, &event, sizeof event) > 0;) {
                if (event.type == EV_KEY && event.code == button) {
                    Set(key, event.value, true);
                }
            }
        });
    }

private:
    void Create(const Model& model, const std::string& phys) {
        if (!phys.empty()) {
            Check(ioctl(fd_, UI_SET_PHYS, phys.c_str()) == 0, "UI_SET_PHYS");
        }
        Check(ioctl(fd_, UI_SET_EVBIT, EV_KEY) == 0, "UI_SET_EVBIT EV_KEY");
        for (const int button : model.buttons) {
            Check(ioctl(fd_, UI_SET_KEYBIT, button) == 0, "UI_SET_KEYBIT");
        }
        Check(ioctl(fd_, UI_SET_EVBIT, EV_ABS) == 0, "UI_SET_EVBIT EV_ABS");
        for (const Axis& axis : model.axes) {
            Check(ioctl(fd_, UI_SET_ABSBIT, axis.code) == 0, "UI_SET_ABSBIT");
            uinput_abs_setup setup{};
            setup.code = static_cast<uint16_t>(axis.code);
            setup.absinfo.minimum = axis.minimum;
            setup.absinfo.maximum = axis.maximum;
            setup.absinfo.value = axis.rest;
            Check(ioctl(fd_, UI_ABS_SETUP, &setup) == 0, "UI_ABS_SETUP");
        }
        uinput_setup setup{};
        setup.id.bustype = BUS_USB;
        setup.id.vendor = model.vendor;
        setup.id.product = model.product;
        setup.id.version = model.version;
        std::strncpy(setup.name, model.name, UINPUT_MAX_NAME_SIZE - 1);
        Check(ioctl(fd_, UI_DEV_SETUP, &setup) == 0, "UI_DEV_SETUP");
        Check(ioctl(fd_, UI_DEV_CREATE) == 0, "UI_DEV_CREATE");
    }

    void Write(int type, int code, int value) {
        input_event event{};
        event.type = static_cast<uint16_t>(type);
        event.code = static_cast<uint16_t>(code);
        event.value = value;
        Check(write(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event), "write event");
    }

    int fd_;
    int source_ = -1;
    std::thread forwarder_;
};

}  // namespace

int main() {
    std::map<std::string, std::unique_ptr<Device>> devices;
    const auto make = [](const std::string& model, std::istream& rest) -> std::unique_ptr<Device> {
        std::string phys, button, key;
        rest >> phys >> button >> key;
        if (model == "forward") {  // phys: the event node read
            auto device = std::make_unique<Device>(Model{"Corvane Forwarder", 0, 0, 0, {Code(key)}, {}}, "");
            device->Forward(phys, Code(button), key);
            return device;
        }
        const Model* found = model == "xbox360" ? &kXbox360
                             : model == "stick" ? &kStick
                             : model == "many"  ? &kManyButtons
                                                : nullptr;
        return found == nullptr ? nullptr : std::make_unique<Device>(*found, phys);
    };
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        RunCommand(devices, number, line, make);
    }
    return 0;
}
