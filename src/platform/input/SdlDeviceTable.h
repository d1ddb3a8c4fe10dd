#pragma once
// SDL's joysticks as a table of slots. Every call into SDL happens here, on the one thread that owns
// the table: SDL may block that thread for seconds while it opens a device, so the program's poll
// reads what the table last read (see SdlJoystickDriver.cpp) instead of calling SDL itself.

#include "platform/input/DevicePort.h"
#include "platform/input/JoystickDriver.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Slots the driver offers, as the multimedia interface does.
inline constexpr uint32_t JoystickSlots = 16;

// What one look at the devices found, slot by slot as the contract numbers them.
struct SlotReading {
    uint32_t code = JOYERR_UNPLUGGED;  // what a query of the slot answers; caps and info only on success
    JOYCAPSA caps;
    JOYINFOEX info;
    uint32_t pressed = 0;  // buttons of the mask that went down since the last look, released again or not
    int32_t device = -1;   // SDL's instance id of the device in the slot, -1 while it is empty
    EventNode node;        // what speaks when the device changes
    bool pad = false;      // read as a pad, else raw
};

struct Readings {
    uint32_t slotCount = JoystickSlots;  // 0 when SDL's joystick subsystem could not start
    std::array<SlotReading, JoystickSlots> slot;
    std::vector<AttachedDevice> attached;  // by ascending slot
};

class SdlDeviceTable {
public:
    // Initialises SDL's joystick and game-controller subsystems for the table's lifetime, finding devices
    // as the DeviceDiscovery alive then says. Made, used and destroyed on one thread, which ends with it.
    SdlDeviceTable();
    ~SdlDeviceTable();
    SdlDeviceTable(const SdlDeviceTable&) = delete;
    SdlDeviceTable& operator=(const SdlDeviceTable&) = delete;

    // Makes slot 0 read the device ChosenSlot picks for this GUID and port (see PreferDevice).
    void Prefer(const QString& guid, const QString& port);
    // A pad's triggers count as its buttons pressed past this share of their travel (default half):
    // for the device in the slot now.
    void SetTrigger(uint32_t slot, int percent);
    // Lets SDL read the devices and find new ones, then reads every slot.
    Readings Read();

private:
    class Table;
    std::unique_ptr<Table> table_;
};

}  // namespace platform
