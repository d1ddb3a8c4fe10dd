#pragma once
// What the reading thread sleeps on: it wakes when a device it watches has something new to say, when a
// device node comes or goes or udev tells of an input device, when another thread asks it to, or when a
// time runs out, and not otherwise. Stick changes that nobody needs at once do not wake it: the poll
// peeks at them instead (StickWatch) and asks for a look when they matter.

#include "platform/input/JoystickDriver.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace platform {

// The reading thread looks this often at a device that tells nobody when it changes: a tick of the poll.
inline constexpr std::chrono::milliseconds LookPace{JoyTickMs};
// A HID pad read whole reaches SDL through hidraw a moment after its event node spoke (the kernel's driver
// tells the node first), and a hidraw queue left full drops the newest report: the thread looks at the
// pace for this long after such a pad spoke.
inline constexpr std::chrono::milliseconds HidFollowUp{100};

// When the thread looks next, counted from a look: at the pace while a device has no node to watch,
// while devices come and go, or while a HID pad read whole follows up; otherwise only when woken.
std::optional<std::chrono::milliseconds> NextLook(bool unwatched, bool settling, bool followingUp);

// A slot's wish for its sticks as SetAxisInterest gave it: never given, no stick output, or a dead zone.
using AxisInterest = std::optional<std::optional<int>>;

// The EV_ABS codes of a device's sticks: a pad's in the Linux gamepad layout (X and Y left, RX and RY
// right; its triggers and hat are buttons here), a raw device's every axis but its hats.
std::vector<uint16_t> StickCodes(bool pad);

// How far each stick axis of a reading may move, in -1..1 of its travel, before an output could need
// it: infinite without stick output; none while every change is wanted at once (no wish given, or a
// stick out of the dead zone, where an output acts on it).
std::optional<double> StickSlack(const AxisInterest& interest, const JOYINFOEX& reading,
                                 const JOYCAPSA& caps);

// One stick axis as the poll peeks at it: its range and its values when the thread last looked and now.
struct StickAxis {
    int32_t min = 0;
    int32_t max = 0;
    int32_t looked = 0;
    int32_t now = 0;
};
// Whether the axis moved so that a look is needed: past the slack, or, on a slot whose picture shows it,
// into another of the picture's 21 steps.
bool StickMoved(const StickAxis& axis, double slack, bool shown);

// A device node to watch, and the axes whose changes must not wake the thread.
struct Watched {
    std::string node;             // an event node; "" for a device without one
    std::vector<uint16_t> quiet;  // EV_ABS codes
};

class DeviceWatch {
public:
    DeviceWatch();
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Watches these devices' nodes and no others. True when each is an input event node opened for
    // watching, and Wake() works; a device without one says nothing when it changes, and must be looked
    // at now and then.
    bool Watch(const std::vector<Watched>& nodes);

    struct Woken {
        bool devices = false;  // a node came or went, or udev told of a device
        bool spoke = false;    // a watched node had events, or Wake() was called
    };
    // Returns once a watched node has events, a node came or went in /dev/input, udev told of an input
    // or HID device, Wake() was called since the last return, or the timeout has passed; without a
    // timeout, only for the first four.
    Woken Wait(std::optional<std::chrono::milliseconds> timeout);
    // From any thread.
    void Wake();

private:
    void WatchNodes();

    struct Node {
        int fd = -1;  // read and discarded
        std::vector<uint16_t> quiet;
    };

    int wake_ = -1;                    // an eventfd: its count is kept until Wait takes it
    int nodesChange_ = -1;             // an inotify on /dev/input, or on /dev while that is missing
    int devWatch_ = -1;                // its watch on /dev
    udev* udev_ = nullptr;             // null where udev is missing
    udev_monitor* devices_ = nullptr;  // what udevd tells listeners, SDL among them, of input and HID devices
    std::map<std::string, Node> nodes_;
};

// The sticks whose changes wait, as the poll peeks at them: each through a descriptor of its node of its
// own, which hears nothing but those sticks and is never waited on. Not thread-safe: the driver guards it.
class StickWatch {
public:
    struct Waiting {
        uint32_t slot = 0;
        std::string node;
        std::vector<uint16_t> codes;
        double slack = 0;  // see StickSlack
    };

    StickWatch() = default;
    ~StickWatch();
    StickWatch(const StickWatch&) = delete;
    StickWatch& operator=(const StickWatch&) = delete;

    // After a look: these sticks wait now, standing where the look found them.
    void Set(const std::vector<Waiting>& waiting);
    // Whether a stick that waits has moved so that a look is needed (see StickMoved); shown: the slot
    // whose picture the poll shows.
    bool Moved(uint32_t shown);

private:
    struct Sticks {
        uint32_t slot = 0;
        double slack = 0;
        int fd = -1;
        std::map<uint16_t, StickAxis> axes;  // by code
    };
    std::map<std::string, Sticks> sticks_;  // by node
};

}  // namespace platform
