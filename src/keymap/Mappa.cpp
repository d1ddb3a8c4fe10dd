// The map's tables and the file's text: how a load reads them, and how a save writes only what differs
// from what the file gives, so the lines the user wrote by hand stay as they are.

#include "keymap/Generale.h"
#include "keymap/Valori.h"
#include "platform/ProfileReader.h"
#include "platform/ProfileWriter.h"

#include <QCoreApplication>

namespace Generale {
namespace {

// LeggiIni's buffer: a value longer than this is cut when read.
constexpr qsizetype ValoreMassimo = 254;

const QString Tasti = QStringLiteral("Tasti");
const QString Digitale = QStringLiteral("X-Y Digitale");
const QString AnalogicoXY = QStringLiteral("X-Y Analogico");
const QString AnalogicoZR = QStringLiteral("Z-R Analogico");

QString Leggi(const platform::ProfileReader& ini, const QString& section, const QString& key,
              const QString& def) {
    return ini.GetPrivateProfileString(section, key, def, ValoreMassimo + 1).text;
}

}  // namespace

Mappa LeggiMappa(QByteArrayView file, const Mappa& precedente) {
    const platform::ProfileReader ini = platform::ProfileReader::FromBytes(file);
    Mappa letta = precedente;
    for (int i = 0; i < NumTasti; ++i) {
        // The code is read from the text before the first "[", so that "code [command]" keeps both.
        const QString value = Leggi(ini, Tasti, QString::number(i), QString::number(CodicePredefinito(i)));
        letta.codici[i] = Numero(TestoCodice(value)).value_or(precedente.codici[i]);
        letta.comandi[i] = Comando(value);
    }
    for (int d = 0; d < NumPosizioni; ++d) {
        const QString key = QString::number(d);
        letta.posizioni[d] = Numero(Leggi(ini, Digitale, key, key)).value_or(precedente.posizioni[d]);
    }
    const QString uno = QStringLiteral("1");
    letta.ordineXY = Ordine(Leggi(ini, AnalogicoXY, QStringLiteral("XY"), uno));
    letta.segni[0] = Segno(Leggi(ini, AnalogicoXY, QStringLiteral("X"), uno));
    letta.segni[1] = Segno(Leggi(ini, AnalogicoXY, QStringLiteral("Y"), uno));
    letta.ordineZR = Ordine(Leggi(ini, AnalogicoZR, QStringLiteral("ZR"), uno));
    letta.segni[2] = Segno(Leggi(ini, AnalogicoZR, QStringLiteral("Z"), uno));
    letta.segni[3] = Segno(Leggi(ini, AnalogicoZR, QStringLiteral("R"), uno));
    return letta;
}

QString ComandoNonSalvabile(int32_t code, const QString& command) {
    if (command.contains(u'\n') || command.contains(u'\r')) {
        return QCoreApplication::translate("Generale", "il comando contiene un a capo");
    }
    if (!command.isEmpty() && command.front().isSpace()) {
        return QCoreApplication::translate("Generale", "il comando inizia con uno spazio");
    }
    // A command read without its closing "]" loses its last UTF-16 unit, which may be half a character.
    if (!QStringView(command).isValidUtf16()) {
        return QCoreApplication::translate("Generale", "il comando contiene mezzo carattere");
    }
    const qsizetype length = TestoTasto(code, command).size();
    if (length > ValoreMassimo) {
        return QCoreApplication::translate("Generale",
                                           "codice e comando sono lunghi %1 caratteri, al massimo %2")
            .arg(length)
            .arg(ValoreMassimo);
    }
    return {};
}

void SalvaMappa(const Mappa& mappa, QByteArrayView file, platform::ProfileWriter& ini) {
    const platform::ProfileReader letto = platform::ProfileReader::FromBytes(file);
    const auto leggi = [&letto](const QString& section, const QString& key, const QString& def) {
        return Leggi(letto, section, key, def);
    };
    const auto scrivi = [&ini](const QString& section, const QString& key, const QString& value) {
        ini.WriteProfileString(section, key, value);
    };
    for (int i = 0; i < NumTasti; ++i) {
        const QString key = QString::number(i);
        const QString value = leggi(Tasti, key, QString::number(CodicePredefinito(i)));
        if (Numero(TestoCodice(value)) != mappa.codici[i] || Comando(value) != mappa.comandi[i]) {
            scrivi(Tasti, key, TestoTasto(mappa.codici[i], mappa.comandi[i]));
        }
    }
    for (int d = 0; d < NumPosizioni; ++d) {
        const QString key = QString::number(d);
        if (Numero(leggi(Digitale, key, key)) != mappa.posizioni[d]) {
            scrivi(Digitale, key, QString::number(mappa.posizioni[d]));
        }
    }
    const auto ordine = [&](const QString& section, const QString& key, bool wanted) {
        if (Ordine(leggi(section, key, QStringLiteral("1"))) != wanted) {
            scrivi(section, key, wanted ? QStringLiteral("1") : QStringLiteral("0"));
        }
    };
    const auto segno = [&](const QString& section, const QString& key, int16_t wanted) {
        if (Segno(leggi(section, key, QStringLiteral("1"))) != wanted) {
            scrivi(section, key, wanted == 1 ? QStringLiteral("1") : QStringLiteral("-1"));
        }
    };
    ordine(AnalogicoXY, QStringLiteral("XY"), mappa.ordineXY);
    segno(AnalogicoXY, QStringLiteral("X"), mappa.segni[0]);
    segno(AnalogicoXY, QStringLiteral("Y"), mappa.segni[1]);
    ordine(AnalogicoZR, QStringLiteral("ZR"), mappa.ordineZR);
    segno(AnalogicoZR, QStringLiteral("Z"), mappa.segni[2]);
    segno(AnalogicoZR, QStringLiteral("R"), mappa.segni[3]);
}

}  // namespace Generale
