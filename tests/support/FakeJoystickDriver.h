#pragma once
// A joystick driver answering from a script: a slot count, and per slot the capability record
// with its result and the reading with its result. It records what the monitor asked of it.

#include "platform/input/JoystickDriver.h"

#include <map>
#include <optional>
#include <vector>

class FakeJoystickDriver final : public platform::JoystickDriver {
public:
    struct Slot {
        uint32_t capsResult = platform::JOYERR_UNPLUGGED;
        platform::JOYCAPSA caps;
        uint32_t readResult = platform::JOYERR_UNPLUGGED;
        platform::JOYINFOEX reading;  // dwSize and dwFlags are left as the caller set them
    };

    uint32_t joyGetNumDevs() override;
    uint32_t joyGetDevCapsA(uint32_t uJoyID, platform::JOYCAPSA& caps) override;
    uint32_t joyGetPosEx(uint32_t uJoyID, platform::JOYINFOEX& info) override;
    std::vector<platform::AttachedDevice> AttachedDevices() override { return attached; }
    std::vector<platform::AttachedDevice> LastSeenDevices() override { return attached; }
    void PreferDevice(const QString& guid, const QString& port) override {
        preferred = guid;
        preferredPort = port;
    }
    void SetChangeListener(ChangeListener listener) override { changeListener = std::move(listener); }
    void SetAxisInterest(uint32_t slot, std::optional<int> deadZonePercent) override {
        axisInterest[slot] = deadZonePercent;
    }
    void SetTriggerThreshold(uint32_t slot, int percent) override { triggerThreshold[slot] = percent; }

    // Scripts a slot answering both queries: X, Y, Z, R ranged 0..axisMax, resting centred.
    Slot& Answering(uint32_t uJoyID, uint32_t axisMax = 65535);

    uint32_t numDevs = 16;
    std::map<uint32_t, Slot> scripted;               // unscripted slots answer JOYERR_UNPLUGGED
    std::vector<platform::AttachedDevice> attached;  // the device list, as scripted
    QString preferred;                               // the GUID last preferred
    QString preferredPort;                           // and its port
    ChangeListener changeListener;  // a test hands changes on through it, as the driver's thread would
    std::map<uint32_t, std::optional<int>> axisInterest;  // the last wish told for each slot's sticks
    std::map<uint32_t, int> triggerThreshold;             // and for its triggers

    int reads = 0;  // joyGetPosEx calls
    uint32_t lastReadSlot = 0;
    platform::JOYINFOEX lastRequest;  // the record as the caller handed it in
};
