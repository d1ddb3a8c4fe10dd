// HID game controllers made through /dev/uhid, driven by pad_commands.h's commands on standard input;
// abs moves an axis or a trigger (0..255), or turns a hat (0 up .. 7, 8 centred). Models: dualsense (USB) and
// dualsense-bt, which the kernel's hid-playstation driver serves and SDL's HIDAPI driver reads over hidraw;
// panel, a stick that hid-generic serves (40 buttons, two hats, six axes); and three hostile ones: hostile (a
// report descriptor of empty ranges and 255 buttons), silent (a DualSense that answers the driver's three
// feature reports and nothing after) and vanishing (one that disappears at the first feature report after the
// driver's: when SDL opens it). A DualSense repeats its input report every 10 ms, as the real pad streams its
// state, and its axes can tremble. Ends at the end of its input. Usage: uhid_pad < commands
#include "pad_commands.h"

#include <linux/uhid.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// Where a control lives in the input report: its byte, and its bits within that byte.
struct Field {
    int byte;
    int shift = 0;
    int bits = 8;
};
// A trigger sets its analog byte and, once pressed at all, its button bit, as the pad does.
struct Control {
    Field value;
    std::optional<Field> pressed = std::nullopt;
};

// Input report 1 over USB (report id, then the state), 0x31 over Bluetooth (id, sequence, the state,
// then a CRC); feature reports 5, 9 and 0x20 (calibration, pairing, firmware), as hid-playstation and
// SDL read them; output reports 2 and 0x31 (rumble and lights).
const std::vector<uint8_t> kDualSenseDescriptor = {
    0x05, 0x01, 0x09, 0x05, 0xa1, 0x01,                          // Generic Desktop, Game Pad, application
    0x06, 0x00, 0xff, 0x15, 0x00, 0x26, 0xff, 0x00, 0x75, 0x08,  // vendor bytes 0..255
    0x85, 0x01, 0x09, 0x20, 0x95, 63,   0x81, 0x02,              // input 1
    0x85, 0x31, 0x09, 0x21, 0x95, 77,   0x81, 0x02,              // input 0x31
    0x85, 0x02, 0x09, 0x22, 0x95, 62,   0x91, 0x02,              // output 2
    0x85, 0x31, 0x09, 0x23, 0x95, 77,   0x91, 0x02,              // output 0x31
    0x85, 0x05, 0x09, 0x24, 0x95, 40,   0xb1, 0x02,              // feature 5
    0x85, 0x09, 0x09, 0x25, 0x95, 19,   0xb1, 0x02,              // feature 9
    0x85, 0x20, 0x09, 0x26, 0x95, 63,   0xb1, 0x02,              // feature 0x20
    0xc0,
};

// No report id: six 8-bit axes, two 4-bit hats with a null state, 40 one-bit buttons.
const std::vector<uint8_t> kPanelDescriptor = {
    0x05, 0x01, 0x09, 0x04, 0xa1, 0x01,                                      // Joystick, application
    0x09, 0x30, 0x09, 0x31, 0x09, 0x32, 0x09, 0x33, 0x09, 0x34, 0x09, 0x35,  // X Y Z Rx Ry Rz
    0x15, 0x00, 0x26, 0xff, 0x00, 0x75, 0x08, 0x95, 0x06, 0x81, 0x02,        //
    0x09, 0x39, 0x09, 0x39, 0x25, 0x07, 0x75, 0x04, 0x95, 0x02, 0x81, 0x42,  // two hats
    0x05, 0x09, 0x19, 0x01, 0x29, 40,   0x25, 0x01, 0x75, 0x01, 0x95, 40,   0x81, 0x02,  // buttons 1..40
    0xc0,
};

// What the kernel accepts but no stick should say: an axis and a hat whose ranges are empty, 255 buttons.
const std::vector<uint8_t> kHostileDescriptor = {
    0x05, 0x01, 0x09, 0x04, 0xa1, 0x01,                                      // Joystick, application
    0x09, 0x30, 0x15, 0x00, 0x25, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02,  // X, 0..0
    0x09, 0x39, 0x81, 0x42,                                                  // a hat, 0..0
    0x05, 0x09, 0x19, 0x01, 0x29, 0xff, 0x25, 0x01,                          // buttons 1..255,
    0x75, 0x01, 0x96, 0xff, 0x00, 0x81, 0x02,                                // a bit each
    0x75, 0x01, 0x95, 0x01, 0x81, 0x01,                                      // padding to whole bytes
    0xc0,
};

enum class Kind { DualSense, Panel, Hostile };
enum class Feature { Answer, Silent, Vanish };  // after the driver's feature reports
constexpr int kDriverReports = 3;               // hid-playstation's pairing, firmware and calibration

struct Model {
    const char* name;
    Kind kind;
    uint16_t bus;
    uint32_t vendor;
    uint32_t product;
    Feature feature = Feature::Answer;
};

const std::map<std::string, Model> kModels = {
    {"dualsense",
     {"Sony Interactive Entertainment Wireless Controller", Kind::DualSense, BUS_USB, 0x054c, 0x0ce6}},
    {"dualsense-bt", {"DualSense Wireless Controller", Kind::DualSense, BUS_BLUETOOTH, 0x054c, 0x0ce6}},
    // pid.codes' test identifiers: no driver and no mapping database claims them.
    {"panel", {"Corvane Test HID Panel", Kind::Panel, BUS_USB, 0x1209, 0x0003}},
    {"hostile", {"Corvane Test Hostile Stick", Kind::Hostile, BUS_USB, 0x1209, 0x0004}},
    {"silent",
     {"DualSense Wireless Controller", Kind::DualSense, BUS_BLUETOOTH, 0x054c, 0x0ce6, Feature::Silent}},
    {"vanishing",
     {"DualSense Wireless Controller", Kind::DualSense, BUS_BLUETOOTH, 0x054c, 0x0ce6, Feature::Vanish}},
};

// The DualSense state, after the report's header: sticks, triggers, then buttons with the hat.
const std::map<std::string, Control> kDualSenseControls = {
    {"lx", {{0}}},
    {"ly", {{1}}},
    {"rx", {{2}}},
    {"ry", {{3}}},
    {"l2", {{4}, Field{8, 2, 1}}},
    {"r2", {{5}, Field{8, 3, 1}}},
    {"hat", {{7, 0, 4}}},
    {"square", {{7, 4, 1}}},
    {"cross", {{7, 5, 1}}},
    {"circle", {{7, 6, 1}}},
    {"triangle", {{7, 7, 1}}},
    {"l1", {{8, 0, 1}}},
    {"r1", {{8, 1, 1}}},
    {"create", {{8, 4, 1}}},
    {"options", {{8, 5, 1}}},
    {"l3", {{8, 6, 1}}},
    {"r3", {{8, 7, 1}}},
    {"ps", {{9, 0, 1}}},
};

std::map<std::string, Control> PanelControls() {
    std::map<std::string, Control> controls = {{"x", {{0}}},          {"y", {{1}}},         {"z", {{2}}},
                                               {"rx", {{3}}},         {"ry", {{4}}},        {"rz", {{5}}},
                                               {"hat1", {{6, 0, 4}}}, {"hat2", {{6, 4, 4}}}};
    for (int button = 1; button <= 40; ++button) {
        controls["b" + std::to_string(button)] = {{7 + (button - 1) / 8, (button - 1) % 8, 1}};
    }
    return controls;
}
const std::map<std::string, Control> kPanelControls = PanelControls();
const std::map<std::string, Control> kNoControls;

// Bluetooth reports end in a CRC-32 over a one-byte header and the report (0xa1 input, 0xa3 feature).
void SealBluetooth(std::vector<uint8_t>& report, uint8_t header) {
    uLong crc = crc32(0L, &header, 1);
    crc = crc32(crc, report.data(), static_cast<uInt>(report.size() - 4));
    for (int n = 0; n < 4; ++n) {
        report[report.size() - 4 + n] = static_cast<uint8_t>(crc >> (8 * n));
    }
}

class Device {
public:
    Device(const Model& model, uint8_t serial) : model_(model), fd_(open("/dev/uhid", O_RDWR | O_CLOEXEC)) {
        Check(fd_ >= 0, "open /dev/uhid");
        uhid_event event{};
        event.type = UHID_CREATE2;
        auto& create = event.u.create2;
        std::strncpy(reinterpret_cast<char*>(create.name), model.name, sizeof create.name - 1);
        std::snprintf(reinterpret_cast<char*>(create.uniq), sizeof create.uniq, "a0:ab:51:00:00:%02x",
                      serial);
        const std::vector<uint8_t>& descriptor = model.kind == Kind::DualSense ? kDualSenseDescriptor
                                                 : model.kind == Kind::Panel   ? kPanelDescriptor
                                                                               : kHostileDescriptor;
        std::memcpy(create.rd_data, descriptor.data(), descriptor.size());
        create.rd_size = static_cast<uint16_t>(descriptor.size());
        create.bus = model.bus;
        create.vendor = model.vendor;
        create.product = model.product;
        // The versions of real pads, which SDL's mapping database keys the kernel driver's layout on.
        create.version = model.bus == BUS_USB ? 0x0111 : 0x0000;
        mac_ = {serial, 0x00, 0x00, 0x51, 0xab, 0xa0};  // little-endian, as the pairing report has it
        if (model.kind == Kind::DualSense) {
            const bool usb = model.bus == BUS_USB;
            state_.assign(usb ? 64 : 78, 0);
            state_[0] = usb ? 0x01 : 0x31;
            offset_ = usb ? 1 : 2;
            for (const int stick : {0, 1, 2, 3}) {
                state_[offset_ + stick] = 0x80;
            }
            state_[offset_ + 7] = 0x08;                          // hat centred
            state_[offset_ + 32] = state_[offset_ + 36] = 0x80;  // no finger on the touchpad
        } else {
            state_.assign(model.kind == Kind::Panel ? 12 : 34, 0);
            if (model.kind == Kind::Panel) {
                std::fill_n(state_.begin(), 6, 0x80);
                state_[6] = 0x88;  // both hats in their null state
            }
        }
        try {
            Write(event);
            SendState();
        } catch (...) {
            close(fd_);
            throw;
        }
    }
    ~Device() {
        uhid_event event{};
        event.type = UHID_DESTROY;
        (void)write(fd_, &event, sizeof event);
        close(fd_);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    int Fd() const { return fd_; }
    bool Streams() const { return model_.kind == Kind::DualSense; }

    void Set(const std::string& control, int value, bool key) {
        const auto& controls = model_.kind == Kind::DualSense ? kDualSenseControls
                               : model_.kind == Kind::Panel   ? kPanelControls
                                                              : kNoControls;
        const auto found = controls.find(control);
        if (found == controls.end() || (found->second.value.bits == 1) != key) {
            throw std::runtime_error("no " + std::string(key ? "button " : "axis ") + control);
        }
        Put(found->second.value, value);
        if (found->second.pressed) {
            Put(*found->second.pressed, value > 0 ? 1 : 0);
        }
        SendState();
    }

    void Tremble(const std::string& control, int value) {
        Set(control, value, false);
        tremble_ = {kDualSenseControls.at(control).value, value};
    }

    // The report a streaming pad repeats every 10 ms, its trembling axis a step further.
    void Stream() {
        if (tremble_) {
            Put(tremble_->first, tremble_->second + (++reports_ % 2));
        }
        SendState();
    }

    void SendState() {
        if (model_.kind == Kind::DualSense) {
            ++state_[offset_ + 6];  // the report counter
            if (model_.bus == BUS_BLUETOOTH) {
                SealBluetooth(state_, 0xa1);
            }
        }
        uhid_event event{};
        event.type = UHID_INPUT2;
        event.u.input2.size = static_cast<uint16_t>(state_.size());
        std::memcpy(event.u.input2.data, state_.data(), state_.size());
        Write(event);
    }

    // Serves one event from the kernel; false once the device has gone away by its own choice.
    bool Serve() {
        uhid_event event{};
        if (read(fd_, &event, sizeof event) <= 0 || event.type != UHID_GET_REPORT) {
            return true;  // start, stop, open, close and output reports need no answer
        }
        ++asked_;
        if (asked_ > kDriverReports && model_.feature != Feature::Answer) {
            return model_.feature == Feature::Silent;
        }
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = event.u.get_report.id;
        const std::vector<uint8_t> report = FeatureReport(event.u.get_report.rnum);
        reply.u.get_report_reply.err = report.empty() ? EIO : 0;
        reply.u.get_report_reply.size = static_cast<uint16_t>(report.size());
        std::memcpy(reply.u.get_report_reply.data, report.data(), report.size());
        Write(reply);
        return true;
    }

private:
    void Put(const Field& field, int value) {
        const int mask = ((1 << field.bits) - 1) << field.shift;
        uint8_t& byte = state_[offset_ + field.byte];
        byte = static_cast<uint8_t>((byte & ~mask) | ((value << field.shift) & mask));
    }

    std::vector<uint8_t> FeatureReport(uint8_t id) const {
        if (model_.kind != Kind::DualSense) {
            return {};
        }
        std::vector<uint8_t> report;
        if (id == 0x09) {  // pairing: the pad's address
            report.assign(20, 0);
            std::copy(mac_.begin(), mac_.end(), report.begin() + 1);
        } else if (id == 0x05) {  // calibration: no bias, a range the driver can divide by
            report.assign(41, 0);
            const int16_t values[] = {0,   0,   0,    1024,  -1024, 1024,  -1024, 1024, -1024,
                                      540, 540, 8192, -8192, 8192,  -8192, 8192,  -8192};
            for (std::size_t n = 0; n < std::size(values); ++n) {
                report[1 + 2 * n] = static_cast<uint8_t>(values[n] & 0xff);
                report[2 + 2 * n] = static_cast<uint8_t>((values[n] >> 8) & 0xff);
            }
        } else if (id == 0x20) {  // firmware: versions at 24, 28 and 44
            report.assign(64, 0);
            report[24] = 0x01;
            report[28] = 0x01;
            report[44] = 0x02;
        } else {
            return {};
        }
        report[0] = id;
        if (model_.bus == BUS_BLUETOOTH) {
            SealBluetooth(report, 0xa3);
        }
        return report;
    }

    void Write(const uhid_event& event) {
        Check(write(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event), "write uhid event");
    }

    Model model_;
    int fd_;
    std::vector<uint8_t> state_;
    std::size_t offset_ = 0;
    std::vector<uint8_t> mac_;
    int asked_ = 0;                                 // feature reports asked for
    std::optional<std::pair<Field, int>> tremble_;  // the axis that trembles, and its lower value
    unsigned reports_ = 0;                          // streamed
};

class Pads {
public:
    // Runs command <number> and answers it.
    void Run(int number, const std::string& line) {
        RunCommand(devices_, number, line,
                   [this](const std::string& model, std::istream&) -> std::unique_ptr<Device> {
                       const auto found = kModels.find(model);
                       return found == kModels.end() ? nullptr
                                                     : std::make_unique<Device>(found->second, ++serial_);
                   });
    }

    // Waits up to 10 ms for standard input; serves the devices meanwhile. False at the end of input.
    bool Wait(std::string& input) {
        std::vector<pollfd> fds = {{STDIN_FILENO, POLLIN, 0}};
        for (const auto& [name, device] : devices_) {
            fds.push_back({device->Fd(), POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), 10) == 0) {
            for (const auto& [name, device] : devices_) {
                if (device->Streams()) {
                    device->Stream();
                }
            }
            return true;
        }
        auto device = devices_.begin();
        for (std::size_t n = 1; n < fds.size(); ++n) {
            const bool gone = (fds[n].revents & POLLIN) != 0 && !device->second->Serve();
            device = gone ? devices_.erase(device) : std::next(device);
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) == 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        input.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
        return got > 0;
    }

private:
    std::map<std::string, std::unique_ptr<Device>> devices_;
    uint8_t serial_ = 0;  // the last pad's address byte: no two pads share an address
};

}  // namespace

int main() {
    Pads pads;
    std::string input;
    int number = 0;
    for (bool more = true; more;) {
        try {
            more = pads.Wait(input);
        } catch (const std::exception& failure) {  // a report the kernel refused: told, the rest go on
            std::cerr << "uhid_pad: " << failure.what() << std::endl;
        }
        for (std::size_t end; (end = input.find('\n')) != std::string::npos;) {
            pads.Run(++number, input.substr(0, end));
            input.erase(0, end + 1);
        }
    }
    return 0;
}
