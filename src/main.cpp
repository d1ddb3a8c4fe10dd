// Corvane Demo: the command line, then the application object, the real platform services and the
// splash window, which builds the main window and hands over to it. The program ends through the main
// window's "Fine Programma" path, with status 0.

#include "keymap/Generale.h"
#include "platform/JoystickDriver.h"
#include "platform/QtShell.h"
#include "platform/Version.h"
#include "platform/WindowServices.h"
#include "platform/desktop/CommandLine.h"
#include "platform/desktop/Language.h"
#include "platform/desktop/MapFile.h"
#include "splash_about/frmSplash.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Corvane Demo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(platform::version::Major)
                                                .arg(platform::version::Minor)
                                                .arg(platform::version::Revision));
    const platform::Language language = platform::ChooseLanguage(platform::LocaleVariablesOfProcess());
    platform::CommandLine options;
    {
        // A core application only: --help, --version and a bad option need no display, and no window
        // may open before the command line is known to be good.
        const QCoreApplication commandLine(argc, argv);
        const platform::Translations translations(language);
        if (const std::optional<int> status = platform::ReadCommandLine(commandLine.arguments(), options)) {
            return *status;
        }
    }
    platform::SetMapFile(options.map);
    Generale::MostraEmulazione = options.emulation;

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("it.corvane.demo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    const platform::Translations translations(language);

    platform::QtShell shell;
    frmSplash splash(platform::MakeSdlJoystickDriver(), shell);
    platform::ShowModeless(splash);
    return QApplication::exec();
}
