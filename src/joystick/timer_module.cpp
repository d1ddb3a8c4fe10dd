#include "joystick/timer_module.h"

#include "joystick/cJoy.h"

namespace timer_module {

std::shared_ptr<cJoy> CurrentJoyMonitor;

void JoyMonitor_TimerProc(void* /*hwnd*/, uint32_t /*uMsg*/, uintptr_t /*idEvent*/, uint32_t /*dwTime*/) {
    try {
        // A local owner: a handler may end the monitor, and so release it, during the poll.
        const std::shared_ptr<cJoy> monitor = CurrentJoyMonitor;
        // A box that a poll's handler opens keeps the polling going (a pad plugged back in behind the
        // "Joystick Unplugged" box is read at once; the same failure opens no second box); a tick
        // inside a poll made from inside that box is skipped, so polls nest one deep at most.
        if (monitor && monitor->PollDepth() <= 1) {
            monitor->Joystick_GetPos(true);
        }
    } catch (...) {
        // The timer callback ignores failures: nothing may escape into the event loop.
    }
}

}  // namespace timer_module
