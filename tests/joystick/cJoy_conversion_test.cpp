// Axis values, hat directions, and readings that do not fit 32 bits.

#include "MonitorTest.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

TEST_F(MonitorTest, AxisValuesSpanMinusTenToTenWithHalvesToEven) {
    const struct {
        uint32_t axisMax;  // every axis ranged axisMin..axisMax
        uint32_t raw;
        int32_t value;
        uint32_t axisMin = 0;
    } cases[] = {
        {65535, 0, -10}, {65535, 1, -10}, {65535, 3276, -9}, {65535, 32767, 0}, {65535, 32768, 0},
        {65535, 65534, 10}, {65535, 65535, 10}, {255, 255, 10},
        // 0..40: centre 20, divisor 2, so odd readings land half-way.
        {40, 21, 0}, {40, 23, 2}, {40, 25, 2}, {40, 19, 0}, {40, 17, -2},
        // The divisor is a float: 0..8 gives 0.4f, a little above 0.4, so -7.5 becomes -7.4999999.
        {8, 1, -7}, {72, 27, -3},
        // The centre is half the span, not the middle of the range: 1000..3000 centres on 1000.
        {3000, 2000, 10, 1000}, {3000, 1000, 0, 1000},
        // Readings are signed: 0xFFFFFFFF is -1, 0x80000000 the most negative, neither clamped.
        {65535, 0xFFFFFFFFu, -10}, {65535, 0x80000000u, -655380}, {1, 0xFFFFFFFFu, -30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "raw " << c.raw << " of " << c.axisMin << ".." << c.axisMax);
        FakeJoystickDriver::Slot& slot = Calibrated(c.axisMax, c.axisMin);
        slot.reading.dwXpos = slot.reading.dwRpos = c.raw;
        slot.reading.dwYpos = slot.reading.dwZpos = 0;  // -10: both stick events are raised

        EXPECT_TRUE(joy->Joystick_GetPos());

        const std::string v = std::to_string(c.value);
        EXPECT_THAT(log.Take(), ElementsAre("JoyLeftStick(" + v + ",-10)", "JoyRightStick(" + v + ",-10)"));
    }
}

TEST_F(MonitorTest, HatReadingsFallIntoTheirBands) {
    const struct {
        uint32_t pov;
        int32_t direction;
    } cases[] = {
        {65535, 0}, {0, 1}, {4500, 2}, {9000, 3}, {13500, 4}, {18000, 5}, {22500, 6}, {27000, 7}, {31500, 8},
        {2249, 1}, {2250, 2}, {6750, 2}, {6751, 3}, {11249, 3}, {11250, 4}, {15750, 4}, {15751, 5}, {20250, 6},
        {24751, 7}, {29250, 8}, {33750, 8}, {33751, 9}, {34000, 9}, {35999, 9}, {38249, 9}, {38250, 10},
        {65249, 15}, {65250, 0},
        // Signed readings: -1 is just short of up; halves still go to the even neighbour.
        {0xFFFFFFFFu, 1}, {uint32_t(-2250), 0}, {uint32_t(-6750), 0}, {uint32_t(-6751), -1},
        {uint32_t(-11250), -2}, {0x80000000u, -477218},
    };
    FakeJoystickDriver::Slot& slot = Calibrated();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "dwPOV " << c.pov);
        slot.reading.dwPOV = 58500;  // direction 14, which no case expects
        joy->Joystick_GetPos();
        log.Take();

        slot.reading.dwPOV = c.pov;
        joy->Joystick_GetPos();

        EXPECT_THAT(log.Take(), ElementsAre("JoyDpad(" + std::to_string(c.direction) + ")"));
    }
}

// Events raised before the failing value stay raised, and the poll still counts as a reading.
// 0..1 gives the divisor 0.05: the largest and the smallest 32-bit readings scale past 32 bits.
TEST_F(MonitorTest, AValueBeyondThirtyTwoBitsIsReportedByTheCatchAll) {
    const struct {
        uint32_t axisMax;
        uint32_t platform::JOYINFOEX::*member;
        uint32_t value;
        const char* name;
        std::vector<std::string> raisedBefore;
    } cases[] = {
        {1, &platform::JOYINFOEX::dwXpos, 0x80000000u, "dwXpos", {"JoyButton(1)"}},
        {1, &platform::JOYINFOEX::dwYpos, 0x7FFFFFFFu, "dwYpos", {"JoyButton(1)"}},
        {1, &platform::JOYINFOEX::dwRpos, 0x7FFFFFFFu, "dwRpos", {"JoyButton(1)", "JoyLeftStick(-10,-10)"}},
        {1, &platform::JOYINFOEX::dwZpos, 0x80000000u, "dwZpos", {"JoyButton(1)", "JoyLeftStick(-10,-10)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJoystickDriver::Slot& slot = Calibrated(c.axisMax);
        slot.reading.dwButtons = 1;
        slot.reading.dwXpos = slot.reading.dwYpos = slot.reading.dwRpos = 0;
        slot.reading.*c.member = c.value;

        EXPECT_TRUE(joy->Joystick_GetPos());

        std::vector<std::string> events = log.Take();
        ASSERT_EQ(events.size(), c.raisedBefore.size() + 1);
        EXPECT_THAT(events.back(), StartsWith("JoyError(cJoy.friend_Joystick_GetPos: "));
        EXPECT_THAT(events.back(), HasSubstr(c.name));
        events.pop_back();
        EXPECT_THAT(events, ElementsAreArray(c.raisedBefore));
    }
}

TEST_F(MonitorTest, AMaskWithBitThirtyOneIsNegative) {
    Calibrated().reading.dwButtons = 0x80000001u;

    joy->Joystick_GetPos();

    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(-2147483647)"));
}

} // namespace
