#pragma once
// The key and axis map read from Corvane.ini, and the program-wide flags.
// Module-level state for the whole process; read and written on the user-interface thread only.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

namespace platform {
class ProfileWriter;
}

namespace Generale {

inline constexpr int NumTasti = 14;     // on-screen buttons 0..13
inline constexpr int NumPosizioni = 9;  // direction-pad codes 0..8
// [Uscita]: what each on-screen button sends as keyboard and mouse, then the left stick, the right stick
// and the cross.
inline constexpr int NumUscite = NumTasti + 3;

extern std::array<int32_t, NumTasti> CodiceTasto;   // button i counts as pressed when all its bits are set
extern std::array<QString, NumTasti> ComandoTasto;  // command line started when button i goes down
extern std::array<int32_t, NumPosizioni> PosizioneDig;  // cross element shown for direction code d
extern bool OrdineXY;   // true: leftStickX to Sld_X, leftStickY to Sld_Y; false: exchanged
extern bool OrdineZR;   // true: rightStickX to Sld_Z, rightStickY to Sld_R; false: exchanged
extern int16_t SegnoX;  // +1 or -1, factor of the value put on Sld_X
extern int16_t SegnoY;
extern int16_t SegnoZ;
extern int16_t SegnoR;
extern std::array<QString, NumUscite> TestoUscita;  // [Uscita] as written, for the key dialog

// [Profili] Successivo: the buttons that, held together, switch to the next profile; 0: no such chord.
extern int32_t CodiceSuccessivo;

extern bool MostraIstruzioni;  // show the usage instructions once at the main window's first activation
extern bool EventoDaJoy;       // true only while a live button event drives the button display
extern bool MostraEmulazione;  // the command line asked for the "Emulazione Corvane" menu entry

// The value of key in section of the map that platform::MapFile names, or def; at most 254 characters. Never
// fails.
QString LeggiIni(const QString& section, const QString& key, const QString& def);

// Fills every table and order/sign flag from the map that platform::MapFile names (LeggiMappa over the
// tables as they are: the reload's rule), and CodiceSuccessivo. Never fails, shows nothing.
void CaricaMappa();
// As CaricaMappa, over the defaults instead: a map switched to reads the same whichever map was before.
void CaricaMappaNuova();
// Who hears of every load, by any route, once its tables are in force, with the file's bytes it read
// them from; one listener, replaced by the next.
void AlCaricamento(std::function<void(QByteArrayView file)> avvisa);

// The tables of one map as a whole: what a load gives, or what the key-assignment dialog shows.
struct Mappa {
    std::array<int32_t, NumTasti> codici{};
    std::array<QString, NumTasti> comandi;
    std::array<int32_t, NumPosizioni> posizioni{};
    bool ordineXY = true;
    bool ordineZR = true;
    std::array<int16_t, 4> segni{1, 1, 1, 1};  // X, Y, Z, R
    std::array<QString, NumUscite> uscite;     // as written; what they mean is the output's
    bool operator==(const Mappa&) const = default;
};

// The key of [Uscita] entry k: "0".."13", "LevaSinistra", "LevaDestra", "Croce".
QString ChiaveUscita(int k);

// The chord a map file's bytes name: [Profili] Successivo, a code as in [Tasti]; 0 when missing or
// not a number.
int32_t LeggiSuccessivo(QByteArrayView file);

// The window classes a map file's bytes name: [Profili] Finestre, comma-separated, each without
// surrounding blanks and case-folded; empty items are passed over. The list is read whole.
QStringList LeggiFinestre(QByteArrayView file);

// The tables as loaded now.
Mappa MappaCaricata();
// The tables a load without a file gives.
Mappa MappaPredefinita();

// The tables a load of the map file's bytes gives: an entry whose number cannot be read keeps its
// value from precedente.
Mappa LeggiMappa(QByteArrayView file, const Mappa& precedente);

// The reason button i's command cannot be saved with that code so that a load gives it back (too
// long, a line break, a leading blank), or empty when it can.
QString ComandoNonSalvabile(int32_t code, const QString& command);

// The reason an [Uscita] entry cannot be saved so that a load gives it back, or empty when it can.
QString UscitaNonSalvabile(const QString& text);

// A save is a merge: into ini, made from the map file's bytes as they are at the save, goes every
// entry the user changed (prima, the tables first shown, against dopo, the tables shown at the save)
// that the file does not already give as dopo has it. Every other entry, changed in the file
// meanwhile or not, stays as the file has it. Every changed command must be savable.
void SalvaMappa(const Mappa& prima, const Mappa& dopo, QByteArrayView file, platform::ProfileWriter& ini);

// True when the file, read as letto when prima was shown and as attuale now, changed an entry that the
// user changed too (prima against dopo), and not to the user's value: the save would undo one of them.
bool Conflitto(const Mappa& prima, const Mappa& dopo, QByteArrayView letto, QByteArrayView attuale);

}  // namespace Generale
