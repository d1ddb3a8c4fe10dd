#include "platform/desktop/DesktopPrograms.h"

#include "platform/desktop/DesktopEntry.h"

#include <QCoreApplication>
#include <array>

namespace platform {

namespace {

struct Candidate {
    const char* program;
    const char* arguments;  // appended after a blank when not empty
};

// In Debian 12: jstest-gtk is its own package; kcmshell5 comes with kde-cli-tools and its
// kcm_joystick module with plasma-desktop; kcmshell6 with Plasma 6. GNOME has no such panel.
constexpr std::array<Candidate, 3> ControllerPrograms{{
    {"jstest-gtk", ""},
    {"kcmshell6", "kcm_gamecontroller"},
    {"kcmshell5", "kcm_joystick"},
}};

// Graphical editors, for a desktop without a default text editor.
constexpr std::array<const char*, 8> Editors{
    "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma", "featherpad",
};

}  // namespace

QString GameControllerCommandLine(Shell& shell) {
    for (const Candidate& candidate : ControllerPrograms) {
        const QString program = QString::fromLatin1(candidate.program);
        if (shell.FindProgram(program).isEmpty()) {
            continue;
        }
        const QString arguments = QString::fromLatin1(candidate.arguments);
        return arguments.isEmpty() ? program : program + QLatin1Char(' ') + arguments;
    }
    return {};
}

QString GameControllerMissingText() {
    return QCoreApplication::translate(
        "DesktopPrograms", "Nessun programma per le periferiche di gioco è installato.\r"
                           "Per provare e regolare il Corvane installare il pacchetto \"jstest-gtk\"\r"
                           "(ad esempio con il comando: sudo apt install jstest-gtk).");
}

QString MapEditorCommandLine(Shell& shell, const QString& file) {
    const QString entry = shell.DefaultApplication(QStringLiteral("text/plain"));
    if (!entry.isEmpty()) {
        QString commandLine = DesktopEntryCommandLine(entry, file);
        if (!commandLine.isEmpty()) {
            return commandLine;
        }
    }
    for (const char* name : Editors) {
        if (!shell.FindProgram(QString::fromLatin1(name)).isEmpty()) {
            return QString::fromLatin1(name) + QLatin1Char(' ') + QuotedArgument(file);
        }
    }
    return {};
}

QString MapEditorMissingText(const QString& file) {
    return QCoreApplication::translate(
               "DesktopPrograms",
               "Nessun editor di testo è stato trovato.\r"
               "Per cambiare la mappa dei tasti/assi aprire con un editor di testo il file:\r"
               "%1")
        .arg(file);
}

// splitCommand reads "..." as one argument and three quotes in a row as one literal quote.
QString QuotedArgument(const QString& argument) {
    QString escaped = argument;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace platform
