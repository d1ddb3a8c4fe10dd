#include "platform/desktop/CommandLine.h"

#include "platform/desktop/MapFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace platform {
namespace {

void Print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int Refuse(const QString& why) {
    Print(stderr, QStringLiteral("corvane: %1\n%2\n")
                      .arg(why, QCoreApplication::translate("CommandLine",
                                                            "Usare --help per l'elenco delle opzioni.")));
    return UsageError;
}

}  // namespace

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
    const QCommandLineOption emulation(
        QStringLiteral("emulation"),
        QCoreApplication::translate("CommandLine",
                                    "Mostra nel menu File la voce \"Emulazione Corvane\", che apre il "
                                    "pannello per provare i comandi con il mouse."));
    parser.addOptions({help, version, map, emulation});

    if (!parser.parse(arguments)) {
        return Refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        Print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
        return 0;
    }
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
    }
    options.emulation = parser.isSet(emulation);
    return std::nullopt;
}

}  // namespace platform
