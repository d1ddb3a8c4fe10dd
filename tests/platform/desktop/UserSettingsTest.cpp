// The user's own environment: whether SDL finds devices without udev, and the chosen controller kept
// in the user's settings file.

#include "platform/DeviceDiscovery.h"
#include "platform/desktop/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DeviceDiscovery, SdlScansDevicesItselfOnlyWithoutTheUdevDaemonAndWithoutTheUsersWord) {
    const struct {
        bool socket;
        const char* variable;  // nullptr: unset
        bool scan;
    } cases[] = {
        {false, nullptr, true}, {false, "0", false}, {false, "1", false}, {false, "", false},
        {true, nullptr, false}, {true, "0", false},  {true, "1", false},
    };
    const QTemporaryDir run;
    const QString socket = run.filePath(QStringLiteral("control"));
    const QByteArray saved = qgetenv("SDL_JOYSTICK_DISABLE_UDEV");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "socket " << c.socket << ", variable " << (c.variable ? c.variable : "unset"));
        QFile file(socket);
        c.socket ? file.open(QIODevice::WriteOnly) : file.remove();
        c.variable ? qputenv("SDL_JOYSTICK_DISABLE_UDEV", c.variable) : qunsetenv("SDL_JOYSTICK_DISABLE_UDEV");
        EXPECT_EQ(platform::SdlShouldScanDevicesItself(socket), c.scan);
    }
    // The user's word stands whatever the machine runs.
    qputenv("SDL_JOYSTICK_DISABLE_UDEV", "0");
    platform::PrepareDeviceDiscovery();
    EXPECT_EQ(qgetenv("SDL_JOYSTICK_DISABLE_UDEV"), "0");
    qputenv("SDL_JOYSTICK_DISABLE_UDEV", saved);
}

// In the configuration directory the test main gives every test program.
TEST(UserSettings, TheChosenControllerIsKeptInTheUsersConfigDirectory) {
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    EXPECT_TRUE(platform::ReadChosenController().guid.isEmpty()) << "automatic until a choice is made";

    ASSERT_TRUE(platform::WriteChosenController({QStringLiteral("03000000de280000ff11000001000000"),
                                                 QStringLiteral("Pad = \"rosso\"; [2]")}));
    EXPECT_EQ(platform::UserConfigDirectory(), home + QStringLiteral("/corvane"));
    QFile file(home + QStringLiteral("/corvane/corvane.conf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[controller]\nguid=03000000de280000ff11000001000000\n"));
    const platform::ChosenController read = platform::ReadChosenController();
    EXPECT_EQ(read.guid, QStringLiteral("03000000de280000ff11000001000000"));
    EXPECT_EQ(read.name, QStringLiteral("Pad = \"rosso\"; [2]"));

    ASSERT_TRUE(platform::WriteChosenController({}));
    EXPECT_TRUE(platform::ReadChosenController().guid.isEmpty());
}

}  // namespace
