#include "platform/input/PollTimer.h"

#include <QTimer>
#include <map>
#include <memory>

namespace platform {
namespace {

// Live timers by identifier. Identifiers are never reused, so a stale one cannot stop a new timer.
std::map<uintptr_t, std::unique_ptr<QTimer>>& Timers() {
    static std::map<uintptr_t, std::unique_ptr<QTimer>> timers;
    return timers;
}

uintptr_t nextId = 1;

}  // namespace

uintptr_t SetTimer(void* /*hwnd*/, uintptr_t /*nIDEvent*/, uint32_t uElapse, TIMERPROC lpTimerFunc) {
    if (lpTimerFunc == nullptr) {
        return 0;
    }
    const uintptr_t id = nextId++;
    auto timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(static_cast<int>(uElapse));
    // Qt never runs a timer's handler inside itself, so a box that the callback opens would stop the
    // ticks until it closes. The tick hands the callback to the event loop instead: the ticks go on inside
    // such a box, and the callback decides how deep it lets them in.
    QTimer* const ticking = timer.get();
    QObject::connect(ticking, &QTimer::timeout, ticking, [ticking, lpTimerFunc, id] {
        QMetaObject::invokeMethod(
            ticking,
            [lpTimerFunc, id] {
                if (Timers().contains(id)) {  // not stopped since the tick
                    lpTimerFunc(nullptr, 0, id, 0);
                }
            },
            Qt::QueuedConnection);
    });
    timer->start();
    Timers().emplace(id, std::move(timer));
    return id;
}

bool KillTimer(void* /*hwnd*/, uintptr_t uIDEvent) {
    auto& timers = Timers();
    const auto it = timers.find(uIDEvent);
    if (it == timers.end()) {
        return false;
    }
    it->second->stop();
    // The callback may be running this very timer's tick: delete the QTimer once control returns
    // to the event loop.
    it->second.release()->deleteLater();
    timers.erase(it);
    return true;
}

}  // namespace platform
