#include "platform/DesktopPrograms.h"

#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
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

// Editors that open a file that does not exist yet as a new, empty document.
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

QString MapEditorCommandLine(Shell& shell) {
    QString editor = QStringLiteral("xdg-open");
    for (const char* name : Editors) {
        if (!shell.FindProgram(QString::fromLatin1(name)).isEmpty()) {
            editor = QString::fromLatin1(name);
            break;
        }
    }
    const QString path = QDir(ProgramDirectory()).filePath(QStringLiteral("Corvane.ini"));
    return editor + QLatin1Char(' ') + QuotedArgument(path);
}

// splitCommand reads "..." as one argument and three quotes in a row as one literal quote.
QString QuotedArgument(const QString& argument) {
    QString escaped = argument;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace platform
