#pragma once
// What the map's output entries do with the controller's readings: keys held and released, sequences
// typed, repeats, toggles, and the sticks and cross as pointer, wheel or arrow keys. It acts on a device
// and keeps time by the clock it is given, so it runs alike on a thread of its own and in a test.

#include "keymap/Significato.h"
#include "output/Gesture.h"
#include "output/OutputMap.h"
#include "platform/output/OutputDevice.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace output {

class OutputEngine {
public:
    using Clock = std::chrono::steady_clock;

    explicit OutputEngine(platform::OutputDevice& device);
    ~OutputEngine();  // releases what it holds
    OutputEngine(const OutputEngine&) = delete;
    OutputEngine& operator=(const OutputEngine&) = delete;

    // A new map: everything held is released first, and a button held across the change acts only
    // when it goes down again; the sticks and the cross act at once on where they stand.
    void SetMap(const OutputMap& map);
    // What a reading of the controller means under the map.
    void Read(const Generale::Significato& reading, Clock::time_point now);
    // Lets go of every key and button, ends sequences and toggles; buttons held now act only when they
    // go down again. For an unplug, a stop, a pause.
    void ReleaseAll();
    // While paused nothing is sent, and a button held when the pause ends acts only when it goes down
    // again (the sticks and the cross act at once): the program's own windows are in front.
    void SetPaused(bool paused);
    // When Advance must next run; none while nothing moves, repeats or waits.
    std::optional<Clock::time_point> Due() const;
    // Sequences, repeats and the pointer and wheel, up to now.
    void Advance(Clock::time_point now);

private:
    struct Button {
        bool down = false;        // its code is all pressed
        bool blocked = false;     // held since a release of everything: acts when it goes down again
        bool toggled = false;     // Toggle: its keys are held
        int runs = 0;             // sequence runs still to type, the one under way included
        std::size_t step = 0;     // the next step of the run under way
        Clock::time_point due{};  // when that step may start
        Clock::time_point nextRepeat{};
        GestureState<Clock::time_point> gesture;  // with "tenuto" or "doppio": what its press is so far
        int layer = 0;  // the layer in force when it went down: its entries act until it is let go
    };

    void Press(const Stroke& stroke);
    void Release(const Stroke& stroke);
    void Down(const Step& step);
    void Up(const Step& step);
    void ButtonDown(int index, Clock::time_point now);
    void ButtonUp(int index);
    // A button with "tenuto" or "doppio" entries: what its rule says now, done.
    void Gesture(int index, std::optional<bool> down, Clock::time_point now);
    bool HasGesture(int index) const;
    // The button's entries in the layer it went down in.
    const std::optional<ButtonOutput>& Plain(int index) const;
    const std::optional<Step>& Hold(int index) const;
    const std::optional<Step>& Twice(int index) const;
    bool IsLayerButton(int index) const;
    GestureTimes Times(int index) const;
    void Play(int index, Clock::time_point now);
    void Motion(Clock::time_point now);
    void Arrows(std::size_t stick, std::optional<StickOutput> how, double horizontal, double vertical);
    void CrossArrows(int16_t position);
    void SetKey(uint16_t code, bool down, bool& held);
    void Resume();
    bool Moving() const;

    platform::OutputDevice& device_;
    OutputMap map_;
    std::array<Button, Generale::NumTasti> buttons_{};
    std::vector<std::pair<uint16_t, int>>
        held_;  // each key down, in the order pressed, with how many hold it
    bool paused_ = false;
    // The sticks' positions on the picture, -1..1: left horizontal, left vertical, right ditto.
    std::array<double, 4> stick_{};
    int16_t cross_ = 0;  // the cross's position at the last reading
    bool precise_ = false;
    int layer_ = 0;                          // the layer in force
    std::array<bool, kLayers> layerOn_{};    // toggled layers switched on
    std::array<bool, kLayers> layerDown_{};  // their buttons at the last reading
    bool restart_ = false;                   // resumed: the pointer's clock starts at the next step
    std::array<bool, 12> arrowHeld_{};       // per stick (left, right, cross) up, down, left, right
    Clock::time_point lastMotion_{};
    double pendingX_ = 0, pendingY_ = 0;           // fractions of a pixel not yet sent
    double pendingWheel_ = 0, pendingHWheel_ = 0;  // 120ths of a notch not yet sent
};

}  // namespace output
