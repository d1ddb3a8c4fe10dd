// Starting and stopping the 25 ms poll, the shared reference and the re-entry bound.

#include "MonitorTest.h"

#include <QTest>
#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int kSeveralTicksMs = 150;

TEST_F(MonitorTest, StartPollsEveryTickThroughTheSharedReference) {
    Calibrated();

    joy->Start_JoyMonitor(0);

    EXPECT_EQ(timer_module::CurrentJoyMonitor, joy);
    EXPECT_TRUE(QTest::qWaitFor([&] { return driver->reads >= 5; }, 1000));
}

// End stops the only timer: registering the monitor again by hand brings no tick.
TEST_F(MonitorTest, ASecondStartSwitchesTheControllerWithoutASecondTimer) {
    Calibrated();
    driver->Answering(1);
    joy->Start_JoyMonitor(0);
    joy->Start_JoyMonitor(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver->reads >= 5; }, 1000));
    EXPECT_EQ(driver->lastReadSlot, 1u);

    joy->End_JoyMonitor();
    timer_module::CurrentJoyMonitor = joy;
    const int reads = driver->reads;
    QTest::qWait(kSeveralTicksMs);

    EXPECT_EQ(driver->reads, reads);
}

TEST_F(MonitorTest, EndThenStartResumesPolling) {
    Calibrated();
    joy->Start_JoyMonitor(0);
    joy->End_JoyMonitor();
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
    const int reads = driver->reads;
    QTest::qWait(kSeveralTicksMs);
    EXPECT_EQ(driver->reads, reads);

    joy->Start_JoyMonitor(0);

    EXPECT_TRUE(QTest::qWaitFor([&] { return driver->reads >= reads + 5; }, 1000));
}

TEST_F(MonitorTest, EndOnAnIdleMonitorOnlySelectsControllerZero) {
    driver->Answering(0);
    FakeJoystickDriver::Slot& slot1 = driver->Answering(1);
    slot1.reading.dwButtons = 2;
    slot1.reading.dwXpos = 0;
    joy->IsJoystick2_Valid();
    joy->Start_JoyMonitor(1);
    joy->End_JoyMonitor();
    joy->IsJoystick2_Valid();
    log.Take();

    joy->End_JoyMonitor();

    EXPECT_THAT(log.Take(), IsEmpty());
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
    // Controller 0 is polled, against the values last raised from controller 1.
    driver->scripted[0].reading = slot1.reading;
    EXPECT_TRUE(joy->Joystick_GetPos());
    EXPECT_EQ(driver->lastReadSlot, 0u);
    EXPECT_THAT(log.Take(), IsEmpty());
    const int reads = driver->reads;
    QTest::qWait(kSeveralTicksMs);
    EXPECT_EQ(driver->reads, reads);
}

TEST_F(MonitorTest, AStartWhoseFirstPollFailsStartsNothing) {
    joy->Start_JoyMonitor(0);

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
    QTest::qWait(kSeveralTicksMs);
    EXPECT_EQ(driver->reads, 1);
}

TEST_F(MonitorTest, ATickAfterEndDoesNothing) {
    Calibrated();
    joy->Start_JoyMonitor(0);
    joy->End_JoyMonitor();
    const int reads = driver->reads;

    timer_module::JoyMonitor_TimerProc(nullptr, 0, 1, 0);

    EXPECT_EQ(driver->reads, reads);
}

// An unplugged controller while the timer runs: one error, however many ticks.
TEST_F(MonitorTest, AnUnpluggedControllerIsReportedOnceWhileRunning) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    joy->Start_JoyMonitor(0);
    slot.readResult = platform::JOYERR_UNPLUGGED;

    ASSERT_TRUE(QTest::qWaitFor([&] { return driver->reads >= 6; }, 1000));

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
}

// A poll made outside the timer (a start, a validity test) whose handler runs a nested event
// loop, as a message box does: the running timer's ticks arriving meanwhile are skipped, so polls
// never nest, and polling goes on once the handler returns. (Qt itself keeps a timer's own tick
// from re-entering.)
TEST_F(MonitorTest, TicksDuringAPollsEventsAreSkipped) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    joy->Start_JoyMonitor(0);
    int depth = 0;
    int deepest = 0;
    int readsDuringHandler = 0;
    QObject::connect(joy.get(), &cJoy::JoyButton, [&] {
        deepest = std::max(deepest, ++depth);
        slot.reading.dwButtons ^= 1;  // a poll inside would raise JoyButton again
        const int reads = driver->reads;
        QTest::qWait(4 * 25);
        readsDuringHandler += driver->reads - reads;
        --depth;
    });

    slot.reading.dwButtons = 1;
    joy->Start_JoyMonitor(0);

    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(readsDuringHandler, 0);
    const int reads = driver->reads;
    EXPECT_TRUE(QTest::qWaitFor([&] { return driver->reads > reads; }, 1000));
}

TEST_F(MonitorTest, ARunningMonitorOutlivesItsOtherOwners) {
    Calibrated();
    joy->Start_JoyMonitor(0);
    const std::weak_ptr<cJoy> monitor = joy;
    joy.reset();

    const int reads = driver->reads;
    EXPECT_TRUE(QTest::qWaitFor([&] { return driver->reads >= reads + 3; }, 1000));

    timer_module::CurrentJoyMonitor->End_JoyMonitor();  // drops the last owner from inside itself
    EXPECT_TRUE(monitor.expired());
}

// The handler ends the monitor during a timer poll, dropping the last owner while the poll runs.
TEST_F(MonitorTest, EndingFromAHandlerDuringATickIsSafe) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    joy->Start_JoyMonitor(0);
    cJoy* raw = joy.get();
    QObject::connect(raw, &cJoy::JoyButton, [raw] { raw->End_JoyMonitor(); });
    const std::weak_ptr<cJoy> monitor = joy;
    joy.reset();

    slot.reading.dwButtons = 1;
    slot.reading.dwXpos = 0;

    EXPECT_TRUE(QTest::qWaitFor([&] { return monitor.expired(); }, 1000));
    // The poll finished its events before the monitor went.
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)", "JoyLeftStick(-10,0)"));
}

} // namespace
