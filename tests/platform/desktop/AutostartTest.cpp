// Start at login: the autostart entry's text, and that a file of that name the user wrote is kept.

#include "platform/desktop/Autostart.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

TEST(Autostart, ExecArgumentQuotesAndEscapesAsDesktopEntriesRead) {
    const struct {
        QString argument;
        QString exec;  // empty: refused
    } cases[]{
        // clang-format off
        {u"/usr/bin/corvane"_qs, u"/usr/bin/corvane"_qs},
        {u"/home/anna/Corvane Demo/corvane"_qs, u"\"/home/anna/Corvane Demo/corvane\""_qs},  // split at the blank
        {u"/opt/a\"b/corvane"_qs, u"\"/opt/a\\\\\"b/corvane\""_qs},  // the quote ends the argument
        {u"/opt/$HOME/corvane"_qs, u"\"/opt/\\\\$HOME/corvane\""_qs},  // expanded as a variable
        {u"/opt/a\\b/corvane"_qs, u"\"/opt/a\\\\\\\\b/corvane\""_qs},  // the backslash read as an escape
        {u"/opt/100%f/corvane"_qs, u"\"/opt/100%%f/corvane\""_qs},     // a field code, or the program not found
        {u"/opt/a\nb/corvane"_qs, {}},  // an entry that no session can read
        {u"/opt/100%=x/corvane"_qs, {}},  // env takes it for a variable, with or without --
        {QString(), {}},                  // a path Qt could not decode: Exec="" runs nothing
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        EXPECT_EQ(platform::AutostartEntry(c.argument).has_value(), !c.exec.isEmpty());
        if (!c.exec.isEmpty()) {
            EXPECT_EQ(platform::ExecArgument(c.argument), c.exec);
            EXPECT_TRUE(platform::AutostartEntry(c.argument)->contains(c.exec + u" --background\n"_qs));
        }
    }
    EXPECT_TRUE(platform::AutostartEntry(u"corvane"_qs)->startsWith(u"[Desktop Entry]\nType="_qs));
}

TEST(Autostart, WritesAndRemovesOnlyItsOwnEntry) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString path = platform::AutostartPath();
    ASSERT_EQ(path, config.filePath(u"autostart/it.corvane.demo.desktop"_qs));
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=firefox --kiosk\n";
    const QByteArray ours = platform::AutostartEntry(platform::AutostartProgram())->toUtf8();
    const QByteArray name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();
    using State = platform::AutostartState;
    const struct {
        const char* name;
        QByteArray before;  // empty: no file
        State shown;        // the check mark before the click: only Ours is ticked
        bool check;         // the menu entry's new check mark
        bool done;
        State after;
        rlim_t fileSizeLimit = RLIM_INFINITY;  // ulimit -f, in bytes
    } cases[]{
        // clang-format off
        {"no entry written", {}, State::Absent, true, true, State::Ours},
        {"our entry not removed", ours, State::Ours, false, true, State::Absent},
        {"the user's file overwritten", foreign, State::Foreign, true, false, State::Foreign},
        {"the user's file removed", foreign, State::Foreign, false, true, State::Foreign},
        {"the user's wrapper of our name removed", "[Desktop Entry]\nExec=/home/anna/bin/" + name + " --map special.ini\n", State::Foreign, false, true, State::Foreign},
        {"a name that ends in ours taken for it", "[Desktop Entry]\nExec=/usr/bin/not" + name + " --background\n", State::Foreign, false, true, State::Foreign},
        {"an entry switched off shown ticked", ours + "Hidden=true\n", State::OursOff, true, true, State::Ours},
        {"GNOME's switch-off read as another's entry", ours + "X-GNOME-Autostart-enabled=false\n", State::OursOff, true, true, State::Ours},
        {"an entry cut at the file-size limit, or the program ended", {}, State::Absent, true, false, State::Absent, 64},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(path);
        file.remove();
        if (!c.before.isEmpty()) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.before) > 0 && file.flush());
            file.close();
        }
        EXPECT_EQ(platform::ReadAutostart(), c.shown);
        const rlimit limit{c.fileSizeLimit, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool done = c.check ? platform::WriteAutostart() == platform::AutostartWrite::Written
                                  : platform::RemoveAutostart();
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(platform::ReadAutostart(), c.after);
        EXPECT_EQ(
            QFileInfo(path).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
            c.after == State::Absent ? 0 : 1)
            << "a temporary file left";
        if (c.after == State::Foreign && file.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(file.readAll(), c.before);
        }
    }
}

}  // namespace
