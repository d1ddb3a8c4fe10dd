// Start at login: the autostart entry's text, and that a file of that name the user wrote is kept.

#include "platform/desktop/Autostart.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// What a program at this path is started with when gio runs its entry, as GNOME's session does.
QString Launched(const QString& program, const QString& out) {
    QDir().mkpath(QFileInfo(program).path());
    QFile script(program), entry(program + u".desktop"_qs), launched(out);
    if (script.open(QIODevice::WriteOnly) && entry.open(QIODevice::WriteOnly)) {
        script.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" >" + out.toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        entry.write(platform::AutostartEntry(program).value_or(QString()).toUtf8());
        script.close();  // a program open for writing cannot run
        entry.close();
        QProcess::execute(u"gio"_qs, {u"launch"_qs, entry.fileName()});
    }
    const bool ran = QTest::qWaitFor([&out] { return QFileInfo(out).size() > 0; }, 5000);
    return ran && launched.open(QIODevice::ReadOnly) ? QString::fromUtf8(launched.readAll()) : QString();
}

TEST(Autostart, ExecArgumentQuotesAndEscapesAsDesktopEntriesRead) {
    const QTemporaryDir root;
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
            const QString program = root.path() + c.argument;
            QFile::remove(root.filePath(u"out"_qs));
            EXPECT_EQ(Launched(program, root.filePath(u"out"_qs)), program + u"\n--background\n"_qs);
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
    } cases[]{
        // clang-format off
        {"no entry written", {}, State::Absent, true, true, State::Ours},
        {"our entry not removed", ours, State::Ours, false, true, State::Absent},
        {"the user's file overwritten", foreign, State::Foreign, true, false, State::Foreign},
        {"the user's file removed", foreign, State::Foreign, false, true, State::Foreign},
        {"the user's wrapper of our name removed", "[Desktop Entry]\nExec=/home/anna/bin/" + name + " --map special.ini\n", State::Foreign, false, true, State::Foreign},
        {"a name that ends in ours taken for it", "[Desktop Entry]\nExec=/usr/bin/not" + name + " --background\n", State::Foreign, false, true, State::Foreign},
        {"an entry switched off shown ticked", ours + "Hidden=true\n", State::OursOff, true, true, State::Ours},
        {"an entry GNOME switched off shown ticked", QByteArray(ours).replace("Type=", "X-GNOME-Autostart-enabled = false\nType="), State::OursOff, true, true, State::Ours},
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
        const bool done = c.check ? platform::WriteAutostart() == platform::AutostartWrite::Written
                                  : platform::RemoveAutostart();
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(platform::ReadAutostart(), c.after);
        if (c.after == State::Foreign && file.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(file.readAll(), c.before);
        }
    }
}

}  // namespace
