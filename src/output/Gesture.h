#pragma once
// Tap, hold and double tap on one button, as a rule of plain data: what a press is becomes known only
// when the button is let go, held long enough, or pressed again soon enough.

#include <chrono>
#include <optional>

namespace output {

struct GestureTimes {
    bool hold = false;                           // the button has a hold entry
    bool twice = false;                          // and a double-tap entry
    std::chrono::milliseconds holdAfter{200};    // TempoTenuto
    std::chrono::milliseconds twiceWithin{250};  // TempoDoppio, from the first release
};

enum class GestureAction {
    None,
    Tap,       // the plain entry, pressed and released
    HoldDown,  // the hold entry goes down, and stays while the button is held
    HoldUp,
    Twice,  // the double-tap entry, pressed and released
};

template<typename TimePoint>
struct GestureState {
    enum class Phase { Idle, Down, Up, Held, DownAgain } phase = Phase::Idle;
    TimePoint since{};  // when the phase began
};

// One step of the rule: the button went down or up (down), or time passed (none), at now. Returns the
// action to take now; the state says when the rule must next look (Due).
template<typename TimePoint>
GestureAction Gesture(GestureState<TimePoint>& state, std::optional<bool> down, TimePoint now,
                      const GestureTimes& times) {
    using Phase = typename GestureState<TimePoint>::Phase;
    const auto enter = [&](Phase phase) {
        state.phase = phase;
        state.since = now;
    };
    switch (state.phase) {
    case Phase::Idle:
        if (down == true) {
            enter(Phase::Down);
        }
        return GestureAction::None;
    case Phase::Down:
        if (down == false) {
            if (times.twice) {
                enter(Phase::Up);
                return GestureAction::None;
            }
            enter(Phase::Idle);
            return GestureAction::Tap;
        }
        if (times.hold && now - state.since >= times.holdAfter) {
            enter(Phase::Held);
            return GestureAction::HoldDown;
        }
        return GestureAction::None;
    case Phase::Held:
        if (down == false) {
            enter(Phase::Idle);
            return GestureAction::HoldUp;
        }
        return GestureAction::None;
    case Phase::Up:
        if (down == true && now - state.since < times.twiceWithin) {
            enter(Phase::DownAgain);
            return GestureAction::Twice;
        }
        if (down == true || now - state.since >= times.twiceWithin) {
            // Too late for a double: the first press was a tap, and a press now begins anew.
            enter(down == true ? Phase::Down : Phase::Idle);
            return GestureAction::Tap;
        }
        return GestureAction::None;
    case Phase::DownAgain:
        if (down == false) {
            enter(Phase::Idle);
        }
        return GestureAction::None;
    }
    return GestureAction::None;
}

// When the rule must next look, if time alone can decide.
template<typename TimePoint>
std::optional<TimePoint> GestureDue(const GestureState<TimePoint>& state, const GestureTimes& times) {
    using Phase = typename GestureState<TimePoint>::Phase;
    if (state.phase == Phase::Down && times.hold) {
        return state.since + times.holdAfter;
    }
    if (state.phase == Phase::Up) {
        return state.since + times.twiceWithin;
    }
    return std::nullopt;
}

}  // namespace output
