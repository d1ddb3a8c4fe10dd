// The event contract of one poll: order, change-only raising, error texts and the flood rule.

#include "MonitorTest.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

const std::string kInvalidNumber = "JoyError(invalid joystick number provided. must be 0 or 1)";

TEST_F(MonitorTest, AFreshInstanceAtRestRaisesNothing) {
    driver->Answering(0);

    EXPECT_TRUE(joy->IsJoystick1_Valid());
    joy->Start_JoyMonitor(0);

    EXPECT_THAT(log.Take(), IsEmpty());
    EXPECT_EQ(driver->lastRequest.dwSize, 52u);
    EXPECT_EQ(driver->lastRequest.dwFlags, 255u);
}

TEST_F(MonitorTest, OnePollRaisesButtonsLeftRightAndPadInThatOrder) {
    Calibrated().reading = {.dwXpos = 0, .dwYpos = 65535, .dwZpos = 65535, .dwRpos = 0, .dwButtons = 5,
                            .dwPOV = 9000};

    EXPECT_TRUE(joy->Joystick_GetPos());

    // The right stick's first value comes from R, its second from Z.
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(5)", "JoyLeftStick(-10,10)", "JoyRightStick(-10,10)",
                                        "JoyDpad(3)"));
}

TEST_F(MonitorTest, OnlyChangesAreRaised) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    const auto poll = [&] {
        joy->Joystick_GetPos();
        return log.Take();
    };

    slot.reading.dwButtons = 1;
    EXPECT_THAT(poll(), ElementsAre("JoyButton(1)"));
    EXPECT_THAT(poll(), IsEmpty());
    slot.reading.dwButtons = 0;
    EXPECT_THAT(poll(), ElementsAre("JoyButton(0)"));
    slot.reading.dwXpos = 65535;
    EXPECT_THAT(poll(), ElementsAre("JoyLeftStick(10,0)"));
    slot.reading.dwXpos = 65000;  // still rounds to 10
    EXPECT_THAT(poll(), IsEmpty());
}

// A handler that polls again finds the values already stored; the outer poll goes on with its
// own reading.
TEST_F(MonitorTest, EachValueIsStoredBeforeItsEvent) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwButtons = 1;
    slot.reading.dwXpos = 0;
    bool nested = false;
    QObject::connect(joy.get(), &cJoy::JoyButton, [&] {
        if (!std::exchange(nested, true)) {
            slot.reading.dwXpos = 65535;
            joy->Joystick_GetPos();
        }
    });

    joy->Joystick_GetPos();

    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)", "JoyLeftStick(10,0)", "JoyLeftStick(-10,0)"));
}

TEST_F(MonitorTest, ARefusedReadingRaisesOneErrorAndNoChange) {
    const struct {
        uint32_t code;
        std::string text;
    } cases[] = {
        {165, "Bad Joystick Parameters"}, {166, "General Joystick Error"}, {167, "Joystick Unplugged"},
        {42, "cJoy.friend_Joystick_GetPos: "},  // a code without a text: the catch-all
    };
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwButtons = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        slot.readResult = c.code;

        EXPECT_FALSE(joy->Joystick_GetPos());

        const std::vector<std::string> events = log.Take();
        ASSERT_EQ(events.size(), 1u);
        if (c.code == 42) {
            EXPECT_THAT(events[0], StartsWith("JoyError(" + c.text));
            EXPECT_THAT(events[0], HasSubstr("42"));
        } else {
            EXPECT_EQ(events[0], "JoyError(" + c.text + ")");
        }
    }
}

TEST_F(MonitorTest, LastValuesSurviveAFailureAndARestart) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwButtons = 3;
    joy->Start_JoyMonitor(0);
    slot.readResult = platform::JOYERR_UNPLUGGED;
    joy->Joystick_GetPos();
    slot.readResult = platform::JOYERR_NOERROR;
    slot.reading.dwXpos = 0;
    joy->Joystick_GetPos();
    joy->End_JoyMonitor();
    joy->Start_JoyMonitor(0);

    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(3)", "JoyError(Joystick Unplugged)", "JoyLeftStick(-10,0)"));
}

TEST_F(MonitorTest, AnyControllerButZeroOrOneIsRefusedWithoutReading) {
    driver->Answering(2);

    joy->Start_JoyMonitor(2);

    EXPECT_THAT(log.Take(), ElementsAre(kInvalidNumber));
    EXPECT_EQ(driver->reads, 0);
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
}

// The flood rule: a timer poll failing with the text of the previous timer poll raises nothing.
TEST_F(MonitorTest, ATimerPollRepeatingTheLastErrorStaysSilent) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    for (const uint32_t code : {167u, 167u, 167u, 0u, 167u, 166u, 167u, 167u}) {
        slot.readResult = code;
        joy->Joystick_GetPos(true);
    }

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)", "JoyError(Joystick Unplugged)",
                                        "JoyError(General Joystick Error)", "JoyError(Joystick Unplugged)"));
}

// A reading that stays out of range with changing values fails the same way on every tick: only
// the failing member counts, not the value in the text.
TEST_F(MonitorTest, ATimerPollFailingAgainWithOtherValuesStaysSilent) {
    FakeJoystickDriver::Slot& slot = Calibrated(1);  // divisor 0.05: the largest readings overflow
    const struct {
        uint32_t xpos, rpos;
    } ticks[] = {{0, 0x7FFFFFFF}, {0, 0x7FFFFFF0}, {0, 0x7FFFFFFF}, {0x7FFFFFFF, 0}, {0x7FFFFFF0, 0}, {0, 0},
                 {0, 0x7FFFFFF0}};
    std::vector<std::string> errors;
    for (const auto& tick : ticks) {
        slot.reading.dwXpos = tick.xpos;
        slot.reading.dwRpos = tick.rpos;
        joy->Joystick_GetPos(true);
        for (const std::string& event : log.Take()) {
            if (event.starts_with("JoyError(")) {
                errors.push_back(event);
            }
        }
    }

    ASSERT_EQ(errors.size(), 3u);
    EXPECT_THAT(errors[0], HasSubstr("dwRpos"));
    EXPECT_THAT(errors[1], HasSubstr("dwXpos"));
    EXPECT_THAT(errors[2], HasSubstr("dwRpos"));
}

TEST_F(MonitorTest, StartEndAndPollsOutsideTheTimerResetTheFloodRule) {
    Calibrated().readResult = platform::JOYERR_NOCANDO;
    const auto ticks = [&] {
        joy->Joystick_GetPos(true);
        joy->Joystick_GetPos(true);
    };

    ticks();
    joy->Joystick_GetPos();  // raises, as every poll outside the timer does
    ticks();
    joy->Start_JoyMonitor(0);
    ticks();
    joy->End_JoyMonitor();
    ticks();

    EXPECT_EQ(log.Take(), std::vector<std::string>(6, "JoyError(General Joystick Error)"));
}

// After a validity test no controller is selected, so every tick fails with the same text; the
// next validity test makes it raise again.
TEST_F(MonitorTest, AValidityTestResetsTheFloodRule) {
    driver->Answering(0);
    driver->Answering(1);
    for (bool (cJoy::*test)() : {&cJoy::IsJoystick1_Valid, &cJoy::IsJoystick2_Valid}) {
        (joy.get()->*test)();
        joy->Joystick_GetPos(true);
        joy->Joystick_GetPos(true);
    }

    EXPECT_THAT(log.Take(), ElementsAre(kInvalidNumber, kInvalidNumber));
}

} // namespace
