#pragma once
// What one [Uscita] entry of the map says: the keys a button sends, or what a stick or the cross does.
// An entry that cannot be read does nothing; the reason says why, for the key dialog.

#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace output {

// A key or mouse button (kernel code), or a notch of the wheel.
struct Stroke {
    uint16_t code = 0;  // 0 for a notch
    int wheel = 0;      // +1 up, -1 down; 0 for a key
    bool operator==(const Stroke&) const = default;
};

// Keys pressed together, in the order written; or, with no keys, a pause.
struct Step {
    std::vector<Stroke> strokes;
    std::chrono::milliseconds pause{0};
    bool operator==(const Step&) const = default;
};

enum class Mode {
    Hold,    // down with the button, up when it is released; a sequence is typed once per press
    Repeat,  // tapped `rate` times a second while the button is held
    Toggle,  // held from one press to the next
};

struct ButtonOutput {
    std::vector<Step> steps;  // one step without a pause: keys held; more: a sequence, each step tapped
    Mode mode = Mode::Hold;
    int rate = 0;  // taps a second, with Repeat
    bool operator==(const ButtonOutput&) const = default;
    bool IsSequence() const { return steps.size() > 1 || steps.front().strokes.empty(); }
};

template<typename T>
struct Read {
    std::optional<T> value;  // none for an empty entry, or one that cannot be read
    QString reason;          // why it cannot be read; empty when it can, or is empty
};

// The longest entry the map holds. Readers hand a longer one on with one character more, so that it is
// refused rather than read cut.
inline constexpr qsizetype kLongestEntry = 254;

// "SPACE", "LEFTCTRL+C", "H, I", "H, 100ms, I", "DOWN ripeti 10", "F alterna", "WHEEL_UP".
Read<ButtonOutput> ReadButtonOutput(const QString& text);

enum class StickOutput { Pointer, Wheel, Arrows, Wasd };
// "puntatore", "rotella", "frecce", "wasd"; the cross knows only "frecce".
Read<StickOutput> ReadStickOutput(const QString& text, bool cross);

// A whole number from lowest to highest; the reason names the entry.
Read<int> ReadNumber(const QString& text, int lowest, int highest);

// The longest pause a sequence's step may ask for.
inline constexpr std::chrono::milliseconds kLongestPause{10000};
inline constexpr int kFastestRepeat = 50;

}  // namespace output
