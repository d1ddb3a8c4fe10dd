#pragma once
// Whether a thread waits in the kernel. A thread that has run long is either working (running, or
// ready to run and waiting for a processor on a busy machine) or asleep (waiting on a device, a lock
// or a timer): only the second may go on for seconds.

#include <sys/types.h>

namespace platform {

// The calling thread's kernel id.
pid_t CurrentThreadId();

// True when thread tid of this process is asleep, or when that cannot be told (no /proc).
bool ThreadAsleep(pid_t tid);

}  // namespace platform
