#include "keymap/Generale.h"

#include "keymap/Valori.h"
#include "platform/ProfileReader.h"
#include "platform/desktop/MapFile.h"

namespace Generale {
namespace {

// LeggiIni's buffer: a value comes back with at most 254 characters.
constexpr qsizetype DimensioneBuffer = 255;

// The file is read once per call of LeggiIni and once per CaricaMappa; the values are the same as if
// every value were read on its own.
platform::ProfileReader LeggiFile() {
    const QString path = platform::MapFile();
    return path.isEmpty() ? platform::ProfileReader::FromBytes({}) : platform::ProfileReader::FromFile(path);
}

QString Leggi(const platform::ProfileReader& ini, QStringView section, QStringView key, const QString& def) {
    return ini.GetPrivateProfileString(section, key, def, DimensioneBuffer).text;
}

// Stores text in entry if it is a number; otherwise entry keeps its value.
void SeNumero(int32_t& entry, QStringView text) {
    entry = Numero(text).value_or(entry);
}

constexpr std::array<int32_t, NumTasti> CodiciPredefiniti() {
    std::array<int32_t, NumTasti> codes{};
    for (int i = 0; i < NumTasti; ++i) {
        codes[i] = CodicePredefinito(i);
    }
    return codes;
}

constexpr std::array<int32_t, NumPosizioni> PosizioniPredefinite() {
    std::array<int32_t, NumPosizioni> positions{};
    for (int d = 0; d < NumPosizioni; ++d) {
        positions[d] = d;
    }
    return positions;
}

}  // namespace

// Everything starts as a load without a file would leave it, so that a value mistyped in the file
// on the first load keeps a sound default (a code 0 would light its button on every button event).
constinit std::array<int32_t, NumTasti> CodiceTasto = CodiciPredefiniti();
std::array<QString, NumTasti> ComandoTasto;
constinit std::array<int32_t, NumPosizioni> PosizioneDig = PosizioniPredefinite();
bool OrdineXY = true;
bool OrdineZR = true;
int16_t SegnoX = 1;
int16_t SegnoY = 1;
int16_t SegnoZ = 1;
int16_t SegnoR = 1;

bool MostraIstruzioni = false;
bool EventoDaJoy = false;
bool MostraEmulazione = false;

QString LeggiIni(const QString& section, const QString& key, const QString& def) {
    return Leggi(LeggiFile(), section, key, def);
}

void CaricaMappa() {
    const platform::ProfileReader ini = LeggiFile();
    for (int i = 0; i < NumTasti; ++i) {
        const QString key = QString::number(i);
        // The code is read from the text before the first "[", so that "code [command]" keeps both.
        const QString code = Leggi(ini, u"Tasti", key, QString::number(CodiciPredefiniti()[i]));
        SeNumero(CodiceTasto[i], TestoCodice(code));
        ComandoTasto[i] = Comando(Leggi(ini, u"Tasti", key, QString()));
    }
    for (int d = 0; d < NumPosizioni; ++d) {
        const QString key = QString::number(d);
        SeNumero(PosizioneDig[d], Leggi(ini, u"X-Y Digitale", key, key));
    }
    OrdineXY = Ordine(Leggi(ini, u"X-Y Analogico", u"XY", QStringLiteral("1")));
    SegnoX = Segno(Leggi(ini, u"X-Y Analogico", u"X", QStringLiteral("1")));
    SegnoY = Segno(Leggi(ini, u"X-Y Analogico", u"Y", QStringLiteral("1")));
    OrdineZR = Ordine(Leggi(ini, u"Z-R Analogico", u"ZR", QStringLiteral("1")));
    SegnoZ = Segno(Leggi(ini, u"Z-R Analogico", u"Z", QStringLiteral("1")));
    SegnoR = Segno(Leggi(ini, u"Z-R Analogico", u"R", QStringLiteral("1")));
}

}  // namespace Generale
