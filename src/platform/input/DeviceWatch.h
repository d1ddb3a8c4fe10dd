#pragma once
// What the reading thread sleeps on: it wakes when a device it watches has something new to say, when
// another thread asks it to, or when a time runs out, and not otherwise.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
    // Returns once a watched node has events, Wake() was called since the last return, or the timeout
    // has passed; without a timeout, only for the first two.
    void Wait(std::optional<std::chrono::milliseconds> timeout);
    // From any thread.
    void Wake();

private:
    int wake_ = -1;                     // an eventfd: its count is kept until Wait takes it
    std::map<std::string, int> nodes_;  // watched node -> a descriptor of its own, read and discarded
};

}  // namespace platform
