// MainForm fed by the real monitor over the SDL driver, with virtual joysticks: a button's command runs
// once per press (a real Corvane.ini and the real shell); two controllers, one unplugged and plugged
// back; the controller chosen from the menu is read, remembered and reported when away.

#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/desktop/Settings.h"
#include "platform/input/JoystickDriver.h"
#include "support/QtPrinters.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"
#include "support/VirtualJoysticks.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr int PollMs = 25;

QStringList Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

TEST(MainFormSdl, HeldButtonShowsItsHighlightAndStartsItsCommandOncePerPress) {
    const std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // read raw: virtual button n is bit n of the mask
    desc.naxes = 4;
    desc.nbuttons = 14;
    desc.nhats = 1;
    desc.name = "Virtual stick";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* device = SDL_JoystickOpen(index);
    ASSERT_NE(device, nullptr);

    QTemporaryDir output;
    const QString log = output.filePath(QStringLiteral("premuti.txt"));
    TempProgramDirectory dir;
    dir.WriteIni("[Tasti]\n2=4 [/bin/sh -c \"echo premuto >> '" + log.toUtf8() + "'\"]\n");

    platform::QtShell shell;
    MainForm form(driver, shell);
    auto* start = form.findChild<QPushButton*>(QStringLiteral("Cmd_Start"));
    auto* stop = form.findChild<QPushButton*>(QStringLiteral("Cmd_Stop"));
    ASSERT_NE(start, nullptr);
    ASSERT_NE(stop, nullptr);
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(stop->isEnabled()) << "acquisition started on controller 0";
    QWidget* highlight = form.findChild<QWidget*>(QStringLiteral("Img_Tasto(2)"));
    ASSERT_NE(highlight, nullptr);

    ASSERT_EQ(SDL_JoystickSetVirtualButton(device, 2, SDL_PRESSED), 0);
    QTest::qWait(8 * PollMs);
    EXPECT_FALSE(highlight->isHidden());
    // A second button goes down and up while the first is held: the held button's command does not
    // run again.
    ASSERT_EQ(SDL_JoystickSetVirtualButton(device, 0, SDL_PRESSED), 0);
    QTest::qWait(4 * PollMs);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(device, 0, SDL_RELEASED), 0);
    QTest::qWait(4 * PollMs);
    EXPECT_FALSE(highlight->isHidden());
    ASSERT_EQ(SDL_JoystickSetVirtualButton(device, 2, SDL_RELEASED), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return highlight->isHidden(); }, 2000));
    ASSERT_EQ(SDL_JoystickSetVirtualButton(device, 2, SDL_PRESSED), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !highlight->isHidden(); }, 2000));

    EXPECT_TRUE(QTest::qWaitFor([&] { return Lines(log).size() >= 2; }, 5000));
    QTest::qWait(8 * PollMs);  // held: no third start
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral("premuto"), QStringLiteral("premuto")}));

    QTest::mouseClick(stop, Qt::LeftButton);
    SDL_JoystickClose(device);
}

// Two raw virtual sticks (virtual button n is on-screen button n) under a window with a recording shell.
class MainFormControllers : public testing::Test {
protected:
    void TearDown() override {
        // A running monitor would keep the driver, and SDL's virtual devices, for the next test.
        if (timer_module::CurrentJoyMonitor) {
            timer_module::CurrentJoyMonitor->End_JoyMonitor();
        }
        platform::WriteChosenController({});
    }

    SDL_Joystick* Attach(const char* name) {
        return devices.Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 4, 14, 1, name);
    }
    void Detach(SDL_Joystick* device) { devices.Detach(device); }

    std::unique_ptr<MainForm> Load() { return std::make_unique<MainForm>(driver, shell); }

    template<typename T>
    static T* Find(const MainForm& form, const QString& name) {
        T* found = form.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // The entries of the controller menu as it opens: caption, with "*" before the checked one.
    static QStringList Entries(const MainForm& form) {
        QMenu* menu = Find<QMenu>(form, QStringLiteral("MenuScegliPad"));
        menu->popup(QPoint());
        menu->hide();
        QStringList entries;
        for (const QAction* action : menu->actions()) {
            entries << (action->isChecked() ? QStringLiteral("*") : QString()) + action->text();
        }
        return entries;
    }

    static void Choose(const MainForm& form, const QString& caption) {
        Entries(form);
        for (QAction* action : Find<QMenu>(form, QStringLiteral("MenuScegliPad"))->actions()) {
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no entry " << caption.toStdString();
    }

    // Presses a button, polls a while, releases it: whether its highlight showed meanwhile.
    static bool Shows(const MainForm& form, SDL_Joystick* device, int button) {
        QWidget* highlight = Find<QWidget>(form, QStringLiteral("Img_Tasto(%1)").arg(button));
        SDL_JoystickSetVirtualButton(device, button, SDL_PRESSED);
        const bool shown = QTest::qWaitFor([&] { return !highlight->isHidden(); }, 8 * PollMs);
        SDL_JoystickSetVirtualButton(device, button, SDL_RELEASED);
        EXPECT_TRUE(QTest::qWaitFor([&] { return highlight->isHidden(); }, 2000));
        return shown;
    }

    QStringList Boxes() {
        QStringList texts;
        for (const RecordedBox& box : shell.boxes) {
            texts << box.text;
        }
        shell.boxes.clear();
        return texts;
    }

    QStringList Count(const MainForm& form) {
        Find<QAction>(form, QStringLiteral("MenuNumeroPad"))->trigger();
        return Boxes();
    }

    std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    VirtualJoysticks devices;  // closed before the driver ends SDL
    TempProgramDirectory dir;
    RecordingShell shell;
};

TEST_F(MainFormControllers, UnpluggingThePadBeingReadReportsItOnceAndItIsReadAgainWhenBack) {
    SDL_Joystick* first = Attach("Pad A");
    SDL_Joystick* second = Attach("Pad B");
    const auto form = Load();
    Find<QPushButton>(*form, QStringLiteral("Cmd_Start"))->click();
    ASSERT_TRUE(Find<QPushButton>(*form, QStringLiteral("Cmd_Stop"))->isEnabled());
    EXPECT_TRUE(Shows(*form, first, 2));

    Detach(first);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.boxes.empty(); }, 2000));
    EXPECT_FALSE(Shows(*form, second, 3)) << "the other pad does not stand in";
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Joystick Unplugged")});
    EXPECT_EQ(Count(*form), QStringList{QStringLiteral("E' stato rilevato 1 corvane.")});

    first = Attach("Pad A");
    EXPECT_TRUE(Shows(*form, first, 4));
    EXPECT_EQ(Count(*form), QStringList{QStringLiteral("Sono stati rilevati 2 corvane.")});
    EXPECT_TRUE(Boxes().isEmpty());
}

// The pad being read comes back while its "Joystick Unplugged" box is open: it is read behind the box,
// and its button's command starts; unplugged and back again behind the same box, it opens no second box
// and is read again. Catches ticks skipped under every poll, a pad that comes back without a node found
// only when some other call asks, and a box for each unplug, under which the polls stop.
TEST_F(MainFormControllers, APadPluggedBackBehindTheUnpluggedBoxIsReadAtOnce) {
    dir.WriteIni("[Tasti]\n2=4 [premuto]\n");
    SDL_Joystick* pad = Attach("Pad A");
    const auto form = Load();
    Find<QPushButton>(*form, QStringLiteral("Cmd_Start"))->click();
    int read = 0;
    const auto plugBackAndTap = [&] {
        pad = Attach("Pad A");
        SDL_JoystickSetVirtualButton(pad, 2, SDL_PRESSED);
        read += QTest::qWaitFor([&] { return shell.starts.size() == std::size_t(read + 1); }, 2000) ? 1 : 0;
        SDL_JoystickSetVirtualButton(pad, 2, SDL_RELEASED);
        QTest::qWait(4 * PollMs);
    };
    bool first = true;
    shell.onBox = [&] {
        if (std::exchange(first, false)) {
            plugBackAndTap();
            Detach(pad);
            QTest::qWait(4 * PollMs);
            plugBackAndTap();
        }
    };

    Detach(pad);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.boxes.empty(); }, 2000));
    EXPECT_EQ(read, 2);
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Joystick Unplugged")});
}

TEST_F(MainFormControllers, TheChosenControllerIsReadRememberedAndReportedWhenAway) {
    SDL_Joystick* first = Attach("Pad A");
    SDL_Joystick* second = Attach("Pad B & C");
    auto form = Load();
    QPushButton* start = Find<QPushButton>(*form, QStringLiteral("Cmd_Start"));
    QPushButton* stop = Find<QPushButton>(*form, QStringLiteral("Cmd_Stop"));
    const QString automatic = QStringLiteral("Automatico (il primo che risponde)");
    EXPECT_EQ(Entries(*form), (QStringList{"*" + automatic, "", "1. Pad A", "2. Pad B && C"}));

    Choose(*form, QStringLiteral("2. Pad B && C"));
    start->click();
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_TRUE(Shows(*form, second, 1));
    EXPECT_FALSE(Shows(*form, first, 2));
    stop->click();

    // Remembered by the next window, in the user's settings. The list is in slot order, and the chosen
    // controller is read in slot 0.
    form = Load();
    EXPECT_EQ(Entries(*form), (QStringList{automatic, "", "*1. Pad B && C", "2. Pad A"}));
    EXPECT_EQ(platform::ReadChosenController().name, QStringLiteral("Pad B & C"));
    start = Find<QPushButton>(*form, QStringLiteral("Cmd_Start"));
    stop = Find<QPushButton>(*form, QStringLiteral("Cmd_Stop"));

    Detach(second);
    start->click();
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Joystick Unplugged")});
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_EQ(Entries(*form), (QStringList{automatic, "", "1. Pad A", "*Pad B && C (scollegato)"}));

    second = Attach("Pad B & C");
    start->click();
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_TRUE(Shows(*form, second, 5));

    // A new choice while reading goes over to the new controller at once.
    Choose(*form, automatic);
    EXPECT_TRUE(Shows(*form, first, 6));
    EXPECT_FALSE(Shows(*form, second, 7));
    EXPECT_TRUE(Boxes().isEmpty());
    stop->click();

    // A second pad of a model is told apart by its place where there is no port (SDL's virtual ones).
    Attach("Pad A");
    EXPECT_EQ(Entries(*form), (QStringList{"*" + automatic, "", "1. Pad A (porta 1)", "2. Pad B && C",
                                           "3. Pad A (porta 2)"}));
}

}  // namespace
