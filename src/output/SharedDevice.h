#pragma once
// One keyboard and mouse for every pad: each pad's engine presses and releases keys as if the device
// were its own, and a key goes up only once no pad holds it. A pad that lets go of everything (an
// unplug, a stop, a switch) releases what it alone holds.

#include "platform/output/OutputDevice.h"

#include <map>
#include <memory>
#include <mutex>

namespace output {

class SharedDevice final : public platform::OutputDevice {
public:
    explicit SharedDevice(std::unique_ptr<platform::OutputDevice> device);

    // From the pads' threads, one call at a time.
    void Key(uint16_t code, bool down) override;
    void Move(int32_t dx, int32_t dy) override;
    void Wheel(int32_t notches) override;
    void Scroll(int32_t vertical, int32_t horizontal) override;

private:
    std::mutex mutex_;
    std::unique_ptr<platform::OutputDevice> device_;  // releases what is still down when it goes
    std::map<uint16_t, int> holders_;                 // each key down, with how many pads hold it
};

}  // namespace output
