#include "joystick/timer_module.h"

#include "joystick/cJoy.h"

namespace timer_module {

std::shared_ptr<cJoy> CurrentJoyMonitor;

void JoyMonitor_TimerProc(void* /*hwnd*/, uint32_t /*uMsg*/, uintptr_t /*idEvent*/, uint32_t /*dwTime*/) {
    try {
        // A local owner: a handler may end the monitor, and so release it, during the poll.
        const std::shared_ptr<cJoy> monitor = CurrentJoyMonitor;
        // A tick that arrives while a poll is raising its events (inside a handler's modal loop)
        // is skipped, so polls never nest.
        if (monitor && !monitor->IsPolling()) {
            monitor->Joystick_GetPos(true);
        }
    } catch (...) {
        // The timer callback ignores failures: nothing may escape into the event loop.
    }
}

}  // namespace timer_module
