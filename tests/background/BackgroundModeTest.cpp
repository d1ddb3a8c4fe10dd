// Reading with nobody at the window: waiting without a box until the controller to read is plugged
// in, looked for once a second, told in the window; a lost notice.

#include "background/BackgroundMode.h"
#include "background/DesktopNotice.h"
#include "background/TrayPicture.h"
#include "mainwindow/MainFormFixture.h"
#include "platform/QtShell.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

using State = BackgroundMode::State;

TEST_F(MainFormTest, BackgroundWaitsWithoutABoxAndReadsTheControllerOncePluggedIn) {
    const struct {
        const char* name;
        QString chosen;   // the chosen controller's GUID; empty: the first that answers
        QString plugged;  // the GUID plugged in after the wait began; empty: none
        bool readable;
        bool clickStop;  // the window's Stop clicked once reading
        State state;
        bool late = false;       // --background with no tray, plugged in after the timer's first look
        bool unplugged = false;  // unplugged again once read
        uint32_t slot = 0;       // where the pad is plugged in
    } cases[]{
        {"a box while none is attached", {}, {}, true, false, State::Waiting},
        {"not read once one is plugged in", {}, u"aa"_qs, true, false, State::Reading},
        {"another model read instead of the chosen one", u"bb"_qs, u"aa"_qs, true, false, State::Waiting},
        {"the chosen one not read", u"aa"_qs, u"aa"_qs, true, false, State::Reading},
        {"an unreadable pad reported every second", {}, u"aa"_qs, false, false, State::Waiting},
        {"reading started again after the window's Stop", {}, u"aa"_qs, true, true, State::Stopped},
        {"the wait not ended by the window's Stop", {}, {}, true, true, State::Stopped},
        {"a pad plugged in later not read", {}, u"aa"_qs, true, false, State::Reading, true},
        {"still reading once the pad is unplugged", {}, u"aa"_qs, true, false, State::Waiting, false, true},
        {"a pad in slot 1 alone told as waiting", {}, u"aa"_qs, true, false, State::Reading, false, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        *driver = FakeJoystickDriver();
        Load();
        shell.boxes.clear();
        platform::QtShell notices;
        BackgroundMode mode(*form, driver, notices, c.late, [&c] { return c.late; });  // a tray when hidden
        form->ScegliCorvane({c.chosen, u"Pad"_qs, {}});
        mode.Read();
        EXPECT_EQ(mode.Current(), State::Waiting);
        if (c.late) {
            QTest::qWait(1200);
        }
        if (!c.plugged.isEmpty()) {
            driver->attached = {{c.slot, u"Pad"_qs, c.plugged, {}}};
            if (c.readable) {
                driver->Answering(c.slot);
            }
        }
        QTest::qWait(1200);
        if (c.unplugged) {
            driver->attached.clear();
            driver->scripted.clear();
            driver->changeListener(0, platform::JOYERR_UNPLUGGED, {});  // as the driver tells it
            QTest::qWait(100);                                          // the monitor's box for the unplug
        }
        const std::size_t boxes = shell.boxes.size();
        if (c.clickStop) {
            Control<QPushButton>(u"Cmd_Stop"_qs)->click();
        }
        QTest::qWait(1100);
        EXPECT_EQ(mode.Current(), c.state);
        EXPECT_EQ(Control<QLabel>(u"Lab_Attesa"_qs)->isHidden(), c.state != State::Waiting);
        EXPECT_EQ(shell.boxes.size(), boxes);  // one report for a pad that cannot be read, not one a second
        // Slot 0, then slot 1; with a pad in slot 1 alone, Start's own test of slot 0, as the window's Start.
        EXPECT_EQ(boxes, c.readable ? (c.unplugged || c.slot == 1 ? 1U : 0U) : 2U);
        EXPECT_EQ(mode.findChildren<QSystemTrayIcon*>().size(), c.late ? 1 : 0) << "one, not one a second";
        form->Cmd_Stop_Click();
    }
    const auto badge = [](State state) { return TrayPicture(state).pixmap(64).toImage().pixel(45, 58); };
    EXPECT_NE(badge(State::Reading), badge(State::Waiting));
}

// The keyboard and mouse could not be had when the map was first loaded, before the background mode
// began: told on the desktop once, not lost, and not again at every look while hidden.
TEST_F(MainFormTest, AnOutputFailureFromBeforeTheBackgroundModeIsToldOnce) {
    Load("[Uscita]\n0=A\n");
    const QString why = form->Acquisizione().Reason();
    if (why.isEmpty()) {
        GTEST_SKIP() << "the keyboard and mouse opened here: no failure to tell";
    }
    platform::QtShell notices;
    testing::internal::CaptureStderr();
    {
        const BackgroundMode mode(*form, driver, notices, true, [] { return false; });
        QTest::qWait(1200);  // hidden without a tray: looked at once a second
    }
    const QString told = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(told.count(why), 1) << told.toStdString();
}

// The bus answers with an error when no notification service is there: a notice lost unless heard; so
// each notice told is a line on standard error. Hidden, going to and fro between a listed window and
// another is told once a second at most, the profile in force last; shown, the desktop tells nothing.
TEST_F(MainFormTest, NoticesGoToStandardErrorWhenTheBusHasNoNotificationService) {
    QProcess bus;
    bus.start(u"dbus-daemon"_qs, {u"--session"_qs, u"--nofork"_qs, u"--print-address"_qs});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    QDir().mkpath(ProfileStore::Directory());
    QFile film(ProfileStore::Directory() + u"/Film.ini"_qs);
    ASSERT_TRUE(film.open(QIODevice::WriteOnly) && film.write("[Profili]\nFinestre=mpv\n") > 0);
    film.close();
    platform::QtShell notices;
    BackgroundMode mode(*form, driver, notices, true, [] { return false; });
    testing::internal::CaptureStderr();
    DesktopNotice(nullptr).Show(u"Corvane (DEMO)"_qs, u"Joystick Unplugged"_qs, platform::MB_ICONINFORMATION);
    for (int i = 0; i < 20; ++i) {
        form->Profili().FollowWindow(i % 2 == 0 ? QStringList{u"mpv"_qs} : QStringList{});
    }
    QTest::qWait(1500);
    form->show();
    form->Profili().FollowWindow({u"mpv"_qs});
    QTest::qWait(500);
    form->setEnabled(false);  // as while About or the key dialog shows: a close leaves the window shown
    form->close();
    EXPECT_TRUE(form->isVisible());
    const QString told = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(told.contains(u"Joystick Unplugged"_qs)) << told.toStdString();
    EXPECT_EQ(told.count(u"Profilo"_qs), 2) << told.toStdString();
    EXPECT_TRUE(told.contains(u"Profilo Predefinito\n"_qs)) << "the last switch told";
    bus.kill();
    bus.waitForFinished();
}

}  // namespace
