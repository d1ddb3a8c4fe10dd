// SDL's joysticks as slots. A device takes the lowest free slot when it arrives and keeps it until it
// leaves, so a slot names one device for as long as that device is attached.
// A look reads the state SDL holds after it has read the devices, and the presses SDL saw on the way
// (its events), so a button that went down and up again between two looks still counts.
// Controllers that SDL's game-controller database recognises are reported in the layout of the
// program's picture; any other device is reported raw.
#include "platform/input/SdlDeviceTable.h"
#include "platform/desktop/Settings.h"
#include "platform/input/ChosenSlot.h"
#include "platform/input/ControllerMappings.h"
#include "platform/input/DevicePort.h"

#include <QByteArray>
#include <QDir>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr uint32_t kSlots = JoystickSlots;
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

// X, Y, Z, R in the picture layout: left stick, then right stick vertical (Z) and horizontal (R).
constexpr std::array<SDL_GameControllerAxis, 4> kPictureAxes = {
    SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_AXIS_RIGHTY,
    SDL_CONTROLLER_AXIS_RIGHTX};

// The events a press is told by: a raw device's button, a pad's button or trigger, and the joystick events
// SDL makes a pad's out of.
constexpr std::array<Uint32, 5> kPressEvents = {SDL_JOYAXISMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN,
                                                SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONDOWN};

// SDL starts and stops its subsystems, and sets its hints, unguarded: two tables, on the threads of two
// drivers, take turns.
std::mutex startStop;

// One slot of the table. A slot is free while its id is -1.
struct Device {
    SDL_JoystickID id = -1;
    SDL_Joystick* joystick = nullptr;  // null in a taken slot when SDL could not open the device
    SDL_GameController* controller = nullptr;
    std::array<bool, 4> axes{};  // X, Y, Z, R present
    QString name;
    QString guid;
    QString port;
    std::string path;        // SDL's path of the device, "" for none
    EventNode node;          // what speaks when it changes
    uint32_t pressed = 0;    // mask bits that went down since the last look
    Sint16 trigger = 16383;  // a trigger past this (of 0..32767) is its button pressed
};

}  // namespace

class SdlDeviceTable::Table {
public:
    Table() {
        const std::lock_guard lock(startStop);
        // Without this hint SDL takes over SIGINT and SIGTERM, and the program ignores them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        PrepareControllerMappings();
        ready_ = SDL_InitSubSystem(kSubsystems) == 0;
        if (ready_) {
            // Only what tells a press: SDL makes a pad's button and trigger events out of its joystick
            // events, which it must therefore post. The queue is emptied at every look.
            SDL_JoystickEventState(SDL_IGNORE);
            SDL_GameControllerEventState(SDL_IGNORE);
            for (const Uint32 type : kPressEvents) {
                SDL_EventState(type, SDL_ENABLE);
            }
            // After SDL's own mappings and SDL_GAMECONTROLLERCONFIG, which SDL ranks above these.
            LoadControllerMappings(
                QDir(UserConfigDirectory()).filePath(QStringLiteral("gamecontrollerdb.txt")));
            Refresh();
        }
    }

    ~Table() {
        if (ready_) {
            const std::lock_guard lock(startStop);
            for (Device& device : slots_) {
                Close(device);
            }
            // SDL counts its subsystem users: it really quits with the last table.
            SDL_QuitSubSystem(kSubsystems);
        }
        // What SDL keeps for this thread (its error text) it frees by itself only for threads it made.
        SDL_TLSCleanup();
    }

    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    Readings Read() {
        Readings readings;
        if (!ready_) {
            readings.slotCount = 0;
            for (SlotReading& slot : readings.slot) {
                slot.code = JOYERR_NOCANDO;
            }
            return readings;
        }
        SDL_JoystickUpdate();  // reads the devices and finds those plugged in since the last look
        TakePresses();
        Refresh();
        for (uint32_t slot = 0; slot < kSlots; ++slot) {
            const uint32_t real = RealSlot(slot);
            if (real >= kSlots || slots_[real].id < 0) {
                continue;  // unplugged
            }
            Device& device = slots_[real];
            readings.attached.push_back({slot, device.name, device.guid, device.port});
            SlotReading& reading = readings.slot[slot];
            reading.device = device.id;
            if (device.joystick == nullptr) {
                reading.code = JOYERR_NOCANDO;
                continue;
            }
            // A HID pad's driver makes its gamepad node once the pad has answered it, which can be after
            // SDL opened the pad through hidraw: the node is looked for until it is there.
            if (device.node.whole && device.node.node.empty()) {
                device.node = EventNodeOf(device.path.c_str());
            }
            reading.node = device.node;
            reading.pad = device.controller != nullptr;
            reading.code = JOYERR_NOERROR;
            reading.pressed = std::exchange(device.pressed, 0);
            reading.caps = Capabilities(device);
            reading.info = device.controller != nullptr ? ReadController(device) : ReadRaw(device.joystick);
        }
        return readings;
    }

    void SetTrigger(uint32_t slot, int percent) {
        if (const uint32_t real = RealSlot(slot); real < kSlots && slots_[real].id >= 0) {
            slots_[real].trigger = Sint16(std::clamp(percent, 1, 99) * 32767 / 100);
        }
    }

    void Prefer(const QString& guid, const QString& port) {
        preferred_ = guid;
        preferredPort_ = port;
        if (ready_) {
            Refresh();
        }
        PlacePreferred();
    }

private:
    // SDL's event of every press it read in the update just made, into the mask bits of its device. Of two
    // tables, the one that looks first takes them: the program has one.
    void TakePresses() {
        std::array<SDL_Event, 64> events{};
        int count = 0;
        while ((count = SDL_PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT,
                                       SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE)) > 0) {
            for (const SDL_Event& event : std::span(events.data(), static_cast<std::size_t>(count))) {
                Press(event);
            }
        }
    }

    void Press(const SDL_Event& event) {
        switch (event.type) {
        case SDL_JOYBUTTONDOWN:  // a raw device's; a pad's make its pad events
            if (Device* device = Opened(event.jbutton.which);
                device != nullptr && device->controller == nullptr && event.jbutton.button < 32) {
                device->pressed |= 1u << event.jbutton.button;
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (Device* device = Opened(event.cbutton.which); device != nullptr) {
                const auto bit =
                    std::find(kPictureButtons.begin(), kPictureButtons.end(), event.cbutton.button);
                if (bit != kPictureButtons.end()) {
                    device->pressed |= 1u << (bit - kPictureButtons.begin());
                }
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (Device* device = Opened(event.caxis.which);
                device != nullptr && event.caxis.value > device->trigger) {
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) {
                    device->pressed |= 1u << kLeftTriggerBit;
                } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
                    device->pressed |= 1u << kRightTriggerBit;
                }
            }
            break;
        default:  // the joystick events SDL makes a pad's out of
            break;
        }
    }

    Device* Opened(SDL_JoystickID id) {
        const auto found = std::find_if(slots_.begin(), slots_.end(), [id](const Device& slot) {
            return slot.id == id && slot.joystick != nullptr;
        });
        return found != slots_.end() ? &*found : nullptr;
    }

    // A device that left frees its slot; a device that arrived takes the lowest free one. SDL's device
    // indices shift whenever a device leaves, so slots follow SDL's instance ids instead.
    void Refresh() {
        bool changed = false;
        int taken = 0;
        for (Device& slot : slots_) {
            // SDL reads a device that left while open as all zeros rather than failing.
            if (slot.joystick != nullptr && SDL_JoystickGetAttached(slot.joystick) == SDL_FALSE) {
                gone_.push_back(slot.id);
                Close(slot);
                changed = true;
            }
            taken += slot.id >= 0 ? 1 : 0;
        }
        // Every device in a slot is listed until it leaves, so a count that differs means some listed
        // device has no slot, or a device SDL could not open (and so cannot ask about) has left.
        if (SDL_NumJoysticks() != taken) {
            changed = Rescan() || changed;
        }
        if (changed) {
            PlacePreferred();
        }
    }

    // Matches the table to SDL's device list; true when a slot changed hands.
    bool Rescan() {
        std::vector<SDL_JoystickID> listed(static_cast<std::size_t>(std::max(SDL_NumJoysticks(), 0)));
        for (std::size_t index = 0; index < listed.size(); ++index) {
            listed[index] = SDL_JoystickGetDeviceInstanceID(static_cast<int>(index));
        }
        const auto isListed = [&listed](SDL_JoystickID id) {
            return std::find(listed.begin(), listed.end(), id) != listed.end();
        };
        bool changed = false;
        // A device SDL could not open holds its slot for as long as SDL lists it.
        for (Device& slot : slots_) {
            if (slot.id >= 0 && slot.joystick == nullptr && !isListed(slot.id)) {
                slot = Device{};
                changed = true;
            }
        }
        // A device seen leaving is never taken again, though SDL may list it a moment longer.
        std::erase_if(gone_, [&](SDL_JoystickID id) { return !isListed(id); });
        for (std::size_t index = 0; index < listed.size(); ++index) {
            const SDL_JoystickID id = listed[index];
            const auto holds = [id](const Device& slot) { return slot.id == id; };
            if (id < 0 || std::any_of(slots_.begin(), slots_.end(), holds) ||
                std::find(gone_.begin(), gone_.end(), id) != gone_.end()) {
                continue;
            }
            const QString guid = GuidAt(static_cast<int>(index));
            const uint32_t slot = SlotFor(guid);
            if (slot < kSlots) {  // else every slot is taken: the device waits for one to free up
                changed = true;
                if (!Open(static_cast<int>(index), guid, slots_[slot])) {
                    // SDL's list moved on under the open: the rest waits for the next look.
                    Close(slots_[slot]);
                    break;
                }
            }
        }
        return changed;
    }

    // The slot a device arriving now takes: the lowest free one, except that the slot kept for an
    // absent preferred device (the one slot 0 reads) waits for that device.
    uint32_t SlotFor(const QString& guid) const {
        const bool kept = !preferred_.isEmpty() && swap_ < kSlots && slots_[swap_].id < 0;
        if (kept && guid == preferred_) {
            return swap_;
        }
        for (uint32_t slot = 0; slot < kSlots; ++slot) {
            if (slots_[slot].id < 0 && !(kept && slot == swap_)) {
                return slot;
            }
        }
        return kSlots;
    }

    uint32_t LowestFree() const {
        const auto free =
            std::find_if(slots_.begin(), slots_.end(), [](const Device& slot) { return slot.id < 0; });
        return static_cast<uint32_t>(free - slots_.begin());
    }

    // The table's slot that the contract's slot reads: slot 0 and swap_ trade places; kSlots is none.
    uint32_t RealSlot(uint32_t slot) const {
        if (slot == 0) {
            return swap_;
        }
        return slot == swap_ ? 0 : slot;
    }

    // Slot 0 trades places with the preferred device's slot. While that device is absent, slot 0 trades
    // with a free slot kept for it (the one it left, while still free), and so reads as unplugged; no
    // other device moves when it leaves or comes back. With every slot taken and the preferred device
    // absent, slot 0 reads as unplugged and the device of the table's slot 0 waits for a free slot.
    void PlacePreferred() {
        if (preferred_.isEmpty()) {
            swap_ = 0;
            return;
        }
        std::vector<AttachedDevice> taken;
        for (uint32_t slot = 0; slot < kSlots; ++slot) {
            if (slots_[slot].id >= 0) {
                taken.push_back({slot, slots_[slot].name, slots_[slot].guid, slots_[slot].port});
            }
        }
        if (const std::optional<uint32_t> chosen = ChosenSlot(taken, preferred_, preferredPort_, swap_)) {
            swap_ = *chosen;
        } else if (swap_ >= kSlots || slots_[swap_].id >= 0) {
            swap_ = LowestFree();
        }
    }

    static QString GuidAt(int index) {
        std::array<char, 33> text{};
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), text.data(),
                                  static_cast<int>(text.size()));
        return QString::fromLatin1(text.data());
    }

    // Takes the device at SDL's index into the slot. A recognised controller is opened as a game
    // controller; anything else, or a controller SDL will not open as one, is read raw. False when the
    // device left while SDL opened it: SDL then never tells the open device that it is gone (it stays
    // attached, reading zeros), so it must not keep the slot.
    static bool Open(int index, const QString& guid, Device& device) {
        device.id = SDL_JoystickGetDeviceInstanceID(index);
        device.guid = guid;
        const char* const path = SDL_JoystickPathForIndex(index);
        device.path = path != nullptr ? path : "";
        device.node = EventNodeOf(path);
        device.port = DevicePort(path);
        if (SDL_IsGameController(index) == SDL_TRUE) {
            device.controller = SDL_GameControllerOpen(index);
        }
        device.joystick = device.controller != nullptr ? SDL_GameControllerGetJoystick(device.controller)
                                                       : SDL_JoystickOpen(index);
        const char* name = device.controller != nullptr ? SDL_GameControllerName(device.controller)
                                                        : SDL_JoystickNameForIndex(index);
        device.name = QString::fromUtf8(name != nullptr ? name : "");
        for (std::size_t axis = 0; axis < device.axes.size() && device.joystick != nullptr; ++axis) {
            device.axes[axis] =
                device.controller != nullptr
                    ? SDL_GameControllerHasAxis(device.controller, kPictureAxes[axis]) == SDL_TRUE
                    : static_cast<int>(axis) < SDL_JoystickNumAxes(device.joystick);
        }
        return SDL_JoystickGetDeviceInstanceID(index) == device.id;
    }

    static void Close(Device& device) {
        if (device.controller != nullptr) {
            SDL_GameControllerClose(device.controller);
        } else if (device.joystick != nullptr) {
            SDL_JoystickClose(device.joystick);
        }
        device = Device{};
    }

    static JOYCAPSA Capabilities(const Device& device) {
        JOYCAPSA caps;
        const QByteArray name = device.name.toUtf8();
        std::strncpy(caps.szPname, name.constData(), sizeof caps.szPname - 1);
        // A missing axis has the range 0..0, which the monitor reads as 0.
        uint32_t* const maxima[] = {&caps.wXmax, &caps.wYmax, &caps.wZmax, &caps.wRmax};
        for (std::size_t axis = 0; axis < device.axes.size(); ++axis) {
            if (device.axes[axis]) {
                *maxima[axis] = kAxisMax;
                ++caps.wNumAxes;
            }
        }
        caps.wNumButtons =
            device.controller != nullptr
                ? static_cast<uint32_t>(kPictureButtons.size())
                : static_cast<uint32_t>(std::clamp(SDL_JoystickNumButtons(device.joystick), 0, 32));
        return caps;
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
        // The mask holds 32 buttons; further buttons are not read.
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

    static JOYINFOEX ReadController(const Device& device) {
        SDL_GameController* const controller = device.controller;
        JOYINFOEX info;
        const auto axis = [&](std::size_t n) {
            return device.axes[n] ? AxisPosition(SDL_GameControllerGetAxis(controller, kPictureAxes[n])) : 0u;
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
        if (SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > device.trigger) {
            info.dwButtons |= 1u << kLeftTriggerBit;
        }
        if (SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > device.trigger) {
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
    std::array<Device, kSlots> slots_;
    std::vector<SDL_JoystickID> gone_;  // devices seen leaving that SDL may still list
    QString preferred_;                 // GUID of the device slot 0 reads; empty for none
    QString preferredPort_;             // and the port it was chosen on; empty for any
    uint32_t swap_ = 0;                 // the table's slot that trades places with slot 0
};

SdlDeviceTable::SdlDeviceTable() : table_(std::make_unique<Table>()) {}

SdlDeviceTable::~SdlDeviceTable() = default;

void SdlDeviceTable::Prefer(const QString& guid, const QString& port) {
    table_->Prefer(guid, port);
}

void SdlDeviceTable::SetTrigger(uint32_t slot, int percent) {
    table_->SetTrigger(slot, percent);
}

Readings SdlDeviceTable::Read() {
    return table_->Read();
}

}  // namespace platform
