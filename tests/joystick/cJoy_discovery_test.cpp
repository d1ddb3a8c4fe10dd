// Validity tests, calibration from the axis ranges and counting the configured slots.

#include "MonitorTest.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

TEST_F(MonitorTest, NothingInSlotZeroAndAControllerInSlotOne) {
    driver->Answering(1).reading = {.dwXpos = 0, .dwYpos = 0, .dwButtons = 1, .dwPOV = 0};

    EXPECT_FALSE(joy->IsJoystick1_Valid());
    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
    EXPECT_TRUE(joy->IsJoystick2_Valid());
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)", "JoyDpad(1)"));  // no stick before calibration

    joy->Start_JoyMonitor(1);
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(-10,-10)", "JoyRightStick(-10,-10)"));
}

TEST_F(MonitorTest, CalibratesFromZeroToSixtyFiveThousandAndFromZeroToZero) {
    FakeJoystickDriver::Slot& slot = driver->Answering(0);
    slot.caps.wZmax = slot.caps.wRmax = 0;
    joy->IsJoystick1_Valid();
    joy->Start_JoyMonitor(0);

    for (const uint32_t raw : {0u, 65535u}) {
        slot.reading = {.dwXpos = raw, .dwYpos = 65535 - raw, .dwZpos = raw, .dwRpos = raw, .dwPOV = 65535};
        joy->Joystick_GetPos();
    }

    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(-10,10)", "JoyLeftStick(10,-10)"));
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
// after the X and Y centres, so X has its new centre and its old divisor.
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
    EXPECT_THAT(events[0], HasSubstr("asse R"));

    slot.reading = {.dwXpos = 255, .dwYpos = 255, .dwZpos = 0, .dwRpos = 0, .dwPOV = 65535};
    joy->Start_JoyMonitor(0);
    // X: (255 - 127.5) / 3276.75 rounds to 0. R and Z keep 0..65535.
    EXPECT_THAT(log.Take(), ElementsAre("JoyRightStick(-10,-10)"));
}

TEST_F(MonitorTest, NoControllerIsSelectedAfterEitherValidityTest) {
    for (const bool answering : {true, false}) {
        for (bool (cJoy::*test)() : {&cJoy::IsJoystick1_Valid, &cJoy::IsJoystick2_Valid}) {
            SCOPED_TRACE(testing::Message() << "answering " << answering << ", controller "
                                            << (test == &cJoy::IsJoystick1_Valid ? 1 : 2));
            driver->scripted.clear();
            if (answering) {
                driver->Answering(0);
                driver->Answering(1);
            }
            EXPECT_EQ((joy.get()->*test)(), answering);
            log.Take();
            const int reads = driver->reads;

            EXPECT_FALSE(joy->Joystick_GetPos());

            EXPECT_THAT(log.Take(), ElementsAre("JoyError(invalid joystick number provided. must be 0 or 1)"));
            EXPECT_EQ(driver->reads, reads);
        }
    }
}

TEST_F(MonitorTest, ConfiguratedJoyCountsTheSlotsWhoseCapabilitiesAnswer) {
    const struct {
        uint32_t slotCount;
        std::vector<uint32_t> answering;
        int32_t count;
    } cases[] = {
        {16, {3, 9}, 2},
        {16, {0, 1, 16}, 2},  // slot 16 is beyond the count
        {0, {0}, 0},
        {32768, {0, 32767}, 2},  // the last slot number still fits a 16-bit counter
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slotCount);
        driver->numDevs = c.slotCount;
        driver->scripted.clear();
        for (const uint32_t slot : c.answering) {
            driver->scripted[slot].capsResult = platform::JOYERR_NOERROR;
        }

        EXPECT_TRUE(joy->ConfiguratedJoy());

        EXPECT_THAT(log.Take(), ElementsAre("JoyNumbers(" + std::to_string(c.count) + ")"));
    }
    EXPECT_EQ(driver->reads, 0);
}

TEST_F(MonitorTest, MoreSlotsThanASixteenBitCounterHoldsIsAFailure) {
    driver->numDevs = 32769;

    EXPECT_FALSE(joy->ConfiguratedJoy());

    const std::vector<std::string> events = log.Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_THAT(events[0], StartsWith("JoyError(cJoy.friend_ConfiguratedJoy: "));
    EXPECT_THAT(events[0], HasSubstr("32769"));
}

} // namespace
