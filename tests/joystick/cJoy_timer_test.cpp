// Starting and stopping the 25 ms poll, the shared reference, teardown and the re-entry bound.

#include "MonitorTest.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int kSeveralTicksMs = 150;

// True when the driver is read at least `count` more times within a second.
bool Polled(const FakeJoystickDriver& driver, int count) {
    const int target = driver.reads + count;
    return QTest::qWaitFor([&] { return driver.reads >= target; }, 1000);
}

bool NotPolled(const FakeJoystickDriver& driver) {
    const int reads = driver.reads;
    QTest::qWait(kSeveralTicksMs);
    return driver.reads == reads;
}

TEST_F(MonitorTest, EndThenStartResumesPolling) {
    Calibrated();

    joy->Start_JoyMonitor(0);
    EXPECT_EQ(timer_module::CurrentJoyMonitor, joy);
    EXPECT_TRUE(Polled(*driver, 4));

    joy->End_JoyMonitor();
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
    EXPECT_TRUE(NotPolled(*driver));

    joy->Start_JoyMonitor(0);
    EXPECT_TRUE(Polled(*driver, 4));
}

// End stops the only timer: registering the monitor again by hand brings no tick.
TEST_F(MonitorTest, ASecondStartSwitchesTheControllerWithoutASecondTimer) {
    Calibrated();
    driver->Answering(1);
    joy->Start_JoyMonitor(0);
    joy->Start_JoyMonitor(1);
    ASSERT_TRUE(Polled(*driver, 2));
    EXPECT_EQ(driver->lastReadSlot, 1u);

    joy->End_JoyMonitor();
    timer_module::CurrentJoyMonitor = joy;

    EXPECT_TRUE(NotPolled(*driver));
}

TEST_F(MonitorTest, EndOnAnIdleMonitorOnlySelectsControllerZero) {
    FakeJoystickDriver::Slot& slot1 = driver->Answering(1);
    slot1.reading.dwButtons = 2;
    joy->IsJoystick2_Valid();
    log.Take();

    joy->End_JoyMonitor();

    EXPECT_THAT(log.Take(), IsEmpty());
    EXPECT_TRUE(NotPolled(*driver));
    driver->Answering(0).reading.dwButtons = 2;
    EXPECT_TRUE(joy->Joystick_GetPos());
    EXPECT_EQ(driver->lastReadSlot, 0u);
    EXPECT_THAT(log.Take(), IsEmpty());  // the last values are still those of controller 1
}

// A later good start must then start the timer: the failed one left no half-started state.
TEST_F(MonitorTest, AStartWhoseFirstPollFailsStartsNothing) {
    joy->Start_JoyMonitor(0);

    EXPECT_THAT(log.Take(), ElementsAre("JoyError(Joystick Unplugged)"));
    EXPECT_EQ(timer_module::CurrentJoyMonitor, nullptr);
    EXPECT_TRUE(NotPolled(*driver));

    driver->Answering(0);
    joy->Start_JoyMonitor(0);
    EXPECT_EQ(timer_module::CurrentJoyMonitor, joy);
    EXPECT_TRUE(Polled(*driver, 4));
}

TEST_F(MonitorTest, ATickAfterEndDoesNothing) {
    Calibrated();
    joy->Start_JoyMonitor(0);
    joy->End_JoyMonitor();
    const int reads = driver->reads;

    timer_module::JoyMonitor_TimerProc(nullptr, 0, 1, 0);

    EXPECT_EQ(driver->reads, reads);
}

// Another timer's handler, run in the same pass of the event loop as the poll timer's tick, ends the
// monitor: that tick must not poll, whether it was due after the handler or was queued before it, and
// whether or not a new Start follows at once.
TEST_F(MonitorTest, ATickAlreadyDueWhenEndRunsDoesNothing) {
    const struct {
        const char* what;  // and the fault the row catches
        int endAfterMs;    // when the other timer's handler runs; the poll ticks at 25 ms
        bool startAgain;
    } cases[] = {
        {"due after End: the timer stopped polls on", 5, false},
        {"queued before End, then a new Start: a killed timer's tick run", 30, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Calibrated();
        QTimer ender;
        ender.setSingleShot(true);
        ender.setTimerType(Qt::PreciseTimer);
        int reads = 0;
        QObject::connect(&ender, &QTimer::timeout, [&] {
            joy->End_JoyMonitor();
            if (c.startAgain) {
                joy->Start_JoyMonitor(0);
            }
            reads = driver->reads;
        });
        joy->Start_JoyMonitor(0);
        ender.start(c.endAfterMs);
        QThread::msleep(60);  // both timers overdue

        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();

        EXPECT_FALSE(ender.isActive());
        EXPECT_EQ(driver->reads, reads);
        joy->End_JoyMonitor();
        EXPECT_TRUE(NotPolled(*driver));
    }
}

// A poll whose handler runs a nested event loop, as a message box does: the timer polls inside it (so a
// pad plugged back in behind the box is read), but not inside a poll made there, so polls nest one deep.
// Catches skipping every tick under a poll, and nesting without a bound.
TEST_F(MonitorTest, TicksPollInsideAPollsEventsOneDeep) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    joy->Start_JoyMonitor(0);
    int depth = 0;
    int deepest = 0;
    int readsInnermost = 0;
    QObject::connect(joy.get(), &cJoy::JoyButton, [&] {
        deepest = std::max(deepest, ++depth);
        slot.reading.dwButtons ^= 1;  // a poll inside raises JoyButton again
        const int reads = driver->reads;
        QTest::qWait(4 * 25);
        readsInnermost += depth == 2 ? driver->reads - reads : 0;
        --depth;
    });

    slot.reading.dwButtons = 1;
    joy->Start_JoyMonitor(0);

    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(readsInnermost, 0);
    EXPECT_TRUE(Polled(*driver, 1));
}

TEST_F(MonitorTest, ARunningMonitorOutlivesItsOtherOwnersUntilEnded) {
    Calibrated();
    joy->Start_JoyMonitor(0);
    const std::weak_ptr<cJoy> monitor = joy;
    joy.reset();
    EXPECT_TRUE(Polled(*driver, 2));

    timer_module::CurrentJoyMonitor->End_JoyMonitor();  // drops the last owner from inside itself

    EXPECT_TRUE(monitor.expired());
}

// The handler ends the monitor during a tick, dropping its last owner while the poll runs.
TEST_F(MonitorTest, EndingFromAHandlerDuringATickFinishesThePollFirst) {
    FakeJoystickDriver::Slot& slot = Calibrated();
    joy->Start_JoyMonitor(0);
    cJoy* raw = joy.get();
    QObject::connect(raw, &cJoy::JoyButton, [raw] { raw->End_JoyMonitor(); });
    const std::weak_ptr<cJoy> monitor = joy;
    joy.reset();

    slot.reading.dwButtons = 1;
    slot.reading.dwXpos = 0;

    EXPECT_TRUE(QTest::qWaitFor([&] { return monitor.expired(); }, 1000));
    EXPECT_THAT(log.Take(), ElementsAre("JoyButton(1)", "JoyLeftStick(-10,0)"));
}

} // namespace
