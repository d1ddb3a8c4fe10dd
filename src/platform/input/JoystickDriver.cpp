#include "platform/input/JoystickDriver.h"

#include <cmath>

namespace platform {

int32_t PovDirection(uint32_t pov) {
    const auto direction = static_cast<int32_t>(std::nearbyint(static_cast<int32_t>(pov) / 4500.0 + 1.0));
    return direction == 16 ? 0 : direction;
}

}  // namespace platform
