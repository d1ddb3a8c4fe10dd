#include "platform/desktop/Autostart.h"

#include "platform/desktop/Settings.h"
#include "platform/files/FileAccess.h"
#include "platform/files/RegularFile.h"
#include "platform/files/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <algorithm>

namespace platform {
namespace {

// Characters an Exec argument may hold without quotes.
bool Plain(QChar c) {
    return c.isLetterOrNumber() || QStringLiteral("-_./+,=:@").contains(c);
}

// A desktop entry's values hold no control characters; a replacement character stands for file name
// bytes that are not UTF-8, which no entry could name again.
bool Carried(QChar c) {
    return c.category() != QChar::Other_Control && c != QChar::ReplacementCharacter;
}

constexpr qint64 EntryMaxBytes = qint64{64} * 1024;  // an autostart entry is a few lines

// Our entry's bytes as the file holds them, less the lines with which a session's settings switch an
// autostart entry off (or on again) without removing it; whether they switch it off.
struct Switches {
    QByteArray rest;
    bool off = false;
};

Switches SetSwitchesAside(const QByteArray& bytes) {
    Switches found;
    QByteArrayList kept;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (equals > 0 && key == "Hidden") {
            found.off = found.off || value == "true";
        } else if (equals > 0 && key == "X-GNOME-Autostart-enabled") {
            found.off = found.off || value == "false";
        } else {
            kept.append(line);
        }
    }
    found.rest = kept.join('\n');
    return found;
}

}  // namespace

QString AutostartPath() {
    QString name = QGuiApplication::desktopFileName();
    if (name.isEmpty()) {
        name = QStringLiteral("it.corvane.demo");
    }
    return QFileInfo(UserConfigDirectory()).absolutePath() + QStringLiteral("/autostart/") + name +
           QStringLiteral(".desktop");
}

QString AutostartProgram() {
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString installed = QStandardPaths::findExecutable(QStringLiteral("corvane"));
    if (!installed.isEmpty() && QFileInfo(installed).canonicalFilePath() == self) {
        return QStringLiteral("corvane");
    }
    return QCoreApplication::applicationFilePath();
}

QString ExecArgument(const QString& argument) {
    QString quoted;
    bool plain = !argument.isEmpty();
    for (const QChar c : argument) {
        plain = plain && Plain(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            quoted += u'\\';
        }
        quoted += c;
    }
    QString argumentText = plain ? argument : u'"' + quoted + u'"';
    // A desktop entry's value escapes its backslashes once more; a percent sign is a field code.
    argumentText.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    argumentText.replace(QLatin1String("%"), QLatin1String("%%"));
    return argumentText;
}

std::optional<QString> AutostartEntry(const QString& program) {
    // A path Qt could not decode comes as no path at all. Env, which runs a path with "%" below, would
    // read one that also holds "=" as a variable to set.
    if (program.isEmpty() || !std::all_of(program.begin(), program.end(), Carried) ||
        (program.contains(u'%') && program.contains(u'='))) {
        return std::nullopt;
    }
    // GLib looks for an entry's program under the Exec line's first word before it turns "%%" into
    // "%", so a path with a percent sign is never found; env, found on PATH, runs it instead.
    const QString exec =
        program.contains(u'%') ? QStringLiteral("env ") + ExecArgument(program) : ExecArgument(program);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Corvane Demo\n"
                          "Comment=Corvane Demo in the background: the controller's buttons start commands\n"
                          "Comment[it]=Corvane Demo in background: i tasti del controller avviano i comandi\n"
                          "Exec=%1 --background\n"
                          "Icon=corvane\n"
                          "Terminal=false\n")
        .arg(exec);
}

AutostartState ReadAutostart() {
    const QString path = AutostartPath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return AutostartState::Absent;
    }
    // A link is the user's doing, whatever it points to.
    const RegularFile file = info.isSymLink() ? RegularFile{} : ReadRegularFile(path, EntryMaxBytes);
    const std::optional<QString> ours = AutostartEntry(AutostartProgram());
    if (file.status != RegularFile::Status::Read || !ours) {
        return AutostartState::Foreign;
    }
    const Switches switches = SetSwitchesAside(file.bytes);
    if (switches.rest != ours->toUtf8()) {
        return AutostartState::Foreign;
    }
    return switches.off ? AutostartState::OursOff : AutostartState::Ours;
}

AutostartWrite WriteAutostart() {
    const std::optional<QString> entry = AutostartEntry(AutostartProgram());
    if (!entry) {
        return AutostartWrite::BadProgram;
    }
    if (ReadAutostart() == AutostartState::Foreign) {
        return AutostartWrite::Foreign;
    }
    const QString path = AutostartPath();
    // Our entry switched off is written anew as the user's files are: whole, and readable by no one more.
    QString error;
    const bool written =
        QDir().mkpath(QFileInfo(path).absolutePath()) &&
        ReplaceWhole(
            path, entry->toUtf8(),
            [&path](int descriptor, QString& why) { return KeepAccess(path, descriptor, why); }, error);
    return written ? AutostartWrite::Written : AutostartWrite::Failed;
}

bool RemoveAutostart() {
    const AutostartState state = ReadAutostart();
    if (state != AutostartState::Ours && state != AutostartState::OursOff) {
        return true;
    }
    return QFile::remove(AutostartPath());
}

}  // namespace platform
