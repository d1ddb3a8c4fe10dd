// Corvane Demo: the application object, the real platform services and the splash window, which
// builds the main window and hands over to it. The program ends through the main window's
// "Fine Programma" path, with status 0.

#include "platform/JoystickDriver.h"
#include "platform/Language.h"
#include "platform/QtShell.h"
#include "platform/Version.h"
#include "platform/WindowServices.h"
#include "splash_about/frmSplash.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane Demo"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(platform::version::Major)
                                            .arg(platform::version::Minor)
                                            .arg(platform::version::Revision));
    QApplication::setDesktopFileName(QStringLiteral("it.corvane.demo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    const platform::Translations translations(platform::ChooseLanguage(platform::LocaleVariablesOfProcess()));

    platform::QtShell shell;
    frmSplash splash(platform::MakeSdlJoystickDriver(), shell);
    platform::ShowModeless(splash);
    return QApplication::exec();
}
