// The joystick driver over SDL2. Slots are the controllers attached now, in SDL's device order.
// Controllers that SDL's game-controller database recognises are reported in the layout of the
// program's picture; any other device is reported raw.
#include "platform/JoystickDriver.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace platform {
namespace {

// Slots the driver offers, as the multimedia interface does.
constexpr uint32_t kSlots = 16;
constexpr uint32_t kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;
constexpr uint32_t kAxisMax = 65535;

// SDL's -32768..32767 to the 0..65535 the monitor calibrates from.
uint32_t AxisPosition(Sint16 value) {
    return static_cast<uint32_t>(value + 32768);
}

// Hat mask (SDL_HAT_UP 1 | RIGHT 2 | DOWN 4 | LEFT 8) to hundredths of a degree clockwise from up;
// centred and impossible combinations read as centred.
constexpr uint32_t kCentred = JOY_POVCENTERED;
constexpr std::array<uint32_t, 16> kHatHundredths = {
    kCentred, 0,        9000,     4500,      // none, up, right, up-right
    18000,    kCentred, 13500,    kCentred,  // down, up+down, down-right, up+right+down
    27000,    31500,    kCentred, kCentred,  // left, up-left, left+right, up+left+right
    22500,    kCentred, kCentred, kCentred,  // down-left, up+down+left, down+left+right, all
};

// Picture layout: bit n of the mask is the picture's button n. Bits 10 and 11 are the triggers.
constexpr std::array<SDL_GameControllerButton, 14> kPictureButtons = {
    SDL_CONTROLLER_BUTTON_X,              // 0: left face button
    SDL_CONTROLLER_BUTTON_A,              // 1: bottom
    SDL_CONTROLLER_BUTTON_B,              // 2: right
    SDL_CONTROLLER_BUTTON_Y,              // 3: top
    SDL_CONTROLLER_BUTTON_BACK,           // 4
    SDL_CONTROLLER_BUTTON_START,          // 5
    SDL_CONTROLLER_BUTTON_GUIDE,          // 6
    SDL_CONTROLLER_BUTTON_MISC1,          // 7: share / capture
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,   // 8
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,  // 9
    SDL_CONTROLLER_BUTTON_INVALID,        // 10: left trigger
    SDL_CONTROLLER_BUTTON_INVALID,        // 11: right trigger
    SDL_CONTROLLER_BUTTON_LEFTSTICK,      // 12
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,     // 13
};
constexpr int kLeftTriggerBit = 10;
constexpr int kRightTriggerBit = 11;
// A trigger (0..32767) counts as a button once pressed past half.
constexpr Sint16 kTriggerHalf = 16383;

// X, Y, Z, R in the picture layout: left stick, then right stick vertical (Z) and horizontal (R).
constexpr std::array<SDL_GameControllerAxis, 4> kPictureAxes = {
    SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_AXIS_RIGHTY,
    SDL_CONTROLLER_AXIS_RIGHTX};

// One opened device. A recognised controller is opened as a game controller, anything else raw.
struct Device {
    SDL_JoystickID id = -1;
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;
};

class SdlJoystickDriver final : public JoystickDriver {
public:
    SdlJoystickDriver() {
        // Without this hint SDL takes over SIGINT and SIGTERM, and the program ignores them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ready_ = SDL_InitSubSystem(kSubsystems) == 0;
        if (ready_) {
            // Readings are polled: SDL's event queue would only fill up unread.
            SDL_JoystickEventState(SDL_IGNORE);
            SDL_GameControllerEventState(SDL_IGNORE);
        }
    }

    ~SdlJoystickDriver() override {
        if (!ready_) {
            return;
        }
        for (Device& device : devices_) {
            Close(device);
        }
        // SDL counts its subsystem users: it really quits with the last driver.
        SDL_QuitSubSystem(kSubsystems);
    }

    SdlJoystickDriver(const SdlJoystickDriver&) = delete;
    SdlJoystickDriver& operator=(const SdlJoystickDriver&) = delete;

    uint32_t joyGetNumDevs() override {
        if (!ready_) {
            return 0;
        }
        SDL_JoystickUpdate();  // finds controllers plugged in since the last look
        return kSlots;
    }

    uint32_t joyGetDevCapsA(uint32_t uJoyID, JOYCAPSA& caps) override {
        if (!ready_) {
            return JOYERR_NOCANDO;
        }
        Device* device = nullptr;
        if (const uint32_t code = Attached(uJoyID, device); code != JOYERR_NOERROR) {
            return code;
        }
        caps = JOYCAPSA{};
        const char* name = device->controller != nullptr ? SDL_GameControllerName(device->controller)
                                                         : SDL_JoystickName(device->joystick);
        if (name != nullptr) {
            std::strncpy(caps.szPname, name, sizeof caps.szPname - 1);
        }
        // A missing axis has the range 0..0, which the monitor reads as 0.
        uint32_t* const maxima[] = {&caps.wXmax, &caps.wYmax, &caps.wZmax, &caps.wRmax};
        for (int axis = 0; axis < 4; ++axis) {
            if (HasAxis(*device, axis)) {
                *maxima[axis] = kAxisMax;
                ++caps.wNumAxes;
            }
        }
        caps.wNumButtons =
            device->controller != nullptr
                ? static_cast<uint32_t>(kPictureButtons.size())
                : static_cast<uint32_t>(std::clamp(SDL_JoystickNumButtons(device->joystick), 0, 32));
        return JOYERR_NOERROR;
    }

    uint32_t joyGetPosEx(uint32_t uJoyID, JOYINFOEX& info) override {
        if (!ready_) {
            return JOYERR_NOCANDO;
        }
        SDL_JoystickUpdate();
        Device* device = nullptr;
        if (const uint32_t code = Attached(uJoyID, device); code != JOYERR_NOERROR) {
            return code;
        }
        const JOYINFOEX request = info;
        info = device->controller != nullptr ? ReadController(device->controller) : ReadRaw(device->joystick);
        info.dwSize = request.dwSize;
        info.dwFlags = request.dwFlags;
        return JOYERR_NOERROR;
    }

private:
    // The device in slot uJoyID, opened (again, when it was replugged), or the reason there is none.
    uint32_t Attached(uint32_t uJoyID, Device*& device) {
        if (uJoyID >= kSlots) {
            return JOYERR_PARMS;
        }
        Device& slot = devices_[uJoyID];
        const auto index = static_cast<int>(uJoyID);
        const SDL_JoystickID id = index < SDL_NumJoysticks() ? SDL_JoystickGetDeviceInstanceID(index) : -1;
        if (id < 0) {
            Close(slot);
            return JOYERR_UNPLUGGED;
        }
        if (slot.id != id) {
            Close(slot);
            if (!Open(index, slot)) {
                return JOYERR_NOCANDO;
            }
        }
        // SDL reads an unplugged device that is still open as all zeros rather than failing.
        if (!SDL_JoystickGetAttached(slot.joystick)) {
            Close(slot);
            return JOYERR_UNPLUGGED;
        }
        device = &slot;
        return JOYERR_NOERROR;
    }

    static bool Open(int index, Device& device) {
        if (SDL_IsGameController(index)) {
            device.controller = SDL_GameControllerOpen(index);
            device.joystick =
                device.controller != nullptr ? SDL_GameControllerGetJoystick(device.controller) : nullptr;
        } else {
            device.joystick = SDL_JoystickOpen(index);
        }
        if (device.joystick == nullptr) {
            Close(device);
            return false;
        }
        device.id = SDL_JoystickInstanceID(device.joystick);
        return true;
    }

    static void Close(Device& device) {
        if (device.controller != nullptr) {
            SDL_GameControllerClose(device.controller);
        } else if (device.joystick != nullptr) {
            SDL_JoystickClose(device.joystick);
        }
        device = Device{};
    }

    // Whether axis 0..3 (X, Y, Z, R) is present on the device.
    static bool HasAxis(const Device& device, int axis) {
        if (device.controller != nullptr) {
            return SDL_GameControllerHasAxis(device.controller, kPictureAxes[static_cast<std::size_t>(axis)]);
        }
        return axis < SDL_JoystickNumAxes(device.joystick);
    }

    static JOYINFOEX ReadRaw(SDL_Joystick* joystick) {
        JOYINFOEX info;
        const int axes = SDL_JoystickNumAxes(joystick);
        // A missing axis reads 0, matching its range 0..0.
        const auto axis = [&](int n) {
            return n < axes ? AxisPosition(SDL_JoystickGetAxis(joystick, n)) : 0u;
        };
        info.dwXpos = axis(0);
        info.dwYpos = axis(1);
        info.dwZpos = axis(2);
        info.dwRpos = axis(3);
        const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
        for (int n = 0; n < buttons; ++n) {
            if (SDL_JoystickGetButton(joystick, n) != 0) {
                info.dwButtons |= 1u << n;
            }
        }
        info.dwPOV = SDL_JoystickNumHats(joystick) > 0
                         ? kHatHundredths[SDL_JoystickGetHat(joystick, 0) & 0x0F]
                         : JOY_POVCENTERED;
        return info;
    }

    static JOYINFOEX ReadController(SDL_GameController* controller) {
        JOYINFOEX info;
        const auto axis = [&](std::size_t n) {
            return SDL_GameControllerHasAxis(controller, kPictureAxes[n])
                       ? AxisPosition(SDL_GameControllerGetAxis(controller, kPictureAxes[n]))
                       : 0u;
        };
        info.dwXpos = axis(0);
        info.dwYpos = axis(1);
        info.dwZpos = axis(2);
        info.dwRpos = axis(3);
        for (std::size_t bit = 0; bit < kPictureButtons.size(); ++bit) {
            if (kPictureButtons[bit] != SDL_CONTROLLER_BUTTON_INVALID &&
                SDL_GameControllerGetButton(controller, kPictureButtons[bit]) != 0) {
                info.dwButtons |= 1u << bit;
            }
        }
        if (SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > kTriggerHalf) {
            info.dwButtons |= 1u << kLeftTriggerBit;
        }
        if (SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > kTriggerHalf) {
            info.dwButtons |= 1u << kRightTriggerBit;
        }
        const auto pressed = [&](SDL_GameControllerButton button) {
            return SDL_GameControllerGetButton(controller, button) != 0;
        };
        const unsigned hat = (pressed(SDL_CONTROLLER_BUTTON_DPAD_UP) ? SDL_HAT_UP : 0u) |
                             (pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? SDL_HAT_RIGHT : 0u) |
                             (pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN) ? SDL_HAT_DOWN : 0u) |
                             (pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? SDL_HAT_LEFT : 0u);
        info.dwPOV = kHatHundredths[hat];
        return info;
    }

    bool ready_ = false;
    std::array<Device, kSlots> devices_;
};

}  // namespace

std::shared_ptr<JoystickDriver> MakeSdlJoystickDriver() {
    return std::make_shared<SdlJoystickDriver>();
}

}  // namespace platform
