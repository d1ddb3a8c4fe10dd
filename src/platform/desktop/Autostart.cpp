#include "platform/desktop/Autostart.h"

#include "platform/desktop/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {
namespace {

// Characters an Exec argument may hold without quotes.
bool Plain(QChar c) {
    return c.isLetterOrNumber() || QStringLiteral("-_./+,=:@").contains(c);
}

constexpr qint64 EntryMaxBytes = qint64{64} * 1024;  // an autostart entry is a few lines

// The first argument of the file's Exec line, empty when there is none or the file can't be read.
QString ExecProgram(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QStringList lines = QString::fromUtf8(file.read(EntryMaxBytes)).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("Exec="))) {
            // Undo the value's own backslash escaping, then split as the Exec quoting rules say.
            QString value = line.mid(5);
            value.replace(QLatin1String("\\\\"), QLatin1String("\\"));
            const QStringList arguments = QProcess::splitCommand(value);
            return arguments.isEmpty() ? QString() : arguments.constFirst();
        }
    }
    return {};
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

QString AutostartEntry(const QString& program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Corvane Demo\n"
                          "Comment=Corvane Demo in the background: the controller's buttons start commands\n"
                          "Comment[it]=Corvane Demo in background: i tasti del controller avviano i comandi\n"
                          "Exec=%1 --background\n"
                          "Icon=corvane\n"
                          "Terminal=false\n")
        .arg(ExecArgument(program));
}

AutostartState ReadAutostart() {
    const QString path = AutostartPath();
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        return AutostartState::Absent;
    }
    // Ours when it runs a program of this one's name: "corvane" on PATH, or this executable's path.
    const QString program = ExecProgram(path);
    const bool ours = !program.isEmpty() && QFileInfo(program).fileName() ==
                                                QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return ours ? AutostartState::Ours : AutostartState::Foreign;
}

bool WriteAutostart() {
    if (ReadAutostart() == AutostartState::Foreign) {
        return false;
    }
    const QString path = AutostartPath();
    QSaveFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(AutostartEntry(AutostartProgram()).toUtf8()) >= 0 && file.commit();
}

bool RemoveAutostart() {
    if (ReadAutostart() != AutostartState::Ours) {
        return true;
    }
    return QFile::remove(AutostartPath());
}

}  // namespace platform
