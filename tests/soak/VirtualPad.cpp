#include "VirtualPad.h"

#include <string>

namespace {

// Virtual pads use SDL's default mapping: virtual button n is SDL_GameControllerButton n, axes 0..5
// are left x, left y, right x, right y, left trigger, right trigger.
constexpr int kAxes = 6;
constexpr int kLeftTriggerAxis = 4;
constexpr int kRightTriggerAxis = 5;
constexpr int kTrigger = -1; // a bit that a trigger axis makes

// Picture button bit -> the pad's button.
constexpr std::array<int, VirtualPad::NumButtons> kButtonOfBit = {
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_MISC1,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    kTrigger,
    kTrigger,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
};

// Direction-pad position -> which of up, right, down, left are held.
struct Held {
    bool up, right, down, left;
};
constexpr std::array<Held, 9> kDpad = {{
    {false, false, false, false}, // 0 centre
    {true, false, false, false},  // 1 up
    {true, true, false, false},   // 2 up-right
    {false, true, false, false},  // 3 right
    {false, true, true, false},   // 4 down-right
    {false, false, true, false},  // 5 down
    {false, false, true, true},   // 6 down-left
    {false, false, false, true},  // 7 left
    {true, false, false, true},   // 8 up-left
}};

Uint8 Pressed(bool pressed) {
    return pressed ? SDL_PRESSED : SDL_RELEASED;
}

} // namespace

int32_t VirtualPad::State::Mask() const {
    int32_t mask = 0;
    for (int bit = 0; bit < NumButtons; ++bit) {
        if (buttons[static_cast<std::size_t>(bit)]) {
            mask |= int32_t{1} << bit;
        }
    }
    return mask;
}

VirtualPad::~VirtualPad() {
    Unplug();
}

bool VirtualPad::Plug() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = kAxes;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MISC1 + 1;
    desc.name = "Virtual pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        return false;
    }
    FileMapping(index);
    device_ = SDL_JoystickOpen(index);
    state_ = State{};
    // Released triggers rest at the bottom of their axis.
    SDL_JoystickSetVirtualAxis(device_, kLeftTriggerAxis, SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickSetVirtualAxis(device_, kRightTriggerAxis, SDL_JOYSTICK_AXIS_MIN);
    return device_ != nullptr;
}

// SDL 2.26 does not find again the mapping it generates for a controller its database lacks: every
// look-up (attaching, opening, SDL_IsGameController) generates and keeps one more copy, some 300 bytes,
// until SDL_Quit. Its look-up finds a mapping filed under the GUID without its CRC (the GUID's bytes 2
// and 3, hex digits 4 to 7), so the pad's own mapping is filed there once; the memory figures then show
// the program's use, not the heap of copies that only virtual and unknown controllers make grow.
void VirtualPad::FileMapping(int deviceIndex) {
    if (mappingFiled_) {
        return;
    }
    char* generated = SDL_GameControllerMappingForDeviceIndex(deviceIndex);
    if (generated == nullptr) {
        return;
    }
    std::string mapping(generated);
    SDL_free(generated);
    mapping.replace(4, 4, "0000");
    mappingFiled_ = SDL_GameControllerAddMapping(mapping.c_str()) >= 0;
}

void VirtualPad::Unplug() {
    if (device_ == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(device_);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
        }
    }
    SDL_JoystickClose(device_);
    device_ = nullptr;
}

void VirtualPad::SetButton(int bit, bool pressed) {
    const auto b = static_cast<std::size_t>(bit);
    state_.buttons[b] = pressed;
    if (kButtonOfBit[b] != kTrigger) {
        SDL_JoystickSetVirtualButton(device_, kButtonOfBit[b], Pressed(pressed));
        return;
    }
    SDL_JoystickSetVirtualAxis(device_, b == 10 ? kLeftTriggerAxis : kRightTriggerAxis,
                               pressed ? SDL_JOYSTICK_AXIS_MAX : SDL_JOYSTICK_AXIS_MIN);
}

void VirtualPad::SetDpad(int position) {
    state_.dpad = position;
    const Held held = kDpad[static_cast<std::size_t>(position)];
    SDL_JoystickSetVirtualButton(device_, SDL_CONTROLLER_BUTTON_DPAD_UP, Pressed(held.up));
    SDL_JoystickSetVirtualButton(device_, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Pressed(held.right));
    SDL_JoystickSetVirtualButton(device_, SDL_CONTROLLER_BUTTON_DPAD_DOWN, Pressed(held.down));
    SDL_JoystickSetVirtualButton(device_, SDL_CONTROLLER_BUTTON_DPAD_LEFT, Pressed(held.left));
}

void VirtualPad::SetAxis(Axis axis, Sint16 value) {
    switch (axis) {
    case Axis::LeftX:
        state_.leftX = value;
        break;
    case Axis::LeftY:
        state_.leftY = value;
        break;
    case Axis::RightX:
        state_.rightX = value;
        break;
    case Axis::RightY:
        state_.rightY = value;
        break;
    }
    SDL_JoystickSetVirtualAxis(device_, static_cast<int>(axis), value);
}
