// Start at login: the autostart entry's text, and that a file of that name the user wrote is kept.

#include "platform/desktop/Autostart.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Autostart, ExecArgumentQuotesAndEscapesAsDesktopEntriesRead) {
    const struct {
        QString argument;
        QString exec;
    } cases[]{
        {u"/usr/bin/corvane"_qs, u"/usr/bin/corvane"_qs},
        {u"/home/anna/Corvane Demo/corvane"_qs, u"\"/home/anna/Corvane Demo/corvane\""_qs},  // split at the blank
        {u"/opt/a\"b/corvane"_qs, u"\"/opt/a\\\\\"b/corvane\""_qs},  // the quote ends the argument
        {u"/opt/$HOME/corvane"_qs, u"\"/opt/\\\\$HOME/corvane\""_qs},  // expanded as a variable
        {u"/opt/a\\b/corvane"_qs, u"\"/opt/a\\\\\\\\b/corvane\""_qs},  // the backslash read as an escape
        {u"/opt/100%f/corvane"_qs, u"\"/opt/100%%f/corvane\""_qs},     // a field code replaced by a file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        EXPECT_EQ(platform::ExecArgument(c.argument), c.exec);
        EXPECT_TRUE(platform::AutostartEntry(c.argument).contains(u"\nExec="_qs + c.exec + u" --background\n"_qs));
    }
    EXPECT_TRUE(platform::AutostartEntry(u"corvane"_qs).startsWith(u"[Desktop Entry]\nType=Application\n"_qs));
}

TEST(Autostart, WritesAndRemovesOnlyItsOwnEntry) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString path = platform::AutostartPath();
    ASSERT_EQ(path, config.filePath(u"autostart/it.corvane.demo.desktop"_qs));
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=firefox --kiosk\n";
    const struct {
        const char* name;
        QByteArray before;  // empty: no file
        bool check;         // the menu entry's new check mark
        bool done;
        platform::AutostartState after;
    } cases[]{
        {"no entry written", {}, true, true, platform::AutostartState::Ours},
        {"our entry not removed", "ours", false, true, platform::AutostartState::Absent},
        {"the user's file overwritten", foreign, true, false, platform::AutostartState::Foreign},
        {"the user's file removed", foreign, false, true, platform::AutostartState::Foreign},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(path);
        file.remove();
        if (c.before == "ours") {
            ASSERT_TRUE(platform::WriteAutostart());
        } else if (!c.before.isEmpty()) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.before) > 0 && file.flush());
            file.close();
        }
        EXPECT_EQ(c.check ? platform::WriteAutostart() : platform::RemoveAutostart(), c.done);
        EXPECT_EQ(platform::ReadAutostart(), c.after);
        if (c.after == platform::AutostartState::Foreign && file.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(file.readAll(), foreign);
        }
    }
}

}  // namespace
