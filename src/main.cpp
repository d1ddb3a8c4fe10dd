// Corvane Demo: the command line, then the one program of the desktop session (a later launch hands
// its request to the running one and ends), the application object, the real platform services and
// the splash window, which builds the main window and hands over to it. With --background or --start
// the main window is built as the splash builds it, without the splash, and reading starts at once.
// The program ends through the main window's "Fine Programma" path, or on SIGTERM, with status 0.

#include "background/BackgroundMode.h"
#include "background/StartAtLogin.h"
#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/QuitOnTerminate.h"
#include "platform/Version.h"
#include "platform/WindowServices.h"
#include "platform/desktop/CommandLine.h"
#include "platform/desktop/Language.h"
#include "platform/desktop/MapFile.h"
#include "platform/desktop/SessionBus.h"
#include "platform/desktop/SessionChannel.h"
#include "platform/desktop/Settings.h"
#include "platform/input/JoystickDriver.h"
#include "profiles/ProfileSet.h"
#include "session/Acquisizione.h"
#include "splash_about/FinestraPrincipale.h"
#include "splash_about/frmSplash.h"

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>

namespace {

constexpr int NotRunning = 1;  // --stop or --quit with no program to hand them to; a refusal

void Tell(const char* text) {
    std::fputs(qPrintable(QCoreApplication::translate("CommandLine", text)), stderr);
}

// What to do when another program of this session may run: nothing more (it took the request, all of
// the options), or go on as the session's program. The exit status when this launch ends here.
std::optional<int> HandOver(platform::SessionChannel* channel, const platform::CommandLine& options) {
    using Delivery = platform::SessionChannel::Delivery;
    const Delivery delivery =
        channel != nullptr ? channel->HandOver(platform::RequestOf(options)) : Delivery::NoneRunning;
    switch (delivery) {
    case Delivery::Done:
        return 0;
    case Delivery::Refused:
        Tell(QT_TRANSLATE_NOOP("CommandLine",
                               "corvane: il programma in esecuzione ha rifiutato la richiesta.\n"));
        return NotRunning;
    case Delivery::NotAnswering:
        // Two programs must not read at once: this launch gives up rather than start a second one.
        Tell(QT_TRANSLATE_NOOP("CommandLine", "corvane: il Corvane Demo di questa sessione non risponde; "
                                              "la richiesta non è stata eseguita, riprovare tra poco.\n"));
        return NotRunning;
    case Delivery::NoneRunning:
        break;
    }
    using Action = platform::SessionRequest::Action;
    if (options.request == Action::Stop || options.request == Action::Quit) {
        Tell(QT_TRANSLATE_NOOP("CommandLine", "corvane: nessun Corvane Demo in esecuzione.\n"));
        return NotRunning;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file-size limit (ulimit -f) a write fails with its reason instead of ending the program:
    // a copy, a save or an answer on standard output is refused, and nothing is lost or cut.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication::setApplicationName(QStringLiteral("Corvane Demo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(platform::version::Major)
                                                .arg(platform::version::Minor)
                                                .arg(platform::version::Revision));
    const platform::Language language = platform::ChooseLanguage(platform::LocaleVariablesOfProcess());
    platform::CommandLine options;
    std::unique_ptr<platform::SessionChannel> channel;
    {
        // A core application only: --help, --version, a bad option and a request to the running
        // program need no display, and no window may open before the command line is known to be good.
        const QCoreApplication commandLine(argc, argv);
        const platform::Translations translations(language);
        if (const std::optional<int> status = platform::ReadCommandLine(commandLine.arguments(), options)) {
            return *status;
        }
        // A session bus that takes the connection and never answers would hold SDL and the window's
        // start for good: without it there are no desktop notices, and nothing waits.
        if (!platform::SessionBusAnswers(std::chrono::seconds(2))) {
            Tell(QT_TRANSLATE_NOOP("CommandLine", "corvane: il bus di sessione non risponde: il programma va "
                                                  "avanti senza (niente notifiche sul desktop).\n"));
            platform::ForgetSessionBus();
        }
        if (options.listProfiles) {
            return platform::Answer(
                ProfileSet::Listing() +
                session::Acquisizione::Elenco(platform::MakeSdlJoystickDriver()->AttachedDevices()));
        }
        if (const QString socket =
                platform::SessionSocketPath(platform::DisplayKey(options.platform, options.display));
            !socket.isEmpty()) {
            channel = std::make_unique<platform::SessionChannel>(socket);
        }
        if (const std::optional<int> status = HandOver(channel.get(), options)) {
            return *status;
        }
        if (!options.profile.isEmpty() && !ProfileStore::Lookup(options.profile)) {
            std::fputs(
                qPrintable(QCoreApplication::translate("CommandLine", "corvane: nessun profilo \"%1\".\n")
                               .arg(options.profile)),
                stderr);
            return platform::UsageError;
        }
        if (!platform::DisplayFound(options)) {
            Tell(QT_TRANSLATE_NOOP("CommandLine",
                                   "corvane: nessun display trovato: il programma mostra le sue "
                                   "finestre su X11 o Wayland (DISPLAY, WAYLAND_DISPLAY).\n"));
            return platform::UsageError;
        }
    }
    platform::SetMapFile(options.map);
    // Chosen as the menu chooses it: in force from the start, and remembered. A profile for another pad
    // waits for the pads to be known.
    const std::optional<QString> profile =
        options.profile.isEmpty() ? std::nullopt : ProfileStore::Lookup(options.profile);
    if (profile && options.pad == 0) {
        platform::SetMapFile(ProfileStore::PathOf(*profile));
        platform::WriteActiveProfile(*profile);
    }
    Generale::MostraEmulazione = options.emulation;

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("it.corvane.demo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    platform::QuitOnTerminate();
    const platform::Translations translations(language);

    platform::QtShell shell;
    const std::shared_ptr<platform::JoystickDriver> driver = platform::MakeSdlJoystickDriver();
    if (profile && options.pad != 0) {
        const std::vector<platform::AttachedDevice> pads = driver->AttachedDevices();
        if (std::size_t(options.pad) > pads.size()) {
            std::fputs(
                qPrintable(QCoreApplication::translate("CommandLine", "corvane: nessun corvane numero %1.\n")
                               .arg(options.pad)),
                stderr);
            return platform::UsageError;
        }
        const platform::AttachedDevice& pad = pads[std::size_t(options.pad) - 1];
        if (!platform::WritePadProfile(pad.guid, pad.port, *profile)) {
            std::fputs(
                qPrintable(QCoreApplication::translate(
                               "CommandLine", "corvane: il profilo %1 del corvane %2 non si può ricordare.\n")
                               .arg(*profile)
                               .arg(options.pad)),
                stderr);
        }
    }
    const bool direct = options.background || options.request == platform::SessionRequest::Action::Start;
    std::unique_ptr<frmSplash> splash;
    std::unique_ptr<MainForm> mainForm;
    if (direct) {
        // As the splash builds them, without the splash and without the usage instructions.
        mainForm = CreaFinestraPrincipale(driver, shell);
    } else {
        splash = std::make_unique<frmSplash>(driver, shell);
    }
    MainForm& finestra = direct ? *mainForm : splash->Main();
    StartAtLogin startAtLogin(finestra, shell);
    BackgroundMode mode(finestra, driver, shell, options.background);
    if (channel) {
        channel->Listen([&mode](const platform::SessionRequest& request) { return mode.Accepts(request); },
                        [&mode](const platform::SessionRequest& request) { mode.Handle(request); });
    }
    if (!direct) {
        platform::ShowModeless(*splash);
    } else {
        if (!options.background) {
            platform::ShowModeless(finestra);
        }
        mode.Read();
    }
    const int status = QApplication::exec();
    channel.reset();  // its server goes before the application object
    return status;
}
