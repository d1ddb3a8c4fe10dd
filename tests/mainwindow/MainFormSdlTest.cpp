// MainForm fed by the real monitor over the SDL driver, with a virtual joystick, a real Corvane.ini and
// the real shell: a button's command runs once per press, however long the button is held and whatever
// other buttons do meanwhile.

#include "mainwindow/MainForm.h"
#include "platform/JoystickDriver.h"
#include "platform/QtShell.h"
#include "support/QtPrinters.h"
#include "support/TempProgramDirectory.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <SDL.h>
#include <gtest/gtest.h>

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
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN; // read raw: virtual button n is bit n of the mask
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
    QTest::qWait(8 * PollMs); // held: no third start
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral("premuto"), QStringLiteral("premuto")}));

    QTest::mouseClick(stop, Qt::LeftButton);
    SDL_JoystickClose(device);
}

} // namespace
