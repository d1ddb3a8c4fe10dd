#include "output/SharedDevice.h"

namespace output {

SharedDevice::SharedDevice(std::unique_ptr<platform::OutputDevice> device) : device_(std::move(device)) {}

void SharedDevice::Key(uint16_t code, bool down) {
    const std::lock_guard lock(mutex_);
    if (down) {
        if (holders_[code]++ == 0) {
            device_->Key(code, true);
        }
        return;
    }
    const auto held = holders_.find(code);
    if (held != holders_.end() && --held->second == 0) {
        holders_.erase(held);
        device_->Key(code, false);
    }
}

void SharedDevice::Move(int32_t dx, int32_t dy) {
    const std::lock_guard lock(mutex_);
    device_->Move(dx, dy);
}

void SharedDevice::Wheel(int32_t notches) {
    const std::lock_guard lock(mutex_);
    device_->Wheel(notches);
}

void SharedDevice::Scroll(int32_t vertical, int32_t horizontal) {
    const std::lock_guard lock(mutex_);
    device_->Scroll(vertical, horizontal);
}

}  // namespace output
