// Validity tests, calibration from the axis ranges and counting the configured slots.

#include "MonitorTest.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

TEST_F(MonitorTest, NothingInSlotZeroAndAControllerInSlotOne) {
    driver->Answering(1).reading.dwXpos = 0;

    EXPECT_FALSE(joy->IsJoystick1_Valid());
    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
    EXPECT_TRUE(joy->IsJoystick2_Valid());
    EXPECT_THAT(log.Take(), IsEmpty());  // sticks read 0 until calibrated

    joy->Start_JoyMonitor(1);
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(-10,0)"));
}

TEST_F(MonitorTest, TheFirstValidityTestRaisesNoStickBeforeCalibrating) {
    FakeJoystickDriver::Slot& slot = driver->Answering(0);
    slot.reading = {.dwXpos = 0, .dwYpos = 0, .dwZpos = 0, .dwRpos = 65535, .dwButtons = 1, .dwPOV = 0};

    EXPECT_TRUE(joy->IsJoystick1_Valid());
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)", "JoyDpad(1)"));

    joy->Start_JoyMonitor(0);
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(-10,-10)", "JoyRightStick(10,-10)"));
}

TEST_F(MonitorTest, CalibratesSticksRangedToSixtyFiveThousandAndToZero) {
    FakeJoystickDriver::Slot& slot = driver->Answering(0);
    slot.caps.wZmax = slot.caps.wRmax = 0;
    joy->IsJoystick1_Valid();

    slot.reading = {.dwXpos = 0, .dwYpos = 65535, .dwZpos = 12345, .dwRpos = 54321, .dwPOV = 65535};
    joy->Start_JoyMonitor(0);
    slot.reading.dwXpos = 65535;
    slot.reading.dwYpos = 0;
    joy->Joystick_GetPos();

    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(-10,10)", "JoyLeftStick(10,-10)"));
}

TEST_F(MonitorTest, EachValidityTestReplacesTheOtherControllersCalibration) {
    driver->Answering(0, 65535);
    driver->Answering(1, 255);
    joy->IsJoystick1_Valid();
    joy->IsJoystick2_Valid();
    log.Take();

    driver->scripted[0].reading = driver->scripted[1].reading;  // at rest on 0..255
    driver->scripted[0].reading.dwXpos = 255;
    joy->Start_JoyMonitor(0);

    // Slot 1's poll read its rest as -10 with slot 0's calibration; on 0..255 it reads 0.
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(10,0)", "JoyRightStick(0,0)"));
}

TEST_F(MonitorTest, ARefusedCapabilityQueryKeepsThePreviousRanges) {
    FakeJoystickDriver::Slot& slot = driver->Answering(0, 255);
    joy->IsJoystick1_Valid();
    slot.capsResult = platform::JOYERR_NOCANDO;
    slot.caps.wXmax = 65535;

    EXPECT_TRUE(joy->IsJoystick1_Valid());
    slot.reading.dwXpos = 255;
    joy->Start_JoyMonitor(0);

    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(10,0)"));
}

// Centres are written before divisors, X Y R Z: a span that does not fit stops the calibration
// after the X and Y centres, so X keeps its old divisor with its new centre.
TEST_F(MonitorTest, ASpanBeyondThirtyTwoBitsStopsCalibrationWhereItFails) {
    FakeJoystickDriver::Slot& slot = driver->Answering(0, 65535);
    joy->IsJoystick1_Valid();
    slot.caps.wXmax = slot.caps.wYmax = slot.caps.wZmax = 255;
    slot.caps.wRmin = 1;
    slot.caps.wRmax = 0x80000000u;  // -2147483648 - 1 does not fit

    EXPECT_TRUE(joy->IsJoystick1_Valid());
    const std::vector<std::string> events = log.Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_THAT(events[0], StartsWith("JoyError(cJoy.GetJoyCapabilities: "));
    EXPECT_THAT(events[0], ::testing::HasSubstr("asse R"));

    slot.reading = {.dwXpos = 255, .dwYpos = 255, .dwZpos = 0, .dwRpos = 0, .dwPOV = 65535};
    joy->Start_JoyMonitor(0);
    // X: (255 - 127.5) / 3276.75 rounds to 0. R and Z: the old 0..65535 calibration.
    EXPECT_THAT(log.Take(), ElementsAre("JoyRightStick(-10,-10)"));
}

struct ValidityCase {
    const char* name;
    bool (cJoy::*test)();
    bool answers;
};

void PrintTo(const ValidityCase& c, std::ostream* os) {
    *os << c.name;
}

class SelectionAfterValidityTest : public MonitorTest, public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(SelectionAfterValidityTest, IsNoController) {
    if (GetParam().answers) {
        driver->Answering(0);
        driver->Answering(1);
    }
    EXPECT_EQ((joy.get()->*GetParam().test)(), GetParam().answers);
    log.Take();
    const int reads = driver->reads;

    EXPECT_FALSE(joy->Joystick_GetPos());

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(invalid joystick number provided. must be 0 or 1)"));
    EXPECT_EQ(driver->reads, reads);
}

INSTANTIATE_TEST_SUITE_P(Tests, SelectionAfterValidityTest,
                         ::testing::Values(ValidityCase{"Joystick1Answers", &cJoy::IsJoystick1_Valid, true},
                                           ValidityCase{"Joystick1Silent", &cJoy::IsJoystick1_Valid, false},
                                           ValidityCase{"Joystick2Answers", &cJoy::IsJoystick2_Valid, true},
                                           ValidityCase{"Joystick2Silent", &cJoy::IsJoystick2_Valid, false}));

struct CountCase {
    uint32_t slotCount;
    std::vector<uint32_t> answering;
    std::vector<std::string> events;
    bool result;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.slotCount << "_slots_answering";
    for (const uint32_t slot : c.answering) {
        *os << "_" << slot;
    }
}

class SlotCount : public MonitorTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(SlotCount, CountsTheSlotsWhoseCapabilitiesAnswer) {
    driver->numDevs = GetParam().slotCount;
    for (const uint32_t slot : GetParam().answering) {
        driver->scripted[slot].capsResult = platform::JOYERR_NOERROR;
    }

    EXPECT_EQ(joy->ConfiguratedJoy(), GetParam().result);

    EXPECT_EQ(log.Take(), GetParam().events);
    EXPECT_EQ(driver->reads, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, SlotCount,
    ::testing::Values(CountCase{16, {3, 9}, {"JoyNumbers(2)"}, true},
                      CountCase{16, {0, 1, 16}, {"JoyNumbers(2)"}, true},  // slot 16 is beyond the count
                      CountCase{0, {0}, {"JoyNumbers(0)"}, true},
                      CountCase{32768, {0, 32767}, {"JoyNumbers(2)"}, true}));  // last slot fits 16 bits

TEST_F(MonitorTest, MoreSlotsThanASixteenBitCounterHoldsIsAFailure) {
    driver->numDevs = 32769;

    EXPECT_FALSE(joy->ConfiguratedJoy());

    const std::vector<std::string> events = log.Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_THAT(events[0], StartsWith("JoyError(cJoy.friend_ConfiguratedJoy: "));
    EXPECT_THAT(events[0], ::testing::HasSubstr("32769"));
}

} // namespace
