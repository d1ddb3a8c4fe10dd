#include "platform/input/ChosenSlot.h"

#include <algorithm>

namespace platform {

std::optional<uint32_t> ChosenSlot(const std::vector<AttachedDevice>& attached, const QString& guid,
                                   const QString& port, uint32_t read) {
    const auto ofGuid = [&guid](const AttachedDevice& device) { return device.guid == guid; };
    if (!port.isEmpty()) {
        const auto onPort = std::find_if(attached.begin(), attached.end(), [&](const AttachedDevice& device) {
            return ofGuid(device) && device.port == port;
        });
        if (onPort != attached.end()) {
            return onPort->slot;
        }
    }
    if (std::any_of(attached.begin(), attached.end(),
                    [&](const AttachedDevice& device) { return ofGuid(device) && device.slot == read; })) {
        return read;
    }
    const auto first = std::find_if(attached.begin(), attached.end(), ofGuid);
    if (first != attached.end()) {
        return first->slot;
    }
    return std::nullopt;
}

}  // namespace platform
