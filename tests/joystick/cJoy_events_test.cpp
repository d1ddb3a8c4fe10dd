// The event contract of one poll: order, change-only raising, error texts and the flood rule.

#include "MonitorTest.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

TEST_F(MonitorTest, AFreshInstanceAtRestRaisesNothing) {
    driver->Answering(0);

    EXPECT_TRUE(joy->IsJoystick1_Valid());
    joy->Start_JoyMonitor(0);

    EXPECT_THAT(log.Take(), IsEmpty());
}

TEST_F(MonitorTest, APollAsksForEverythingInARecordOfFiftyTwoBytes) {
    Calibrated();

    joy->Joystick_GetPos();

    EXPECT_EQ(driver->lastRequest.dwSize, 52u);
    EXPECT_EQ(driver->lastRequest.dwFlags, 255u);
}

TEST_F(MonitorTest, OnePollRaisesButtonsLeftRightAndPadInThatOrder) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading = {.dwXpos = 0, .dwYpos = 65535, .dwZpos = 65535, .dwRpos = 0, .dwButtons = 5, .dwPOV = 9000};

    EXPECT_TRUE(joy->Joystick_GetPos());

    // The right stick's first value comes from R, its second from Z.
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(5)", "JoyLeftStick(-10,10)", "JoyRightStick(-10,10)",
                                        "JoyDpad(3)"));
}

TEST_F(MonitorTest, OnlyChangesAreRaised) {
    FakeJoystickDriver::Slot& slot = Calibrated();

    slot.reading.dwButtons = 1;
    joy->Joystick_GetPos();
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)"));

    joy->Joystick_GetPos();
    EXPECT_THAT(log.Take(), IsEmpty());

    slot.reading.dwButtons = 0;
    joy->Joystick_GetPos();
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(0)"));

    slot.reading.dwXpos = 65535;
    joy->Joystick_GetPos();
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(10,0)"));

    slot.reading.dwXpos = 65000;  // still rounds to 10
    joy->Joystick_GetPos();
    EXPECT_THAT(log.Take(), IsEmpty());

    slot.reading.dwYpos = 0;
    joy->Joystick_GetPos();
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(10,-10)"));
}

TEST_F(MonitorTest, ARightStickRangedZeroToZeroNeverMoves) {
    FakeJoystickDriver::Slot& slot = driver->Answering(0);
    slot.caps.wZmax = slot.caps.wRmax = 0;
    joy->IsJoystick1_Valid();
    joy->Start_JoyMonitor(0);

    for (const uint32_t raw : {0u, 1u, 40000u, 65535u}) {
        slot.reading.dwZpos = slot.reading.dwRpos = raw;
        joy->Joystick_GetPos();
    }

    EXPECT_THAT(log.Take(), IsEmpty());
}

// A handler that polls again sees the values already stored, and the outer poll goes on with its
// own reading.
TEST_F(MonitorTest, EachValueIsStoredBeforeItsEvent) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwButtons = 1;
    slot.reading.dwXpos = 0;
    bool nested = false;
    QObject::connect(joy.get(), &cJoy::JoyButton, [&] {
        if (!std::exchange(nested, true)) {
            joy->Joystick_GetPos();
        }
    });

    joy->Joystick_GetPos();

    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)", "JoyLeftStick(-10,0)"));
}

struct ErrorCase {
    uint32_t code;
    std::string text;  // the whole text, or its beginning for a code without a text of its own
    bool whole;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << "code_" << c.code;
}

class RefusedReading : public MonitorTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(RefusedReading, RaisesOneErrorAndNoChange) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.readResult = GetParam().code;
    slot.reading.dwButtons = 1;

    EXPECT_FALSE(joy->Joystick_GetPos());

    const std::vector<std::string> events = log.Take();
    ASSERT_EQ(events.size(), 1u);
    if (GetParam().whole) {
        EXPECT_EQ(events[0], "JoyError(" + GetParam().text + ")");
    } else {
        EXPECT_THAT(events[0], StartsWith("JoyError(" + GetParam().text));
        EXPECT_THAT(events[0], ::testing::HasSubstr(std::to_string(GetParam().code)));
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, RefusedReading,
                         ::testing::Values(ErrorCase{165, "Bad Joystick Parameters", true},
                                           ErrorCase{166, "General Joystick Error", true},
                                           ErrorCase{167, "Joystick Unplugged", true},
                                           ErrorCase{42, "cJoy.friend_Joystick_GetPos: ", false}));

TEST_F(MonitorTest, LastValuesSurviveAFailureAndARestart) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwButtons = 3;
    joy->Start_JoyMonitor(0);
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(3)"));

    slot.readResult = platform::JOYERR_UNPLUGGED;
    EXPECT_FALSE(joy->Joystick_GetPos());
    slot.readResult = platform::JOYERR_NOERROR;
    slot.reading.dwXpos = 0;
    EXPECT_TRUE(joy->Joystick_GetPos());
    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)", "JoyLeftStick(-10,0)"));

    joy->End_JoyMonitor();
    joy->Start_JoyMonitor(0);
    EXPECT_THAT(log.Take(), IsEmpty());
}

TEST_F(MonitorTest, AnyControllerButZeroOrOneIsRefusedWithoutReading) {
    driver->Answering(2);

    joy->Start_JoyMonitor(2);

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(invalid joystick number provided. must be 0 or 1)"));
    EXPECT_EQ(driver->reads, 0);
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
}

// The flood rule: a timer poll failing like the previous timer poll stays silent.

TEST_F(MonitorTest, ATimerPollRepeatingTheLastErrorRaisesNothing) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.readResult = platform::JOYERR_UNPLUGGED;

    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_FALSE(joy->Joystick_GetPos(true));
    }

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
}

TEST_F(MonitorTest, ATimerPollRaisesAgainAfterASuccessOrADifferentError) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    for (const uint32_t code : {167u, 167u, 0u, 167u, 166u, 167u, 167u}) {
        slot.readResult = code;
        joy->Joystick_GetPos(true);
    }

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)", "JoyError(Joystick Unplugged)",
                                        "JoyError(General Joystick Error)", "JoyError(Joystick Unplugged)"));
}

TEST_F(MonitorTest, PollsOutsideTheTimerAlwaysRaise) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.readResult = platform::JOYERR_UNPLUGGED;

    joy->Joystick_GetPos();
    joy->Joystick_GetPos();
    joy->Start_JoyMonitor(0);
    joy->Start_JoyMonitor(0);

    EXPECT_EQ(log.Take().size(), 4u);
}

TEST_F(MonitorTest, StartingResetsTheFloodRule) {
    Calibrated().readResult = platform::JOYERR_NOCANDO;
    joy->Joystick_GetPos(true);
    joy->Joystick_GetPos(true);

    joy->Start_JoyMonitor(0);
    joy->Joystick_GetPos(true);

    EXPECT_EQ(log.Take().size(), 3u);
}

struct ValidityCase {
    const char* name;
    bool (cJoy::*test)();
};

void PrintTo(const ValidityCase& c, std::ostream* os) {
    *os << c.name;
}

class ValidityTest : public MonitorTest, public ::testing::WithParamInterface<ValidityCase> {};

// After a validity test no controller is selected, so the timer poll keeps failing with the
// same text; the test in between makes it raise again.
TEST_P(ValidityTest, ResetsTheFloodRule) {
    driver->Answering(0);
    driver->Answering(1);
    (joy.get()->*GetParam().test)();
    joy->Joystick_GetPos(true);
    joy->Joystick_GetPos(true);

    (joy.get()->*GetParam().test)();
    joy->Joystick_GetPos(true);

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(invalid joystick number provided. must be 0 or 1)",
                                        "JoyError(invalid joystick number provided. must be 0 or 1)"));
}

INSTANTIATE_TEST_SUITE_P(BothControllers, ValidityTest,
                         ::testing::Values(ValidityCase{"IsJoystick1_Valid", &cJoy::IsJoystick1_Valid},
                                           ValidityCase{"IsJoystick2_Valid", &cJoy::IsJoystick2_Valid}));

TEST_F(MonitorTest, EndingTheMonitorResetsTheFloodRule) {
    Calibrated().readResult = platform::JOYERR_NOCANDO;
    joy->Joystick_GetPos(true);

    joy->End_JoyMonitor();
    joy->Joystick_GetPos(true);

    EXPECT_EQ(log.Take().size(), 2u);
}

} // namespace
