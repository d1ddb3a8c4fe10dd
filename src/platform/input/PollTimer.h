#pragma once
// Window timers without a window: a periodic callback on the calling (user-interface) thread,
// stopped by its identifier. Needs a running Qt event loop to tick.

#include <cstdint>

namespace platform {

using TIMERPROC = void (*)(void* hwnd, uint32_t uMsg, uintptr_t idEvent, uint32_t dwTime);

// Starts a precise periodic timer of uElapse ms calling lpTimerFunc; returns its identifier,
// never 0 when a timer was made. The ticks go on while a box that the callback opened is open: the
// callback runs inside itself then. hwnd and nIDEvent are accepted for shape and ignored.
uintptr_t SetTimer(void* hwnd, uintptr_t nIDEvent, uint32_t uElapse, TIMERPROC lpTimerFunc);

// Stops timer uIDEvent; a tick already queued is dropped. Returns false for an unknown identifier.
bool KillTimer(void* hwnd, uintptr_t uIDEvent);

}  // namespace platform
