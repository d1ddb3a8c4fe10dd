#include "keymap/Generale.h"

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

// Stores text in entry if it is an optionally signed ("+" or "-") decimal integer, leading zeros allowed,
// no hex, no group separators, with surrounding blanks, that fits in 32 bits; otherwise entry keeps its
// value. toInt would stop at a NUL character and take "1<NUL>2" for 1.
void SeNumero(int32_t& entry, QStringView text) {
    bool ok = false;
    const int32_t value = text.trimmed().toInt(&ok, 10);
    if (ok && !text.contains(QChar::Null)) {
        entry = value;
    }
}

// The code of a "Tasti" value: the text before the first "[" (all of it without one).
QStringView TestoCodice(QStringView value) {
    const qsizetype bracket = value.indexOf(u'[');
    return bracket < 0 ? value : value.first(bracket);
}

// The command of a "Tasti" value: the text after the first "[", without surrounding blanks, less its
// last character (the closing "]"); empty without a "[".
QString Comando(QStringView value) {
    const qsizetype bracket = value.indexOf(u'[');
    if (bracket < 0) {
        return QString();
    }
    QStringView command = value.sliced(bracket + 1).trimmed();
    command.chop(command.isEmpty() ? 0 : 1);
    return command.toString();
}

int16_t Segno(const QString& value) {
    return value == u"1" ? 1 : -1;
}

constexpr std::array<int32_t, NumTasti> CodiciPredefiniti() {
    std::array<int32_t, NumTasti> codes{};
    for (int i = 0; i < NumTasti; ++i) {
        codes[i] = int32_t(1) << i;
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
    OrdineXY = Leggi(ini, u"X-Y Analogico", u"XY", QStringLiteral("1")) != u"0";
    SegnoX = Segno(Leggi(ini, u"X-Y Analogico", u"X", QStringLiteral("1")));
    SegnoY = Segno(Leggi(ini, u"X-Y Analogico", u"Y", QStringLiteral("1")));
    OrdineZR = Leggi(ini, u"Z-R Analogico", u"ZR", QStringLiteral("1")) != u"0";
    SegnoZ = Segno(Leggi(ini, u"Z-R Analogico", u"Z", QStringLiteral("1")));
    SegnoR = Segno(Leggi(ini, u"Z-R Analogico", u"R", QStringLiteral("1")));
}

}  // namespace Generale
