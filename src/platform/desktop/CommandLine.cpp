#include "platform/desktop/CommandLine.h"

#include "platform/desktop/MapFile.h"
#include "platform/desktop/ProfileName.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <xcb/xcb.h>

namespace platform {
namespace {

// False when the text could not be written whole (a full disk, a closed pipe).
bool Print(FILE* stream, const QString& text) {
    const bool written = std::fputs(text.toLocal8Bit().constData(), stream) >= 0;
    return std::fflush(stream) == 0 && written && std::ferror(stream) == 0;
}

// The application object's own options: they are its to take, so they are known here and passed on.
// Qt spells them with one dash, as long options.
QList<QCommandLineOption> QtOptions() {
    QList<QCommandLineOption> options;
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                             "geometry", "qwindowgeometry", "title", "qwindowtitle", "icon", "qwindowicon",
                             "session", "style", "stylesheet", "qmljsdebugger"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options.append(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options.append(option);
    }
    return options;
}

int Refuse(const QString& why) {
    Print(stderr, QStringLiteral("corvane: %1\n%2\n")
                      .arg(why, QCoreApplication::translate("CommandLine",
                                                            "Usare --help per l'elenco delle opzioni.")));
    return UsageError;
}

}  // namespace

int Answer(const QString& text) {
    return Print(stdout, text) ? 0 : OutputError;
}

std::optional<int> ReadCommandLine(const QStringList& arguments, CommandLine& options) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Mostra dal vivo i tasti e le levette di un controller di gioco e avvia i comandi configurati.\n"
        "\n"
        "La mappa dei tasti/assi, Corvane.ini, è cercata in quest'ordine e vale la prima trovata:\n"
        "  accanto al programma;\n"
        "  in $XDG_CONFIG_HOME/corvane/ (se la variabile non è impostata: ~/.config/corvane/);\n"
        "  in corvane/ dentro ogni cartella di $XDG_CONFIG_DIRS (se non è impostata: /etc/xdg/corvane/).\n"
        "Se non ne esiste nessuna, \"Come assegnare i tasti\" crea ~/.config/corvane/Corvane.ini\n"
        "dall'esempio commentato e lo apre nell'editor di testo."));
    parser.setApplicationDescription(
        parser.applicationDescription() + QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CommandLine",
            "Un solo programma per sessione: lanciato di nuovo, passa tutte le opzioni a quello già in\n"
            "esecuzione ed esce: --map vi carica la mappa, --emulation vi mostra la voce del menu, --start "
            "e\n"
            "--stop vi avviano o fermano la lettura, --background vi avvia la lettura lasciando la finestra\n"
            "com'è, --quit lo chiude; senza opzioni ne mostra la finestra."));
    parser.setApplicationDescription(
        parser.applicationDescription() + QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CommandLine",
            "Profili: mappe in $XDG_CONFIG_HOME/corvane/profili/NOME.ini; la mappa trovata come sopra è il\n"
            "profilo \"Predefinito\". --profile NOME usa quel profilo (nel programma già in esecuzione, se\n"
            "c'è) e lo ricorda; --profiles li elenca, con * quello scelto. Ogni corvane collegato ha il suo\n"
            "profilo: --profile vale per quello mostrato, o con --pad N per l'N-esimo di \"Scegli il "
            "Corvane\"."));
    parser.setApplicationDescription(
        parser.applicationDescription() + QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CommandLine",
            "Tastiera e mouse: la sezione [Uscita] della mappa fa premere al corvane tasti, tasti del mouse "
            "e\n"
            "rotella (0=SPACE, 8=VOLUMEDOWN ripeti 10) e muovere il puntatore con una levetta\n"
            "(LevaSinistra=puntatore, LevaDestra=rotella, Croce=frecce), attraverso il dispositivo\n"
            "\"Corvane Demo\" di /dev/uinput (su X11, se chiuso, attraverso XTest). Mentre una finestra del\n"
            "programma è in primo piano non preme nulla."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Mostra questo aiuto ed esce."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("CommandLine", "Mostra il nome e la versione del programma ed esce."));
    const QCommandLineOption map(
        QStringLiteral("map"),
        QCoreApplication::translate("CommandLine",
                                    "Legge la mappa dei tasti/assi da <file> invece di cercare Corvane.ini."),
        QCoreApplication::translate("CommandLine", "file"));
    const QCommandLineOption profile(
        QStringLiteral("profile"),
        QCoreApplication::translate("CommandLine",
                                    "Usa il profilo <nome> e lo ricorda per i prossimi avvii."),
        QCoreApplication::translate("CommandLine", "nome"));
    const QCommandLineOption pad(
        QStringLiteral("pad"),
        QCoreApplication::translate("CommandLine",
                                    "Con --profile: il profilo vale per il corvane numero <n> di \"Scegli il "
                                    "Corvane\" (1 il primo) invece che per quello mostrato."),
        QCoreApplication::translate("CommandLine", "n"));
    const QCommandLineOption profiles(
        QStringLiteral("profiles"),
        QCoreApplication::translate("CommandLine", "Elenca i profili, con * quello scelto, ed esce."));
    const QCommandLineOption emulation(
        QStringLiteral("emulation"),
        QCoreApplication::translate("CommandLine",
                                    "Mostra nel menu File la voce \"Emulazione Corvane\", che apre il "
                                    "pannello per provare i comandi con il mouse."));
    const QCommandLineOption background(
        QStringLiteral("background"),
        QCoreApplication::translate("CommandLine",
                                    "Avvia senza finestra e legge subito il controller (o attende che ne "
                                    "sia collegato uno); icona nell'area di notifica."));
    const QCommandLineOption start(
        QStringLiteral("start"),
        QCoreApplication::translate("CommandLine",
                                    "Avvia la lettura, nel programma già in esecuzione se c'è."));
    const QCommandLineOption stop(
        QStringLiteral("stop"),
        QCoreApplication::translate("CommandLine", "Ferma la lettura del programma in esecuzione."));
    const QCommandLineOption quit(
        QStringLiteral("quit"),
        QCoreApplication::translate("CommandLine", "Chiude il programma in esecuzione."));
    parser.addOptions({help, version, map, profile, pad, profiles, emulation, background, start, stop, quit});
    parser.addOptions(QtOptions());
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments)) {
        return Refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        return Answer(parser.helpText());
    }
    if (parser.isSet(version)) {
        return Answer(QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
    }
    using Action = SessionRequest::Action;
    const std::pair<const QCommandLineOption&, Action> requests[] = {
        {start, Action::Start}, {stop, Action::Stop}, {quit, Action::Quit}};
    int given = 0;
    for (const auto& [option, request] : requests) {
        if (parser.isSet(option)) {
            options.request = request;
            ++given;
        }
    }
    const bool quitWithMore = given == 1 && options.request == Action::Quit &&
                              (parser.isSet(map) || parser.isSet(profile) || parser.isSet(emulation));
    if (given > 1 || (given == 1 && options.request != Action::Start && parser.isSet(background)) ||
        quitWithMore) {
        return Refuse(QCoreApplication::translate("CommandLine",
                                                  "--start, --stop e --quit si escludono a vicenda, "
                                                  "--background va solo con --start e --quit va da solo."));
    }
    options.requested = given == 1;
    options.background = parser.isSet(background);
    if (!parser.positionalArguments().isEmpty()) {
        return Refuse(QCoreApplication::translate("CommandLine", "argomento inatteso: \"%1\".")
                          .arg(parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(map)) {
        const QString file = parser.value(map);
        if (file.isEmpty()) {
            return Refuse(
                QCoreApplication::translate("CommandLine", "--map vuole il percorso di un file di mappa."));
        }
        if (!IsReadableMap(file)) {
            return Refuse(QCoreApplication::translate("CommandLine",
                                                      "la mappa \"%1\" non esiste o non è un file leggibile.")
                              .arg(file));
        }
        options.map = QFileInfo(file).absoluteFilePath();
        // The same path goes to the program already running, in a line of bounded length.
        if (!CarriesMap(options.map)) {
            return Refuse(
                QCoreApplication::translate(
                    "CommandLine",
                    "il percorso della mappa \"%1\" contiene caratteri di controllo o supera %2 byte.")
                    .arg(options.map)
                    .arg(MapPathMaxBytes));
        }
    }
    if (parser.isSet(profile)) {
        options.profile = parser.value(profile);
        if (parser.isSet(map)) {
            return Refuse(
                QCoreApplication::translate("CommandLine", "--map e --profile si escludono a vicenda."));
        }
        if (const QString problem = ProfileNameProblem(options.profile); !problem.isEmpty()) {
            return Refuse(problem);
        }
    }
    if (parser.isSet(pad)) {
        bool number = false;
        options.pad = parser.value(pad).toInt(&number);
        if (!parser.isSet(profile) || !number || options.pad < 1 || options.pad > MaxPadNumber) {
            return Refuse(
                QCoreApplication::translate("CommandLine", "--pad vuole --profile e un numero da 1 a %1.")
                    .arg(MaxPadNumber));
        }
    }
    options.listProfiles = parser.isSet(profiles);
    options.emulation = parser.isSet(emulation);
    options.platform = parser.value(QStringLiteral("platform"));
    options.display = parser.value(QStringLiteral("display"));
    return std::nullopt;
}

SessionRequest RequestOf(const CommandLine& options) {
    using Action = SessionRequest::Action;
    const Action action = options.requested    ? options.request
                          : options.background ? Action::Start
                                               : Action::Show;
    return {action, options.map, options.emulation, options.profile, options.pad};
}

bool DisplayFound(const CommandLine& options) {
    const QString chosen =
        options.platform.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : options.platform;
    // "wayland;xcb" tries them in turn, "xcb:option" carries the plugin's options.
    const QString platform = chosen.section(u';', 0, 0).section(u':', 0, 0);
    const bool x11 = platform.isEmpty() || platform == QLatin1String("xcb");
    const bool wayland = platform.isEmpty() || platform.startsWith(QLatin1String("wayland"));
    if (!x11 && !wayland) {
        return true;
    }
    if (wayland && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return true;
    }
    const QByteArray display = options.display.isEmpty() ? qgetenv("DISPLAY") : options.display.toLocal8Bit();
    if (!x11 || display.isEmpty()) {
        return false;
    }
    // As Qt will connect: a display named but not there would end the program as well.
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

}  // namespace platform
