// Only event nodes (/dev/input/event*) are watched: the kernel queues an event there when a value
// changes, so a pad at rest says nothing. A HID node carries every report the device sends, hundreds a
// second at rest, so a HID pad is watched through its kernel driver's gamepad node; SDL's virtual devices
// have no node at all.
// A stick that trembles at rest changes a hundred times a second. The kernel filters each descriptor's
// events by code (EVIOCSMASK) and wakes nobody for a report it filtered whole: the thread's descriptor
// leaves out the sticks whose changes may wait, and a descriptor of the poll's hears only them.
// Where udevd runs, SDL learns of a device when udevd has run its rules and tells its listeners, which can
// be seconds after the node appears: the thread listens to udevd as SDL does, to look when SDL can know.
#include "platform/input/DeviceWatch.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <libudev.h>
#include <limits>
#include <linux/input.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::string_view kEventNode = "/dev/input/event";
// Created and removed: SDL learns of a device a moment later (see the driver's settling).
constexpr uint32_t kNodeChanges = IN_CREATE | IN_DELETE;

// Reads what is queued, so that poll() sleeps again; SDL reads the same events on a descriptor of its own.
void Drain(int fd) {
    std::array<char, 4096> discarded{};
    while (read(fd, discarded.data(), discarded.size()) > 0) {
    }
}

// A kernel bitmap of count bits, as the evdev ioctls take it: longs, bit n of the whole is code n.
constexpr std::size_t kLongBits = 8 * sizeof(unsigned long);
template<std::size_t Count>
using Bits = std::array<unsigned long, (Count + kLongBits - 1) / kLongBits>;

template<std::size_t Count>
void SetBit(Bits<Count>& bits, unsigned code, bool on) {
    const unsigned long bit = 1UL << (code % kLongBits);
    bits[code / kLongBits] = on ? bits[code / kLongBits] | bit : bits[code / kLongBits] & ~bit;
}

// Lets through the descriptor only events of type whose codes are set.
template<std::size_t Count>
bool Mask(int fd, unsigned type, const Bits<Count>& codes) {
    input_mask mask{type, static_cast<__u32>(sizeof codes), reinterpret_cast<uintptr_t>(codes.data())};
    return ioctl(fd, EVIOCSMASK, &mask) == 0;
}

// Every axis but these; a kernel without masks wakes the thread for them too.
void Quiet(int fd, const std::vector<uint16_t>& quiet) {
    Bits<ABS_CNT> axes{};
    axes.fill(~0UL);
    for (const uint16_t code : quiet) {
        SetBit<ABS_CNT>(axes, code, false);
    }
    Mask<ABS_CNT>(fd, EV_ABS, axes);
}

// A value in -1..1 of its travel; 0 where the range is empty.
double Travel(double value, double min, double max) {
    if (max <= min) {
        return 0;
    }
    const double half = (max - min) / 2;
    return std::clamp((value - (min + half)) / half, -1.0, 1.0);
}

}  // namespace

std::optional<std::chrono::milliseconds> NextLook(bool unwatched, bool settling, bool followingUp) {
    if (unwatched || settling || followingUp) {
        return LookPace;
    }
    return std::nullopt;
}

std::vector<uint16_t> StickCodes(bool pad) {
    if (pad) {
        return {ABS_X, ABS_Y, ABS_RX, ABS_RY};
    }
    std::vector<uint16_t> codes;
    for (uint16_t code = 0; code < ABS_CNT; ++code) {
        if (code < ABS_HAT0X || code > ABS_HAT3Y) {
            codes.push_back(code);
        }
    }
    return codes;
}

std::optional<double> StickSlack(const AxisInterest& interest, const JOYINFOEX& reading,
                                 const JOYCAPSA& caps) {
    if (!interest) {
        return std::nullopt;
    }
    if (!*interest) {
        return std::numeric_limits<double>::infinity();
    }
    // As the output measures a push: how far from the centre, whichever way.
    const double left = std::hypot(Travel(reading.dwXpos, caps.wXmin, caps.wXmax),
                                   Travel(reading.dwYpos, caps.wYmin, caps.wYmax));
    const double right = std::hypot(Travel(reading.dwRpos, caps.wRmin, caps.wRmax),
                                    Travel(reading.dwZpos, caps.wZmin, caps.wZmax));
    const double zone = **interest / 100.0;
    if (std::max(left, right) > zone) {
        return std::nullopt;
    }
    // Both axes of a stick may move at once: each by this much keeps it inside.
    return (zone - std::max(left, right)) / std::sqrt(2.0);
}

bool StickMoved(const StickAxis& axis, double slack, bool shown) {
    const double looked = Travel(axis.looked, axis.min, axis.max);
    const double now = Travel(axis.now, axis.min, axis.max);
    // The picture rounds a stick's travel to tenths, half to even, as the monitor does.
    return std::abs(now - looked) >= slack ||
           (shown && std::nearbyint(10 * now) != std::nearbyint(10 * looked));
}

DeviceWatch::DeviceWatch()
    : wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), nodesChange_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)),
      udev_(udev_new()) {
    WatchNodes();
    devices_ = udev_ != nullptr ? udev_monitor_new_from_netlink(udev_, "udev") : nullptr;
    // SDL's joysticks listen to "input", its HID pads to "hidraw".
    const auto listen = [this](const char* subsystem) {
        return udev_monitor_filter_add_match_subsystem_devtype(devices_, subsystem, nullptr) >= 0;
    };
    if (devices_ != nullptr &&
        !(listen("input") && listen("hidraw") && udev_monitor_enable_receiving(devices_) >= 0)) {
        devices_ = udev_monitor_unref(devices_);
    }
}

// Nodes come and go in /dev/input, which comes with the first input device: /dev is watched until then.
void DeviceWatch::WatchNodes() {
    if (inotify_add_watch(nodesChange_, "/dev/input", kNodeChanges) >= 0) {
        if (devWatch_ >= 0) {
            inotify_rm_watch(nodesChange_, devWatch_);
        }
        devWatch_ = -1;
    } else if (devWatch_ < 0) {
        devWatch_ = inotify_add_watch(nodesChange_, "/dev", IN_CREATE);
    }
}

DeviceWatch::~DeviceWatch() {
    udev_monitor_unref(devices_);
    udev_unref(udev_);
    for (const auto& [node, watched] : nodes_) {
        close(watched.fd);
    }
    for (const int fd : {wake_, nodesChange_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool DeviceWatch::Watch(const std::vector<Watched>& nodes) {
    std::map<std::string, Node> watched;
    bool all = wake_ >= 0;  // a watch nobody can wake must not sleep for long either
    for (const Watched& device : nodes) {
        Node node;
        if (const auto kept = nodes_.find(device.node); kept != nodes_.end()) {
            node = nodes_.extract(kept).mapped();
        } else if (device.node.starts_with(kEventNode)) {
            node.fd = open(device.node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        if (node.fd < 0) {
            all = false;
            continue;
        }
        if (node.quiet != device.quiet) {
            Quiet(node.fd, device.quiet);
            node.quiet = device.quiet;
        }
        watched.emplace(device.node, std::move(node));
    }
    for (const auto& [node, left] : nodes_) {
        close(left.fd);
    }
    nodes_ = std::move(watched);
    return all;
}

DeviceWatch::Woken DeviceWatch::Wait(std::optional<std::chrono::milliseconds> timeout) {
    std::vector<pollfd> fds{{wake_, POLLIN, 0},
                            {nodesChange_, POLLIN, 0},
                            {devices_ != nullptr ? udev_monitor_get_fd(devices_) : -1, POLLIN, 0}};
    for (const auto& [node, watched] : nodes_) {
        fds.push_back({watched.fd, POLLIN, 0});
    }
    const int ms = timeout ? static_cast<int>(timeout->count()) : -1;
    while (poll(fds.data(), fds.size(), ms) < 0 && errno == EINTR) {
    }
    Woken woken;
    uint64_t count = 0;
    woken.spoke = read(wake_, &count, sizeof count) > 0;  // else not woken by a call: nothing to take
    if ((fds[1].revents & POLLIN) != 0) {
        woken.devices = true;
        Drain(nodesChange_);
        WatchNodes();  // again: /dev/input may have come
    }
    if ((fds[2].revents & POLLIN) != 0) {
        woken.devices = true;
        while (udev_device* device = udev_monitor_receive_device(devices_)) {
            udev_device_unref(device);
        }
    }
    std::size_t n = 3;  // fds[n] is the node's: both follow the map's order
    for (auto node = nodes_.begin(); node != nodes_.end(); ++n) {
        woken.spoke = woken.spoke || (fds[n].revents & POLLIN) != 0;
        Drain(node->second.fd);
        // A node that errs is gone with its device: polled again it would wake the thread at once, always.
        if ((fds[n].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            close(node->second.fd);
            node = nodes_.erase(node);
        } else {
            ++node;
        }
    }
    return woken;
}

void DeviceWatch::Wake() {
    const uint64_t one = 1;
    if (write(wake_, &one, sizeof one) < 0) {
        // The count is at its limit: the thread is woken already.
    }
}

StickWatch::~StickWatch() {
    Set({});
}

void StickWatch::Set(const std::vector<Waiting>& waiting) {
    std::map<std::string, Sticks> sticks;
    for (const Waiting& wait : waiting) {
        Sticks stick{wait.slot, wait.slack, -1, {}};
        if (const auto kept = sticks_.find(wait.node); kept != sticks_.end()) {
            stick.fd = std::exchange(kept->second.fd, -1);
        } else if (const int fd = open(wait.node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); fd >= 0) {
            Bits<EV_CNT> types{};
            SetBit<EV_CNT>(types, EV_ABS, true);
            Bits<ABS_CNT> axes{};
            for (const uint16_t code : wait.codes) {
                SetBit<ABS_CNT>(axes, code, true);
            }
            // Without masks every event would come through: the sticks are not watched then.
            if (Mask<EV_CNT>(fd, 0, types) && Mask<ABS_CNT>(fd, EV_ABS, axes)) {
                stick.fd = fd;
            } else {
                close(fd);
            }
        }
        if (stick.fd < 0) {
            continue;
        }
        // Where they stand now, what came before read and dropped.
        Drain(stick.fd);
        for (const uint16_t code : wait.codes) {
            input_absinfo info{};
            if (ioctl(stick.fd, EVIOCGABS(code), &info) == 0) {
                stick.axes[code] = {info.minimum, info.maximum, info.value, info.value};
            }
        }
        sticks.emplace(wait.node, std::move(stick));
    }
    for (const auto& [node, left] : sticks_) {
        if (left.fd >= 0) {
            close(left.fd);
        }
    }
    sticks_ = std::move(sticks);
}

bool StickWatch::Moved(uint32_t shown) {
    bool moved = false;
    for (auto& [node, sticks] : sticks_) {
        std::array<input_event, 64> events{};
        ssize_t got = 0;
        bool dropped = false;
        while ((got = read(sticks.fd, events.data(), sizeof events)) > 0) {
            for (std::size_t n = 0; n < std::size_t(got) / sizeof(input_event); ++n) {
                const input_event& event = events[n];
                dropped = dropped || (event.type == EV_SYN && event.code == SYN_DROPPED);
                if (const auto axis = sticks.axes.find(event.code);
                    event.type == EV_ABS && axis != sticks.axes.end()) {
                    axis->second.now = event.value;
                }
            }
        }
        // The kernel dropped what was queued: ask where the sticks stand.
        for (auto& [code, axis] : sticks.axes) {
            input_absinfo info{};
            if (dropped && ioctl(sticks.fd, EVIOCGABS(code), &info) == 0) {
                axis.now = info.value;
            }
        }
        for (const auto& [code, axis] : sticks.axes) {
            moved = moved || StickMoved(axis, sticks.slack, sticks.slot == shown);
        }
    }
    return moved;
}

}  // namespace platform
