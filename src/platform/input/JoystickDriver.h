#pragma once
// The controller-reading contract the monitor polls through: three calls shaped like the
// multimedia joystick interface (slot count, capabilities of a slot, one reading of a slot), and the
// changes handed on as they are read. The real backend reads SDL2; tests script a fake.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// Result codes of GetDevCaps and GetPosEx.
inline constexpr uint32_t JOYERR_NOERROR = 0;
inline constexpr uint32_t JOYERR_PARMS = 165;
inline constexpr uint32_t JOYERR_NOCANDO = 166;
inline constexpr uint32_t JOYERR_UNPLUGGED = 167;

inline constexpr uint32_t JOY_RETURNALL = 255;
inline constexpr uint32_t JOY_POVCENTERED = 65535;

// Capabilities of one slot. Only the axis ranges are used; the names are the device's, in 8-bit text.
struct JOYCAPSA {
    char szPname[32] = {};
    uint32_t wXmin = 0, wXmax = 0;
    uint32_t wYmin = 0, wYmax = 0;
    uint32_t wZmin = 0, wZmax = 0;
    uint32_t wRmin = 0, wRmax = 0;
    uint32_t wNumButtons = 0;
    uint32_t wNumAxes = 0;
    char szRegKey[32] = {};
    char szOEMVxD[260] = {};
};

// One reading of a slot. Axes are 0..65535 on the real backend; dwPOV is hundredths of a degree
// clockwise from up, or JOY_POVCENTERED; dwButtons bit n is button n + 1. In a reading joyGetPosEx gives,
// dwReserved1 is its age: the milliseconds since the driver last knew it to be the device's state (0
// while the device has said nothing since).
struct JOYINFOEX {
    uint32_t dwSize = 0;
    uint32_t dwFlags = 0;
    uint32_t dwXpos = 0;
    uint32_t dwYpos = 0;
    uint32_t dwZpos = 0;
    uint32_t dwRpos = 0;
    uint32_t dwUpos = 0;
    uint32_t dwVpos = 0;
    uint32_t dwButtons = 0;
    uint32_t dwButtonNumber = 0;
    uint32_t dwPOV = 0;
    uint32_t dwReserved1 = 0;
    uint32_t dwReserved2 = 0;

    friend bool operator==(const JOYINFOEX&, const JOYINFOEX&) = default;
};
static_assert(sizeof(JOYINFOEX) == 52, "the reading record has the platform's size");

// The monitor's poll, in milliseconds: a reading older than one is old. The device said something the
// driver has not read yet, or SDL holds the driver.
inline constexpr uint32_t JoyTickMs = 25;
inline bool IsOld(const JOYINFOEX& reading) {
    return reading.dwReserved1 > JoyTickMs;
}

// dwPOV (hundredths of a degree clockwise from up, JOY_POVCENTERED centred) to 0 centred, 1 up ... 8
// up-left, rounded half to even; readings just short of a full turn give 9. The reading is a signed
// 32-bit integer, so any of them gives a direction that fits: 0xFFFFFFFF (-1) gives 1, -6751 gives -1.
int32_t PovDirection(uint32_t pov);

// One attached device, as a user picks it.
struct AttachedDevice {
    uint32_t slot = 0;  // the slot the calls below read it at
    QString name;
    // SDL's GUID text, 32 lowercase hexadecimal digits. It names a model (bus, vendor, product,
    // version, name), not a unit: two pads of one model share it.
    QString guid;
    // The kernel's physical path of the device, such as "usb-0000:00:14.0-2/input0": it names the port
    // the device is plugged into, and so tells two pads of one model apart. Empty where unknown.
    QString port;
};

class JoystickDriver {
public:
    virtual ~JoystickDriver() = default;
    // Number of controller slots the platform supports.
    virtual uint32_t joyGetNumDevs() = 0;
    // Capabilities of slot uJoyID; JOYERR_NOERROR on success, the record untouched otherwise.
    virtual uint32_t joyGetDevCapsA(uint32_t uJoyID, JOYCAPSA& caps) = 0;
    // One reading of slot uJoyID; JOYERR_NOERROR on success, else JOYERR_PARMS / NOCANDO / UNPLUGGED. The
    // newest the driver has, never waited for, with its age; its buttons include those pressed since the
    // last call.
    virtual uint32_t joyGetPosEx(uint32_t uJoyID, JOYINFOEX& info) = 0;

    // The devices attached now, by ascending slot.
    virtual std::vector<AttachedDevice> AttachedDevices() = 0;
    // The devices attached when the driver last looked, without asking it to look: current while it
    // reads a device, since a device read is looked at whenever it or the devices change.
    virtual std::vector<AttachedDevice> LastSeenDevices() = 0;
    // Makes slot 0 read the attached device that ChosenSlot picks for this GUID and port: it and the
    // device of slot 0 trade slots, so every device keeps one slot and the count stays the same. While
    // no such device is attached, slot 0 reads as unplugged. An empty GUID puts every device back in
    // its own slot; an empty port chooses by GUID alone.
    virtual void PreferDevice(const QString& guid, const QString& port) = 0;

    // What a slot reads the moment the driver finds it changed: its result code and, on success, its
    // reading. A button that went down and up again between two readings is handed on pressed, then
    // released.
    using ChangeListener = std::function<void(uint32_t uJoyID, uint32_t code, const JOYINFOEX& info)>;
    // Hands every change on to listener, on a thread of the driver's, until another listener replaces
    // it or the driver ends; once this returns, the one replaced is not running and never runs again.
    // The listener must not wait: the driver's calls but the reading wait for its thread.
    virtual void SetChangeListener(ChangeListener listener) = 0;

    // Which stick changes of slot's device are wanted at once. Until this is called for the device, every
    // change is handed on as it is read. Without a dead zone (no stick output in force on the pad) its
    // stick changes wait for the next look, which a poll of the slot asks for when the picture would show
    // them; with one (percent of a stick's travel) they wait while both sticks stay inside it. Buttons,
    // triggers and the hat are handed on at once whatever is set. Forgotten when the slot's device leaves.
    virtual void SetAxisInterest(uint32_t slot, std::optional<int> deadZonePercent) = 0;
    // A pad's analog triggers count as its L2 and R2 buttons pressed past this percent of their travel
    // (50 until told). Forgotten when the slot's device leaves.
    virtual void SetTriggerThreshold(uint32_t slot, int percent) = 0;
};

// The SDL2 backend. Initialises SDL's joystick and game-controller subsystems for its lifetime.
std::shared_ptr<JoystickDriver> MakeSdlJoystickDriver();

}  // namespace platform
