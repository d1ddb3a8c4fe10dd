#pragma once
// A game controller that SDL's virtual-joystick driver stands in for, with the state it was last set
// to. Its controls are named the way the program's picture names them: button bits 0..13 of the
// mask (10 and 11 are the triggers), the direction pad 0 centre, 1 up ... 8 up-left, and the four
// stick axes in SDL's -32768..32767.

#include <SDL.h>

#include <array>
#include <cstdint>

class VirtualPad {
public:
    static constexpr int NumButtons = 14;

    struct State {
        std::array<bool, NumButtons> buttons{};
        int dpad = 0;
        Sint16 leftX = 0, leftY = 0, rightX = 0, rightY = 0;

        // The button mask the picture's buttons make.
        int32_t Mask() const;
    };

    VirtualPad() = default;
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // Plugs a new pad in, at rest. False when SDL refuses.
    bool Plug();
    // Pulls the pad out; a pad plugged in again is a new device, at rest.
    void Unplug();

    void SetButton(int bit, bool pressed);
    void SetDpad(int position);
    enum class Axis { LeftX, LeftY, RightX, RightY }; // the pad's virtual axes 0..3
    void SetAxis(Axis axis, Sint16 value);

    const State& state() const { return state_; }

private:
    void FileMapping(int deviceIndex);

    SDL_Joystick* device_ = nullptr;
    bool mappingFiled_ = false;
    State state_;
};
