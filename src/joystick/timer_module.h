#pragma once
// The polling timer's home: the one monitor being polled and the callback every tick runs.

#include <cstdint>
#include <memory>

class cJoy;

namespace timer_module {

// The monitor whose timer runs, or empty. Owning: keeps a running monitor alive.
extern std::shared_ptr<cJoy> CurrentJoyMonitor;

// Every tick: poll CurrentJoyMonitor once (skipped inside a poll that is itself inside another).
void JoyMonitor_TimerProc(void* hwnd, uint32_t uMsg, uintptr_t idEvent, uint32_t dwTime);

}  // namespace timer_module
