#include "keymap/Generale.h"

#include "keymap/Valori.h"
#include "platform/desktop/MapFile.h"
#include "platform/files/ProfileReader.h"

#include <functional>

namespace Generale {
namespace {

// LeggiIni's buffer: a value comes back with at most 254 characters.
constexpr qsizetype DimensioneBuffer = 255;

// The file is read once per call of LeggiIni.
platform::ProfileReader LeggiFile() {
    const QString path = platform::MapFile();
    return path.isEmpty() ? platform::ProfileReader::FromBytes({}) : platform::ProfileReader::FromFile(path);
}

QString Leggi(const platform::ProfileReader& ini, QStringView section, QStringView key, const QString& def) {
    return ini.GetPrivateProfileString(section, key, def, DimensioneBuffer).text;
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
std::array<QString, NumUscite> TestoUscita;

int32_t CodiceSuccessivo = 0;

bool MostraIstruzioni = false;
bool EventoDaJoy = false;
bool MostraEmulazione = false;

QString LeggiIni(const QString& section, const QString& key, const QString& def) {
    return Leggi(LeggiFile(), section, key, def);
}

Mappa MappaCaricata() {
    return {CodiceTasto, ComandoTasto, PosizioneDig, OrdineXY, OrdineZR, {SegnoX, SegnoY, SegnoZ, SegnoR},
            TestoUscita};
}

namespace {

std::function<void(QByteArrayView)> avvisoCaricamento;

void Carica(const Mappa& precedente) {
    const QString path = platform::MapFile();
    const QByteArray file =
        path.isEmpty() ? QByteArray() : platform::ProfileReader::ReadBytes(path).value_or(QByteArray());
    const Mappa letta = LeggiMappa(file, precedente);
    CodiceTasto = letta.codici;
    ComandoTasto = letta.comandi;
    PosizioneDig = letta.posizioni;
    OrdineXY = letta.ordineXY;
    OrdineZR = letta.ordineZR;
    SegnoX = letta.segni[0];
    SegnoY = letta.segni[1];
    SegnoZ = letta.segni[2];
    SegnoR = letta.segni[3];
    TestoUscita = letta.uscite;
    CodiceSuccessivo = LeggiSuccessivo(file);
    if (avvisoCaricamento) {
        avvisoCaricamento(file);
    }
}

}  // namespace

void AlCaricamento(std::function<void(QByteArrayView file)> avvisa) {
    avvisoCaricamento = std::move(avvisa);
}

void CaricaMappa() {
    Carica(MappaCaricata());
}

void CaricaMappaNuova() {
    Carica(MappaPredefinita());
}

Mappa MappaPredefinita() {
    return {CodiciPredefiniti(), {}, PosizioniPredefinite()};
}

}  // namespace Generale
