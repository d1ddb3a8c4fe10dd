#include "support/FakeJoystickDriver.h"

uint32_t FakeJoystickDriver::joyGetNumDevs() {
    return numDevs;
}

uint32_t FakeJoystickDriver::joyGetDevCapsA(uint32_t uJoyID, platform::JOYCAPSA& caps) {
    const auto it = scripted.find(uJoyID);
    const uint32_t result = it == scripted.end() ? platform::JOYERR_UNPLUGGED : it->second.capsResult;
    if (result == platform::JOYERR_NOERROR) {
        caps = it->second.caps;
    }
    return result;
}

uint32_t FakeJoystickDriver::joyGetPosEx(uint32_t uJoyID, platform::JOYINFOEX& info) {
    ++reads;
    lastReadSlot = uJoyID;
    lastRequest = info;
    const auto it = scripted.find(uJoyID);
    if (it == scripted.end()) {
        return platform::JOYERR_UNPLUGGED;
    }
    const platform::JOYINFOEX request = info;
    info = it->second.reading;
    info.dwSize = request.dwSize;
    info.dwFlags = request.dwFlags;
    return it->second.readResult;
}

FakeJoystickDriver::Slot& FakeJoystickDriver::Answering(uint32_t uJoyID, uint32_t axisMax) {
    Slot& slot = scripted[uJoyID];
    slot.capsResult = platform::JOYERR_NOERROR;
    slot.caps.wXmax = slot.caps.wYmax = slot.caps.wZmax = slot.caps.wRmax = axisMax;
    slot.readResult = platform::JOYERR_NOERROR;
    const uint32_t centre = (axisMax + 1) / 2;
    slot.reading.dwXpos = slot.reading.dwYpos = slot.reading.dwZpos = slot.reading.dwRpos = centre;
    slot.reading.dwButtons = 0;
    slot.reading.dwPOV = platform::JOY_POVCENTERED;
    return slot;
}
