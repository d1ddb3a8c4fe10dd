// Start at login: the autostart entry's text, run by GLib as the desktop's session starts it, and that
// a file of that name the user wrote is kept.

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

// The arguments a program was started with, as it wrote them, once gio has launched the entry.
QString Launched(const QString& entry, const QString& program, const QString& out) {
    QDir().mkpath(program.left(program.lastIndexOf(u'/')));
    QFile script(program);
    if (!script.open(QIODevice::WriteOnly) ||
        script.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" >" + QFile::encodeName(out) + "\n") < 0) {
        return {};
    }
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    script.close();
    QFile file(program + u".desktop"_qs);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0) {
        return {};
    }
    file.close();
    QProcess::execute(u"gio"_qs, {u"launch"_qs, file.fileName()});
    for (int wait = 0; wait < 100 && QFileInfo(out).size() == 0; ++wait) {
        QTest::qWait(50);
    }
    QFile written(out);
    return written.open(QIODevice::ReadOnly) ? QString::fromUtf8(written.readAll()) : QString();
}

TEST(Autostart, ExecArgumentQuotesAndEscapesAsDesktopEntriesRead) {
    QTemporaryDir root;
    const struct {
        QString argument;
        QString exec;  // empty: no entry can carry the path
    } cases[]{
        {u"/usr/bin/corvane"_qs, u"/usr/bin/corvane"_qs},
        {u"/home/anna/Corvane Demo/corvane"_qs,
         u"\"/home/anna/Corvane Demo/corvane\""_qs},                   // split at the blank
        {u"/opt/a\"b/corvane"_qs, u"\"/opt/a\\\\\"b/corvane\""_qs},    // the quote ends the argument
        {u"/opt/$HOME/corvane"_qs, u"\"/opt/\\\\$HOME/corvane\""_qs},  // expanded as a variable
        {u"/opt/a\\b/corvane"_qs, u"\"/opt/a\\\\\\\\b/corvane\""_qs},  // the backslash read as an escape
        {u"/opt/100%f/corvane"_qs,
         u"\"/opt/100%%f/corvane\""_qs},   // a field code replaced, or the program not found
        {u"/opt/a\nb/corvane"_qs, {}},     // an entry that no session can read
        {u"/opt/\uFFFDb/corvane"_qs, {}},  // a name that is not UTF-8, written as another one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        const std::optional<QString> entry = platform::AutostartEntry(c.argument);
        if (c.exec.isEmpty()) {
            EXPECT_FALSE(entry);
            continue;
        }
        EXPECT_EQ(platform::ExecArgument(c.argument), c.exec);
        ASSERT_TRUE(entry);
        EXPECT_TRUE(entry->contains(c.exec + u" --background\n"_qs));
        // GLib's reading of the entry, as GNOME's session does it, starts the program with --background.
        const QString program = root.path() + c.argument;
        const QString out = root.filePath(u"launched"_qs);
        QFile::remove(out);
        EXPECT_EQ(Launched(*platform::AutostartEntry(program), program, out),
                  program + u"\n--background\n"_qs);
    }
    EXPECT_TRUE(
        platform::AutostartEntry(u"corvane"_qs)->startsWith(u"[Desktop Entry]\nType=Application\n"_qs));
}

TEST(Autostart, WritesAndRemovesOnlyItsOwnEntry) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString path = platform::AutostartPath();
    ASSERT_EQ(path, config.filePath(u"autostart/it.corvane.demo.desktop"_qs));
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=firefox --kiosk\n";
    const QByteArray ours =
        platform::AutostartEntry(platform::AutostartProgram()).value_or(QString()).toUtf8();
    const QByteArray name = QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const QByteArray wrapper =
        "[Desktop Entry]\nType=Application\nExec=/home/anna/bin/" + name + " --map special.ini\n";
    QByteArray gnomeOff = ours;
    gnomeOff.insert(ours.indexOf('\n') + 1, "X-GNOME-Autostart-enabled = false\n");
    using State = platform::AutostartState;
    const struct {
        const char* name;
        QByteArray before;  // empty: no file
        State shown;        // the check mark before the click: only Ours is ticked
        bool check;         // the menu entry's new check mark
        bool done;
        State after;
    } cases[]{
        {"no entry written", {}, State::Absent, true, true, State::Ours},
        {"our entry not removed", ours, State::Ours, false, true, State::Absent},
        {"the user's file overwritten", foreign, State::Foreign, true, false, State::Foreign},
        {"the user's file removed", foreign, State::Foreign, false, true, State::Foreign},
        {"the user's wrapper of the same name removed", wrapper, State::Foreign, false, true, State::Foreign},
        {"a program that only ends in our name taken for ours",
         "[Desktop Entry]\nExec=/usr/bin/not" + name + " --background\n", State::Foreign, false, true,
         State::Foreign},
        {"an entry switched off shown ticked", ours + "Hidden=true\n", State::OursOff, true, true,
         State::Ours},
        {"an entry switched off by GNOME shown ticked", gnomeOff, State::OursOff, true, true, State::Ours},
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
        EXPECT_EQ(c.check ? platform::WriteAutostart() == platform::AutostartWrite::Written
                          : platform::RemoveAutostart(),
                  c.done);
        EXPECT_EQ(platform::ReadAutostart(), c.after);
        if (c.after == State::Foreign && file.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(file.readAll(), c.before);
        }
    }
}

}  // namespace
