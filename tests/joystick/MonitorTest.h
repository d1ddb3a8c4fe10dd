#pragma once
// A monitor over the scripted driver, with its events recorded.

#include "JoyEventLog.h"
#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "support/FakeJoystickDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

class MonitorTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (joy) {
            joy->End_JoyMonitor();
        }
        timer_module::CurrentJoyMonitor.reset();
    }

    // Slot 0 answering, calibrated from axisMin..axisMax and selected, at rest; the log emptied.
    FakeJoystickDriver::Slot& Calibrated(uint32_t axisMax = 65535, uint32_t axisMin = 0) {
        FakeJoystickDriver::Slot& slot = driver->Answering(0, axisMax);
        slot.caps.wXmin = slot.caps.wYmin = slot.caps.wZmin = slot.caps.wRmin = axisMin;
        EXPECT_TRUE(joy->IsJoystick1_Valid());
        joy->End_JoyMonitor();  // selects controller 0 without starting a timer
        joy->Joystick_GetPos();
        log.Take();
        return slot;
    }

    std::shared_ptr<FakeJoystickDriver> driver = std::make_shared<FakeJoystickDriver>();
    std::shared_ptr<cJoy> joy = std::make_shared<cJoy>(driver);
    JoyEventLog log{*joy};
};
