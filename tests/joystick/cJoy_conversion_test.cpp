// Axis values, hat directions and readings that do not fit 32 bits.

#include "MonitorTest.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

struct AxisCase {
    uint32_t axisMax;  // the controller reports every axis as 0..axisMax
    uint32_t raw;
    int32_t value;
};

void PrintTo(const AxisCase& c, std::ostream* os) {
    *os << "raw_" << c.raw << "_of_" << c.axisMax;
}

class AxisValue : public MonitorTest, public ::testing::WithParamInterface<AxisCase> {};

// The Y and Z axes go to their minimum, so both stick events are raised whatever X and R read.
TEST_P(AxisValue, ScalesTheRawPositionToMinusTenToTen) {
    const AxisCase c = GetParam();
    FakeJoystickDriver::Slot& slot = Calibrated(c.axisMax);
    slot.reading.dwXpos = slot.reading.dwRpos = c.raw;
    slot.reading.dwYpos = slot.reading.dwZpos = 0;

    EXPECT_TRUE(joy->Joystick_GetPos());

    const std::string v = std::to_string(c.value);
    EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(" + v + ",-10)", "JoyRightStick(" + v + ",-10)"));
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExample, AxisValue,
    ::testing::Values(AxisCase{65535, 0, -10}, AxisCase{65535, 1, -10}, AxisCase{65535, 3276, -9},
                      AxisCase{65535, 32767, 0}, AxisCase{65535, 32768, 0}, AxisCase{65535, 65534, 10},
                      AxisCase{65535, 65535, 10}, AxisCase{255, 0, -10}, AxisCase{255, 255, 10}));

// 0..40: centre 20, divisor 2, so odd readings land exactly half-way.
INSTANTIATE_TEST_SUITE_P(HalvesToEven, AxisValue,
                         ::testing::Values(AxisCase{40, 21, 0}, AxisCase{40, 23, 2}, AxisCase{40, 25, 2},
                                           AxisCase{40, 19, 0}, AxisCase{40, 17, -2}));

// The divisor is kept as a 32-bit float: 0..8 gives 0.4f, slightly above 0.4, so -7.5 becomes
// -7.4999999 and rounds to -7 (with a double divisor it would be -8).
INSTANTIATE_TEST_SUITE_P(FloatCalibration, AxisValue,
                         ::testing::Values(AxisCase{8, 1, -7}, AxisCase{72, 27, -3}));

struct HatCase {
    uint32_t pov;
    int32_t direction;
};

void PrintTo(const HatCase& c, std::ostream* os) {
    *os << "dwPOV_" << c.pov;
}

class HatDirection : public MonitorTest, public ::testing::WithParamInterface<HatCase> {};

TEST_P(HatDirection, TurnsHundredthsOfADegreeIntoAPadPosition) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwPOV = 58500;  // direction 14, which no case expects: every case raises JoyDpad
    joy->Joystick_GetPos();
    ASSERT_THAT(log.Take(), ElementsAre("JoyDpad(14)"));

    slot.reading.dwPOV = GetParam().pov;
    joy->Joystick_GetPos();

    EXPECT_THAT(log.Take(), ElementsAre("JoyDpad(" + std::to_string(GetParam().direction) + ")"));
}

INSTANTIATE_TEST_SUITE_P(
    StandardReadings, HatDirection,
    ::testing::Values(HatCase{65535, 0}, HatCase{0, 1}, HatCase{4500, 2}, HatCase{9000, 3}, HatCase{13500, 4},
                      HatCase{18000, 5}, HatCase{22500, 6}, HatCase{27000, 7}, HatCase{31500, 8}));

INSTANTIATE_TEST_SUITE_P(
    BandEdges, HatDirection,
    ::testing::Values(HatCase{2249, 1}, HatCase{2250, 2}, HatCase{6750, 2}, HatCase{6751, 3}, HatCase{11249, 3},
                      HatCase{11250, 4}, HatCase{15750, 4}, HatCase{15751, 5}, HatCase{20250, 6},
                      HatCase{24751, 7}, HatCase{29250, 8}, HatCase{33750, 8}, HatCase{33751, 9},
                      HatCase{34000, 9}, HatCase{35999, 9}, HatCase{38249, 9}, HatCase{38250, 10},
                      HatCase{65249, 15}, HatCase{65250, 0}));

struct OverflowCase {
    const char* member;
    uint32_t platform::JOYINFOEX::*field;
    uint32_t value;
    std::vector<std::string> raisedBefore;  // events of the same poll raised before the failure
};

void PrintTo(const OverflowCase& c, std::ostream* os) {
    *os << c.member << "_" << c.value;
}

class ReadingOverflow : public MonitorTest, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(ReadingOverflow, IsReportedByTheCatchAllAfterTheEventsAlreadyRaised) {
    const OverflowCase& c = GetParam();
    FakeJoystickDriver::Slot& slot = Calibrated();
    slot.reading.dwButtons = 1;
    slot.reading.dwXpos = 0;
    slot.reading.dwRpos = 0;
    slot.reading.*c.field = c.value;

    EXPECT_TRUE(joy->Joystick_GetPos());

    std::vector<std::string> events = log.Take();
    ASSERT_EQ(events.size(), c.raisedBefore.size() + 1);
    EXPECT_THAT(events.back(), StartsWith("JoyError(cJoy.friend_Joystick_GetPos: "));
    EXPECT_THAT(events.back(), HasSubstr(c.member));
    EXPECT_THAT(events.back(), HasSubstr(std::to_string(c.value)));
    events.pop_back();
    EXPECT_EQ(events, c.raisedBefore);
}

INSTANTIATE_TEST_SUITE_P(
    ThirtyTwoBits, ReadingOverflow,
    ::testing::Values(
        OverflowCase{"dwXpos", &platform::JOYINFOEX::dwXpos, 0x80000000u, {"JoyButton(1)"}},
        OverflowCase{"dwYpos", &platform::JOYINFOEX::dwYpos, 0xFFFFFFFFu, {"JoyButton(1)"}},
        OverflowCase{"dwRpos", &platform::JOYINFOEX::dwRpos, 0x80000000u, {"JoyButton(1)", "JoyLeftStick(-10,0)"}},
        OverflowCase{"dwZpos", &platform::JOYINFOEX::dwZpos, 0x80000000u, {"JoyButton(1)", "JoyLeftStick(-10,0)"}},
        OverflowCase{"dwPOV", &platform::JOYINFOEX::dwPOV, 0x80000000u,
                     {"JoyButton(1)", "JoyLeftStick(-10,0)", "JoyRightStick(-10,0)"}}));

// An axis calibrated from 0..1 has the divisor 0.05: the largest reading scales past 32 bits.
TEST_F(MonitorTest, AScaledValueBeyondThirtyTwoBitsIsReportedByTheCatchAll) {
    FakeJoystickDriver::Slot& slot = Calibrated(1);
    slot.reading.dwXpos = 0x7FFFFFFF;

    EXPECT_TRUE(joy->Joystick_GetPos());

    const std::vector<std::string> events = log.Take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_THAT(events[0], StartsWith("JoyError(cJoy.friend_Joystick_GetPos: "));
    EXPECT_THAT(events[0], HasSubstr("dwXpos"));
}

TEST_F(MonitorTest, AMaskWithBitThirtyOneIsNegative) {
    Calibrated().reading.dwButtons = 0x80000001u;

    joy->Joystick_GetPos();

    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(-2147483647)"));
}

} // namespace
