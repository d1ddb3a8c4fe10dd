#pragma once
// What a reading of the pad means under a map: the code, the on-screen buttons lit, those the profile
// chord covers, the cross's position and the sticks as their markers stand. The picture and the
// keyboard and mouse both read a pad through these rules, so that the two never disagree.

#include "keymap/Generale.h"
#include "platform/input/JoystickDriver.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

namespace Generale {

// Button i counts as pressed when every bit of its code is in the mask: a code of 0 always does.
bool TastoAcceso(int32_t maschera, int32_t codice);

// While the whole profile chord is held, the buttons whose code lies inside it start and send nothing:
// the next profile's, or this one's, actions would surprise.
bool AccordoTenuto(int32_t maschera, int32_t accordo);
bool TastoCoperto(int32_t maschera, int32_t codice, int32_t accordo);

// A stick's two values as its marker stands: the map's order exchanges them, then each takes its sign.
template<typename T>
std::array<T, 2> LevaSulQuadro(bool ordine, int16_t segnoH, int16_t segnoV, T x, T y) {
    return {T(segnoH) * (ordine ? x : y), T(segnoV) * (ordine ? y : x)};
}

// The cross element shown for a direction 0..8, or none for a direction the map has no element for or
// an element number past 16 bits.
std::optional<int16_t> PosizioneCroce(int32_t direzione, const std::array<int32_t, NumPosizioni>& posizioni);

// An axis between the device's own ends, -1..1, 0 at the middle. An axis the device lacks (an empty
// range) is centred, never pushed; so is one within half a step of the middle, where a range with an
// even number of steps has no middle value (SDL's rest, 0, comes as 32768 of 0..65535).
double Asse(uint32_t grezzo, uint32_t minimo, uint32_t massimo);

struct Significato {
    int32_t codice = 0;             // the buttons' mask as read: " Codice tasto: "
    std::bitset<NumTasti> accesi;   // on-screen buttons lit
    std::bitset<NumTasti> coperti;  // of those, the ones the profile chord covers while it is held
    std::bitset<NumTasti> fissi;    // of those, the ones of code 0: lit by any mask, they never go down
    bool accordo = false;           // the whole profile chord is held
    int16_t croce = 0;              // the cross element shown, 0 centre, 1 up ... 8 up-left
    // Left stick across and down, right stick across and down, each -1..1 as its marker stands.
    std::array<double, 4> leve{};

    // Lit, neither covered nor of code 0: the buttons that act.
    std::bitset<NumTasti> Attivi() const { return accesi & ~coperti & ~fissi; }
    bool operator==(const Significato&) const = default;
};

// The one meaning of a reading, the device's capabilities and the map with its profile chord.
Significato Interpreta(const platform::JOYINFOEX& lettura, const platform::JOYCAPSA& caps, const Mappa& mappa,
                       int32_t accordo);

}  // namespace Generale
