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

class DeviceWatch {
public:
    DeviceWatch();
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Watches these device nodes (SDL's paths of the devices it reads, "" for none) and no others. True
    // when each is an input event node opened for watching, and Wake() works; a device without one says
    // nothing when it changes, and must be looked at now and then.
    bool Watch(const std::vector<std::string>& nodes);
    // Returns once a watched node has events, a node came or went in /dev/input, udev told of an input
    // or HID device, Wake() was called since the last return, or the timeout has passed; without a
    // timeout, only for the first four. True when a node came or went or udev told of a device.
    bool Wait(std::optional<std::chrono::milliseconds> timeout);
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
