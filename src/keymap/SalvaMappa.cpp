// The map's write side: only what differs from what the file gives is written, so the lines the user
// wrote by hand stay as they are.

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

QString Tr(const char* text) {
    return QCoreApplication::translate("Generale", text);
}

}  // namespace

Mappa MappaCaricata() {
    return {CodiceTasto, ComandoTasto, PosizioneDig, OrdineXY, OrdineZR, {SegnoX, SegnoY, SegnoZ, SegnoR}};
}

QString ComandoNonSalvabile(int32_t code, const QString& command) {
    if (command.contains(u'\n') || command.contains(u'\r')) {
        return Tr("il comando contiene un a capo");
    }
    if (!command.isEmpty() && command.front().isSpace()) {
        return Tr("il comando inizia con uno spazio");
    }
    const qsizetype length = TestoTasto(code, command).size();
    if (length > ValoreMassimo) {
        return Tr("codice e comando sono lunghi %1 caratteri, al massimo %2").arg(length).arg(ValoreMassimo);
    }
    return {};
}

void SalvaMappa(const Mappa& mappa, QByteArrayView file, platform::ProfileWriter& ini) {
    const platform::ProfileReader letto = platform::ProfileReader::FromBytes(file);
    const auto leggi = [&letto](const QString& section, const QString& key, const QString& def) {
        return letto.GetPrivateProfileString(section, key, def, ValoreMassimo + 1).text;
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
