#pragma once
// What the reading thread sleeps on: it wakes when a device it watches has something new to say, when a
// device node comes or goes or udev tells of an input device, when another thread asks it to, or when a
// time runs out, and not otherwise.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace platform {

// The reading thread looks this often at a device that tells nobody when it changes: a tick of the poll.
inline constexpr std::chrono::milliseconds LookPace{25};
// A HID pad read whole reaches SDL through hidraw a moment after its event node spoke (the kernel's driver
// tells the node first), and a hidraw queue left full drops the newest report: the thread looks at the
// pace for this long after such a pad spoke.
inline constexpr std::chrono::milliseconds HidFollowUp{100};

// When the thread looks next, counted from a look: at the pace while a device has no node to watch,
// while devices come and go, or while a HID pad read whole follows up; otherwise only when woken.
std::optional<std::chrono::milliseconds> NextLook(bool unwatched, bool settling, bool followingUp);

class DeviceWatch {
public:
    DeviceWatch();
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Watches these device nodes ("" for a device without one) and no others. True when each is an input
    // event node opened for watching, and Wake() works; a device without one says nothing when it changes,
    // and must be looked at now and then.
    bool Watch(const std::vector<std::string>& nodes);

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

    int wake_ = -1;                    // an eventfd: its count is kept until Wait takes it
    int nodesChange_ = -1;             // an inotify on /dev/input, or on /dev while that is missing
    int devWatch_ = -1;                // its watch on /dev
    udev* udev_ = nullptr;             // null where udev is missing
    udev_monitor* devices_ = nullptr;  // what udevd tells listeners, SDL among them, of input and HID devices
    std::map<std::string, int> nodes_;  // watched node -> a descriptor of its own, read and discarded
};

}  // namespace platform
