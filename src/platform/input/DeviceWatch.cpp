// Only event nodes (/dev/input/event*) are watched: the kernel queues an event there when a value
// changes, so a pad at rest says nothing. A HID node carries every report the device sends, hundreds a
// second at rest, so a HID pad is watched through its kernel driver's gamepad node; SDL's virtual devices
// have no node at all.
// Where udevd runs, SDL learns of a device when udevd has run its rules and tells its listeners, which can
// be seconds after the node appears: the thread listens to udevd as SDL does, to look when SDL can know.
#include "platform/input/DeviceWatch.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
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

}  // namespace

std::optional<std::chrono::milliseconds> NextLook(bool unwatched, bool settling, bool followingUp) {
    if (unwatched || settling || followingUp) {
        return LookPace;
    }
    return std::nullopt;
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
    for (const auto& [node, fd] : nodes_) {
        close(fd);
    }
    for (const int fd : {wake_, nodesChange_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool DeviceWatch::Watch(const std::vector<std::string>& nodes) {
    std::map<std::string, int> watched;
    bool all = wake_ >= 0;  // a watch nobody can wake must not sleep for long either
    for (const std::string& node : nodes) {
        const auto kept = nodes_.find(node);
        if (kept != nodes_.end()) {
            watched.insert(nodes_.extract(kept));
            continue;
        }
        const int fd =
            node.starts_with(kEventNode) ? open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
        if (fd < 0) {
            all = false;
            continue;
        }
        watched.emplace(node, fd);
    }
    for (const auto& [node, fd] : nodes_) {
        close(fd);
    }
    nodes_ = std::move(watched);
    return all;
}

DeviceWatch::Woken DeviceWatch::Wait(std::optional<std::chrono::milliseconds> timeout) {
    std::vector<pollfd> fds{{wake_, POLLIN, 0},
                            {nodesChange_, POLLIN, 0},
                            {devices_ != nullptr ? udev_monitor_get_fd(devices_) : -1, POLLIN, 0}};
    for (const auto& [node, fd] : nodes_) {
        fds.push_back({fd, POLLIN, 0});
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
        Drain(node->second);
        // A node that errs is gone with its device: polled again it would wake the thread at once, always.
        if ((fds[n].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            close(node->second);
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

}  // namespace platform
