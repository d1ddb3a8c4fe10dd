// Reading with nobody at the window: waiting without a box until the controller to read is plugged
// in, looked for once a second through the driver, told in the window and ended by its Stop; the tray
// icon that comes with a late tray; a notice with no notification service on the bus.

#include "background/BackgroundMode.h"
#include "background/DesktopNotice.h"
#include "mainwindow/MainFormFixture.h"
#include "platform/QtShell.h"

#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

namespace {

using State = BackgroundMode::State;

TEST_F(MainFormTest, BackgroundWaitsWithoutABoxAndReadsTheControllerOncePluggedIn) {
    const struct {
        const char* name;
        QString chosen;   // the chosen controller's GUID; empty: the first that answers
        QString plugged;  // the GUID plugged in after the wait began; empty: none
        bool readable;
        bool late;       // plugged in after the first look of the timer, not before it
        bool hidden;     // --background, on a desktop without a tray
        bool clickStop;  // the window's Stop clicked after the first look
        State state;
    } cases[]{
        {"a box while none is attached", {}, {}, true, false, false, false, State::Waiting},
        {"not read once one is plugged in", {}, u"aa"_qs, true, false, false, false, State::Reading},
        {"another model read instead of the chosen one", u"bb"_qs, u"aa"_qs, true, false, false, false,
         State::Waiting},
        {"the chosen one not read", u"aa"_qs, u"aa"_qs, true, false, false, false, State::Reading},
        {"an unreadable pad reported every second", {}, u"aa"_qs, false, false, false, false, State::Waiting},
        {"reading started again after the window's Stop",
         {},
         u"aa"_qs,
         true,
         false,
         false,
         true,
         State::Stopped},
        {"the wait not ended by the window's Stop", {}, {}, true, false, false, true, State::Stopped},
        {"a pad plugged in later not read with no tray",
         {},
         u"aa"_qs,
         true,
         true,
         true,
         false,
         State::Reading},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        *driver = FakeJoystickDriver();
        Load();
        shell.boxes.clear();
        platform::QtShell notices;
        BackgroundMode mode(*form, driver, notices, c.hidden, [] { return false; });
        form->ScegliCorvane({c.chosen, u"Pad"_qs});
        mode.Read();
        EXPECT_EQ(mode.Current(), State::Waiting);
        // The window says that it waits, and Stop can end the wait.
        EXPECT_FALSE(Control<QLabel>(u"Lab_Attesa"_qs)->isHidden());
        EXPECT_TRUE(Control<QPushButton>(u"Cmd_Stop"_qs)->isEnabled());
        const auto plug = [&] {
            driver->attached = {{0, u"Pad"_qs, c.plugged}};
            if (c.readable) {
                driver->Answering(0);
            }
        };
        if (!c.plugged.isEmpty() && !c.late) {
            plug();
        }
        QTest::qWait(1200);
        if (!c.plugged.isEmpty() && c.late) {
            plug();
        }
        const std::size_t boxes = shell.boxes.size();
        if (c.clickStop) {
            Control<QPushButton>(u"Cmd_Stop"_qs)->click();
        }
        QTest::qWait(1100);
        EXPECT_EQ(mode.Current(), c.state);
        EXPECT_EQ(Control<QLabel>(u"Lab_Attesa"_qs)->isHidden(), c.state != State::Waiting);
        EXPECT_EQ(shell.boxes.size(), boxes);    // one report for a pad that cannot be read, not one a second
        EXPECT_EQ(boxes, c.readable ? 0U : 2U);  // slot 0, then slot 1
        form->Cmd_Stop_Click();
    }
}

TEST_F(MainFormTest, BackgroundTrayIconComesWithALateTrayAndShowsTheState) {
    bool trayThere = false;
    platform::QtShell notices;
    BackgroundMode mode(*form, driver, notices, true, [&trayThere] { return trayThere; });
    EXPECT_EQ(mode.findChild<QSystemTrayIcon*>(), nullptr);
    trayThere = true;  // the panel starts after the program, as at login
    QTest::qWait(1100);
    const auto* icon = mode.findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);  // the tray looked for only at start
    EXPECT_TRUE(icon->isVisible());
    const QImage stopped = icon->icon().pixmap(32).toImage();
    mode.Read();
    const QImage waiting = icon->icon().pixmap(32).toImage();
    driver->attached = {{0, u"Pad"_qs, u"aa"_qs}};
    driver->Answering(0);
    QTest::qWait(1100);
    ASSERT_EQ(mode.Current(), State::Reading);
    const QImage reading = icon->icon().pixmap(32).toImage();
    // One picture for two states: only the tooltip would tell them apart.
    EXPECT_NE(stopped, waiting);
    EXPECT_NE(waiting, reading);
    EXPECT_NE(reading, stopped);
    form->Cmd_Stop_Click();
}

QStringList noticeWarnings;

// A session bus without a notification service answers Notify with an error: the notice is lost unless
// that answer is heard.
TEST(DesktopNotice, GoesToStandardErrorWhenTheBusHasNoNotificationService) {
    QProcess bus;
    bus.start(u"dbus-daemon"_qs, {u"--session"_qs, u"--nofork"_qs, u"--print-address"_qs});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& where, const QString& text) {
            if (QLatin1String(where.category) == QLatin1String("corvane.notice")) {
                noticeWarnings.append(text);
            }
        });
    DesktopNotice(nullptr).Show(u"Corvane (DEMO)"_qs, u"Joystick Unplugged"_qs, platform::MB_ICONINFORMATION);
    for (int wait = 0; wait < 100 && noticeWarnings.isEmpty(); ++wait) {
        QTest::qWait(50);
    }
    ASSERT_EQ(noticeWarnings.size(), 1);
    EXPECT_TRUE(noticeWarnings.constFirst().endsWith(u"Joystick Unplugged"_qs));
    qInstallMessageHandler(previous);
    bus.kill();
    bus.waitForFinished();
}

}  // namespace
