#include "output/OutputEngine.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace output {
namespace {

using std::chrono::duration;
using namespace std::chrono_literals;

// The pointer and the wheel move at 125 Hz while a stick is pushed.
constexpr auto kMotionPeriod = 8ms;
// A late wake-up moves at most this much time's worth: no leap after the machine stalled.
constexpr auto kLongestStep = 50ms;
// Wheel notches a second at full push.
constexpr double kWheelRate = 20.0;
constexpr double kNotch = 120;  // a notch in the wheel's fine steps
// While the precision button is held the pointer moves at this share of its speed.
constexpr double kPrecision = 0.25;

// Up, down, left, right.
constexpr std::array<uint16_t, 4> kArrowKeys = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT};
constexpr std::array<uint16_t, 4> kWasdKeys = {KEY_W, KEY_S, KEY_A, KEY_D};

// The time between two taps at rate taps a second.
OutputEngine::Clock::duration Period(int rate) {
    return std::chrono::duration_cast<OutputEngine::Clock::duration>(duration<double>(1.0 / rate));
}

// How far past the dead zone a stick stands, 0..1, and the direction it points in.
struct Push {
    double amount = 0;
    double x = 0;
    double y = 0;
};

// The curve's power: 1 as pushed, 2 (squared) fine moves near the centre and speed at the rim, 3 more so.
Push Pushed(double horizontal, double vertical, int deadZone, int curve) {
    const double distance = std::hypot(horizontal, vertical);
    const double zone = deadZone / 100.0;
    if (distance <= zone || distance == 0) {
        return {};
    }
    const double past = std::min(1.0, (distance - zone) / (1.0 - zone));
    return {std::pow(past, curve), horizontal / distance, vertical / distance};
}

}  // namespace

OutputEngine::OutputEngine(platform::OutputDevice& device) : device_(device) {}

OutputEngine::~OutputEngine() {
    ReleaseAll();
}

void OutputEngine::SetMap(const OutputMap& map) {
    ReleaseAll();
    map_ = map;
    layerOn_ = {};
    layerDown_ = {};
    layer_ = 0;
    Resume();
}

void OutputEngine::SetPaused(bool paused) {
    if (paused && !paused_) {
        ReleaseAll();
    }
    const bool resumed = paused_ && !paused;
    paused_ = paused;
    if (resumed) {
        Resume();
    }
}

// The sticks and the cross act on where they stand now, without waiting for them to move: arrows go
// down at once, and the pointer starts a period from the next step.
void OutputEngine::Resume() {
    if (paused_) {
        return;
    }
    Arrows(0, map_.left, stick_[0], stick_[1]);
    Arrows(1, map_.right, stick_[2], stick_[3]);
    CrossArrows(map_.crossArrows ? cross_ : int16_t{0});
    restart_ = true;
}

void OutputEngine::Press(const Stroke& stroke) {
    if (stroke.wheel != 0) {
        device_.Wheel(stroke.wheel);
        return;
    }
    const auto held =
        std::find_if(held_.begin(), held_.end(), [&](const auto& key) { return key.first == stroke.code; });
    if (held != held_.end()) {
        ++held->second;
        return;
    }
    held_.emplace_back(stroke.code, 1);
    device_.Key(stroke.code, true);
}

void OutputEngine::Release(const Stroke& stroke) {
    const auto held =
        std::find_if(held_.begin(), held_.end(), [&](const auto& key) { return key.first == stroke.code; });
    if (stroke.wheel != 0 || held == held_.end()) {
        return;
    }
    if (--held->second == 0) {
        held_.erase(held);
        device_.Key(stroke.code, false);
    }
}

void OutputEngine::Down(const Step& step) {
    for (const Stroke& stroke : step.strokes) {
        Press(stroke);
    }
}

void OutputEngine::Up(const Step& step) {
    std::for_each(step.strokes.rbegin(), step.strokes.rend(),
                  [this](const Stroke& stroke) { Release(stroke); });
}

void OutputEngine::SetKey(uint16_t code, bool down, bool& held) {
    if (down != held) {
        held = down;
        down ? Press({code, 0}) : Release({code, 0});
    }
}

void OutputEngine::ReleaseAll() {
    for (Button& button : buttons_) {
        button = Button{.down = button.down, .blocked = button.down};
    }
    arrowHeld_.fill(false);
    while (!held_.empty()) {
        const uint16_t code = held_.back().first;
        held_.pop_back();
        device_.Key(code, false);
    }
    pendingX_ = pendingY_ = pendingWheel_ = pendingHWheel_ = 0;
}

void OutputEngine::Read(const Generale::Significato& reading, Clock::time_point now) {
    const bool wasMoving = Moving();
    stick_ = reading.leve;
    cross_ = reading.croce;
    const std::bitset<Generale::NumTasti> down = reading.Attivi();
    precise_ = map_.precision && down[std::size_t(*map_.precision)];
    for (std::size_t n = 0; n < map_.layers.size(); ++n) {
        const Layer& layer = map_.layers[n];
        const bool pressed = layer.button >= 0 && down[std::size_t(layer.button)];
        if (layer.toggle && pressed && !layerDown_[n]) {
            layerOn_[n] = !layerOn_[n];
        }
        layerDown_[n] = pressed;
    }
    layer_ = LayerInForce(map_.layers, down, layerOn_);
    for (int i = 0; i < Generale::NumTasti; ++i) {
        if (i == map_.precision || IsLayerButton(i)) {
            continue;  // it sends nothing of its own
        }
        Button& button = buttons_[i];
        if (paused_ || button.blocked) {
            button.down = down[i];
            button.blocked = down[i];
            continue;
        }
        if (down[i] != button.down) {
            button.down = down[i];
            if (down[i] && button.gesture.phase == GestureState<Clock::time_point>::Phase::Idle) {
                button.layer = layer_;  // what it presses now is what its release lets go
            }
            if (HasGesture(i)) {
                Gesture(i, down[i], now);
            } else {
                down[i] ? ButtonDown(i, now) : ButtonUp(i);
            }
        }
    }
    if (paused_) {
        return;
    }
    Arrows(0, map_.left, stick_[0], stick_[1]);
    Arrows(1, map_.right, stick_[2], stick_[3]);
    CrossArrows(map_.crossArrows ? reading.croce : int16_t{0});
    if ((!wasMoving || restart_) && Moving()) {
        lastMotion_ = now;  // the first move a period from now, its length a period
        restart_ = false;
    }
}

void OutputEngine::ButtonDown(int index, Clock::time_point now) {
    const std::optional<ButtonOutput>& output = Plain(index);
    if (!output) {
        return;
    }
    Button& button = buttons_[index];
    switch (output->mode) {
    case Mode::Hold:
        if (!output->IsSequence()) {
            Down(output->steps.front());
            return;
        }
        break;
    case Mode::Toggle:
        button.toggled = !button.toggled;
        button.toggled ? Down(output->steps.front()) : Up(output->steps.front());
        return;
    case Mode::Repeat:
        button.nextRepeat = now + Period(output->rate);
        break;
    }
    // At most one run waits behind the one being typed: presses faster than a sequence add no backlog.
    if (button.runs < 2 && button.runs++ == 0) {
        button.step = 0;
        button.due = now;
    }
    Play(index, now);
}

void OutputEngine::ButtonUp(int index) {
    const std::optional<ButtonOutput>& output = Plain(index);
    if (output && output->mode == Mode::Hold && !output->IsSequence()) {
        Up(output->steps.front());
    }
}

// A layer's own entry, else the base one.
template<typename Entry, typename Member>
const std::optional<Entry>& InLayer(const OutputMap& map, int layer, int index,
                                    const std::array<std::optional<Entry>, Generale::NumTasti>& base,
                                    Member member) {
    if (layer > 0) {
        const std::optional<Entry>& own = (map.layers[std::size_t(layer - 1)].*member)[std::size_t(index)];
        if (own) {
            return own;
        }
    }
    return base[std::size_t(index)];
}

const std::optional<ButtonOutput>& OutputEngine::Plain(int index) const {
    return InLayer(map_, buttons_[index].layer, index, map_.buttons, &Layer::buttons);
}

const std::optional<Step>& OutputEngine::Hold(int index) const {
    return InLayer(map_, buttons_[index].layer, index, map_.holds, &Layer::holds);
}

const std::optional<Step>& OutputEngine::Twice(int index) const {
    return InLayer(map_, buttons_[index].layer, index, map_.twices, &Layer::twices);
}

bool OutputEngine::IsLayerButton(int index) const {
    return std::any_of(map_.layers.begin(), map_.layers.end(),
                       [index](const Layer& layer) { return layer.button == index; });
}

bool OutputEngine::HasGesture(int index) const {
    return Hold(index) || Twice(index);
}

GestureTimes OutputEngine::Times(int index) const {
    return {Hold(index).has_value(), Twice(index).has_value(), map_.holdAfter, map_.twiceWithin};
}

void OutputEngine::Gesture(int index, std::optional<bool> down, Clock::time_point now) {
    switch (output::Gesture(buttons_[index].gesture, down, now, Times(index))) {
    case GestureAction::None:
        break;
    case GestureAction::Tap:  // the plain entry as a press let go at once
        ButtonDown(index, now);
        ButtonUp(index);
        break;
    case GestureAction::HoldDown:
        Down(*Hold(index));
        break;
    case GestureAction::HoldUp:
        Up(*Hold(index));
        break;
    case GestureAction::Twice:
        Down(*Twice(index));
        Up(*Twice(index));
        break;
    }
}

// Types the steps of the button's runs that are due, up to the next pause still running.
void OutputEngine::Play(int index, Clock::time_point now) {
    Button& button = buttons_[index];
    const std::vector<Step>& steps = Plain(index)->steps;
    while (button.runs > 0 && button.due <= now) {
        const Step& step = steps[button.step];
        if (step.strokes.empty()) {
            button.due = now + step.pause;
        } else {
            Down(step);
            Up(step);
        }
        if (++button.step == steps.size()) {
            button.step = 0;
            --button.runs;
        }
    }
}

bool OutputEngine::Moving() const {
    const auto moves = [](std::optional<StickOutput> how) {
        return how == StickOutput::Pointer || how == StickOutput::Wheel;
    };
    return !paused_ &&
           ((moves(map_.left) && Pushed(stick_[0], stick_[1], map_.deadZone, map_.curve).amount > 0) ||
            (moves(map_.right) && Pushed(stick_[2], stick_[3], map_.deadZone, map_.curve).amount > 0));
}

void OutputEngine::Arrows(std::size_t stick, std::optional<StickOutput> how, double horizontal,
                          double vertical) {
    const bool arrows = how == StickOutput::Arrows || how == StickOutput::Wasd;
    const std::array<uint16_t, 4>& codes = how == StickOutput::Wasd ? kWasdKeys : kArrowKeys;
    const double threshold = std::max(map_.arrowThreshold, map_.deadZone) / 100.0;
    const std::array<double, 4> along = {-vertical, vertical, -horizontal, horizontal};
    for (std::size_t way = 0; way < along.size(); ++way) {
        bool& held = arrowHeld_[stick * 4 + way];
        SetKey(codes[way], arrows && PastThreshold(along[way], threshold, held), held);
    }
}

void OutputEngine::CrossArrows(int16_t position) {
    // 1 up, clockwise to 8 up-left: a diagonal holds both its arrows.
    const auto between = [position](int from, int to) { return position >= from && position <= to; };
    const std::array<bool, 4> pushed = {position == 8 || between(1, 2), between(4, 6), between(6, 8),
                                        between(2, 4)};
    for (std::size_t way = 0; way < pushed.size(); ++way) {
        SetKey(kArrowKeys[way], pushed[way], arrowHeld_[8 + way]);
    }
}

std::optional<OutputEngine::Clock::time_point> OutputEngine::Due() const {
    std::optional<Clock::time_point> due;
    const auto sooner = [&due](Clock::time_point when) { due = due ? std::min(*due, when) : when; };
    for (int i = 0; i < Generale::NumTasti; ++i) {
        const Button& button = buttons_[i];
        if (button.runs > 0) {
            sooner(button.due);
        }
        if (button.down && !button.blocked && Plain(i) && Plain(i)->mode == Mode::Repeat) {
            sooner(button.nextRepeat);
        }
        if (HasGesture(i)) {
            if (const auto when = GestureDue(button.gesture, Times(i))) {
                sooner(*when);
            }
        }
    }
    if (Moving()) {
        // Just resumed: the next step only starts the motion's clock.
        sooner(restart_ ? Clock::time_point::min() : lastMotion_ + kMotionPeriod);
    }
    return due;
}

void OutputEngine::Advance(Clock::time_point now) {
    if (paused_) {
        return;
    }
    for (int i = 0; i < Generale::NumTasti; ++i) {
        Button& button = buttons_[i];
        const std::optional<ButtonOutput>& output = Plain(i);
        if (HasGesture(i)) {
            Gesture(i, std::nullopt, now);
        }
        if (!output) {
            continue;
        }
        if (output->mode == Mode::Repeat && button.down && !button.blocked && button.nextRepeat <= now) {
            const Clock::duration period = Period(output->rate);
            // One run waiting at most: a desktop that cannot keep up gets no backlog. A tap missed by
            // more than a period (the program was stopped) is skipped, not typed late.
            if (now - button.nextRepeat < period && button.runs < 2 && button.runs++ == 0) {
                button.step = 0;
                button.due = now;
            }
            button.nextRepeat += period;
            if (button.nextRepeat <= now) {
                button.nextRepeat = now + period;
            }
        }
        Play(i, now);
    }
    Motion(now);
}

void OutputEngine::Motion(Clock::time_point now) {
    if (!Moving()) {
        pendingX_ = pendingY_ = pendingWheel_ = pendingHWheel_ = 0;
        return;
    }
    if (std::exchange(restart_, false)) {
        lastMotion_ = now;
        return;
    }
    const double seconds =
        duration<double>(std::min<Clock::duration>(now - lastMotion_, kLongestStep)).count();
    // The next step is due a period after this one was due, not after the thread woke for it: late
    // wake-ups do not slow the pace. A step more than a period late starts the pace again.
    lastMotion_ = now - lastMotion_ < 2 * kMotionPeriod ? lastMotion_ + kMotionPeriod : now;
    const double speed = map_.speed * (precise_ ? kPrecision : 1.0);
    const auto stick = [&](std::optional<StickOutput> how, double horizontal, double vertical) {
        const Push push = Pushed(horizontal, vertical, map_.deadZone, map_.curve);
        if (how == StickOutput::Pointer) {
            pendingX_ += speed * push.amount * push.x * seconds;
            pendingY_ += speed * push.amount * push.y * seconds;
        } else if (how == StickOutput::Wheel) {
            // In 120ths of a notch, both ways: pushed up scrolls up, pushed right scrolls right.
            pendingWheel_ -= kWheelRate * kNotch * push.amount * push.y * seconds;
            pendingHWheel_ += kWheelRate * kNotch * push.amount * push.x * seconds;
        }
    };
    stick(map_.left, stick_[0], stick_[1]);
    stick(map_.right, stick_[2], stick_[3]);
    const double dx = std::trunc(pendingX_), dy = std::trunc(pendingY_);
    if (dx != 0 || dy != 0) {
        device_.Move(static_cast<int32_t>(dx), static_cast<int32_t>(dy));
        pendingX_ -= dx;
        pendingY_ -= dy;
    }
    const double up = std::trunc(pendingWheel_), right = std::trunc(pendingHWheel_);
    if (up != 0 || right != 0) {
        device_.Scroll(static_cast<int32_t>(up), static_cast<int32_t>(right));
        pendingWheel_ -= up;
        pendingHWheel_ -= right;
    }
}

}  // namespace output
