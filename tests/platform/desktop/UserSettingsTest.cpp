// The user's own environment: whether SDL finds devices without udev, the chosen controller kept
// in the user's settings file, and whatever may be in place of the user's files.

#include "platform/input/ControllerMappings.h"
#include "platform/input/DeviceDiscovery.h"
#include "platform/desktop/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
    { const platform::DeviceDiscovery discovery; }
    EXPECT_EQ(qgetenv("SDL_JOYSTICK_DISABLE_UDEV"), "0");
    qputenv("SDL_JOYSTICK_DISABLE_UDEV", saved);
}

// In the configuration directory the test main gives every test program.
TEST(UserSettings, TheChosenControllerIsKeptInTheUsersConfigDirectory) {
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    EXPECT_TRUE(platform::ReadChosenController().guid.isEmpty()) << "automatic until a choice is made";

    const QString port = QStringLiteral("usb-0000:00:14.0-1.3/input0");
    ASSERT_TRUE(platform::WriteChosenController({QStringLiteral("03000000de280000ff11000001000000"),
                                                 QStringLiteral("Pad = \"rosso\"; [2]"), port}));
    EXPECT_EQ(platform::UserConfigDirectory(), home + QStringLiteral("/corvane"));
    QFile file(home + QStringLiteral("/corvane/corvane.conf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[controller]\nguid=03000000de280000ff11000001000000\n"));
    const platform::ChosenController read = platform::ReadChosenController();
    EXPECT_EQ(read.guid, QStringLiteral("03000000de280000ff11000001000000"));
    EXPECT_EQ(read.name, QStringLiteral("Pad = \"rosso\"; [2]"));
    EXPECT_EQ(read.port, port);
    // A later choice of a device without a port must not inherit the last one's: it would name a twin.
    ASSERT_TRUE(platform::WriteChosenController({read.guid, read.name, {}}));
    EXPECT_TRUE(platform::ReadChosenController().port.isEmpty());

    ASSERT_TRUE(platform::WriteChosenController({}));
    EXPECT_TRUE(platform::ReadChosenController().guid.isEmpty());

    // The user's own lines stay byte for byte: a switch of profile once rewrote the file whole.
    ASSERT_TRUE(file.remove());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("; mine\n[profile]\nactive = Film\n[x]\ny=1\n") > 0);
    file.close();
    ASSERT_TRUE(platform::WriteActiveProfile(QStringLiteral("Serie, bis")));
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Serie, bis"));  // a comma is no list
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "; mine\n[profile]\nactive = \"Serie, bis\"\n[x]\ny=1\n");
    file.close();
    // Read where written: a name's case by hand, a comment after the value, duplicates, a Windows-1252 letter.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                file.write("[Profile]\nActive = Caff\xe8 ; mine\nactive=x\n[profile]\nactive=y\n") > 0);
    file.close();
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Caffè"));
    ASSERT_TRUE(platform::WriteActiveProfile(QStringLiteral("Serie")));
    EXPECT_EQ(platform::ReadActiveProfile(), QStringLiteral("Serie"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[Profile]\nActive = Serie ; mine\nactive=x\n[profile]\nactive=y\n");
    file.close();
    // A ";" inside quotes, an escaped quote before it, is the old value's: the user's comment after it
    // stays byte for byte, and nothing of the old value is left.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                file.write("[profile]\nactive = \"Film \\\"; bis\" ; mine\n") > 0);
    file.close();
    EXPECT_EQ(platform::ReadActiveProfile(), u"Film \"; bis"_qs);
    ASSERT_TRUE(platform::WriteActiveProfile(QStringLiteral("Serie")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[profile]\nactive = Serie ; mine\n");
}

// A wait on the pipe would hold the test until its time-out.
TEST(UserFiles, APipeAFolderOrAnOversizedFileInTheirPlaceReadsAtOnceAsMissingAndIsNotWrittenOver) {
    const QString guid = QStringLiteral("03000000de280000ff11000001000000");
    const QString mappings = QDir(platform::UserConfigDirectory()).filePath(QStringLiteral("gamecontrollerdb.txt"));
    const struct {
        QString path;
        qint64 limit;
        std::function<bool()> readAsMissing;
    } files[] = {
        {platform::UserSettingsFile(), platform::MaxSettingsFileBytes,
         [&] { return platform::ReadChosenController().guid.isEmpty() && !platform::WriteChosenController({guid, {}, {}}); }},
        {mappings, platform::MaxMappingFileBytes, [&] { return platform::LoadControllerMappings(mappings) == -1; }},
    };
    // Read whole, the oversized file would give a choice.
    const QByteArray chosen = "[controller]\nguid=" + guid.toLatin1() + "\n";
    const struct {
        const char* what;
        std::function<bool(const QString&, qint64)> make;
    } places[] = {
        {"a named pipe", [](const QString& path, qint64) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"a folder", [](const QString& path, qint64) { return QDir().mkdir(path); }},
        {"one byte over the limit", [&](const QString& path, qint64 limit) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.write(chosen + QByteArray(limit + 1 - chosen.size(), ';')) > limit;
         }},
    };
    ASSERT_TRUE(QDir().mkpath(platform::UserConfigDirectory()));
    for (const auto& file : files) {
        for (const auto& place : places) {
            SCOPED_TRACE(file.path.toStdString() + " as " + place.what);
            QFile::remove(file.path);
            ASSERT_TRUE(place.make(file.path, file.limit));
            EXPECT_TRUE(file.readAsMissing());
            EXPECT_TRUE(QFile::remove(file.path) || QDir().rmdir(file.path));
        }
    }
}

}  // namespace
