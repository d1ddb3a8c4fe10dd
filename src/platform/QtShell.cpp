#include "platform/QtShell.h"

#include "platform/Version.h"
#include "platform/desktop/MimeApps.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

Q_LOGGING_CATEGORY(lcShell, "corvane.shell")

namespace platform {

namespace {

QString& ProfileOfCommands() {
    static QString name;
    return name;
}

constexpr uint32_t IconMask = 0xF0;  // the icon is one value within these bits, not a set of bits

QMessageBox::Icon IconOf(uint32_t flags) {
    switch (flags & IconMask) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The windows separate lines with a carriage return; Qt breaks lines on a line feed.
QString OnScreenLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

void QtShell::SetBackgroundNotifier(Notifier notifier) {
    backgroundNotifier = std::move(notifier);
}

int QtShell::MsgBox(QWidget* owner, const QString& text, uint32_t flags, const QString& title) {
    if (backgroundNotifier && (owner == nullptr || !owner->window()->isVisible())) {
        backgroundNotifier(title, OnScreenLines(text), flags);
        return (flags & MB_OKCANCEL) ? IDCANCEL : IDOK;
    }
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);  // "< Start >" and the like are text, never markup
    box.setText(OnScreenLines(text));
    box.setIcon(IconOf(flags));
    if (flags & MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setDefaultButton(QMessageBox::Ok);
    if (flags & MB_SETFOREGROUND) {
        // Runs once the modal loop has shown the box.
        QTimer::singleShot(0, &box, [&box] {
            box.raise();
            box.activateWindow();
        });
    }
    return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
}

void SetProfileOfCommands(const QString& name) {
    ProfileOfCommands() = name;
}

// The show style is a request we cannot keep on Linux: where a detached program's window appears,
// and whether it takes the focus, is decided by that program and the window manager.
QString QtShell::StartProgram(const QString& commandLine, ShowStyle style) {
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) {
        qCWarning(lcShell) << "no program in the command line" << commandLine;
        return QCoreApplication::translate("QtShell", "la riga di comando non nomina un programma");
    }
    QProcess process;
    process.setProgram(arguments.takeFirst());
    process.setArguments(arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString variable = QStringLiteral("CORVANE_PROFILE");
    if (ProfileOfCommands().isEmpty()) {
        environment.remove(variable);
    } else {
        environment.insert(variable, ProfileOfCommands());
    }
    process.setProcessEnvironment(environment);
    if (!process.startDetached()) {
        qCWarning(lcShell) << "cannot start" << commandLine << "show style" << static_cast<int>(style);
        return QStandardPaths::findExecutable(process.program()).isEmpty()
                   ? QCoreApplication::translate("QtShell", "il programma %1 non c'è").arg(process.program())
                   : process.errorString();
    }
    return {};
}

QString QtShell::FindProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

QString QtShell::DefaultApplication(const QString& mimeType) {
    return DefaultApplicationEntry(mimeType);
}

VersionRecord QtShell::App() {
    return {QStringLiteral("Corvane Demo"),
            version::Major,
            version::Minor,
            version::Revision,
            QCoreApplication::translate("QtShell", "Tutti i diritti sono riservati"),
            QStringLiteral("© 2026 Corvane Demo")};
}

}  // namespace platform
