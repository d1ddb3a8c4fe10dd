#include "keymap/Significato.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Generale {

bool TastoAcceso(int32_t maschera, int32_t codice) {
    return (maschera & codice) == codice;
}

bool AccordoTenuto(int32_t maschera, int32_t accordo) {
    return accordo != 0 && TastoAcceso(maschera, accordo);
}

bool TastoCoperto(int32_t maschera, int32_t codice, int32_t accordo) {
    return AccordoTenuto(maschera, accordo) && (codice & ~accordo) == 0;
}

std::optional<int16_t> PosizioneCroce(int32_t direzione, const std::array<int32_t, NumPosizioni>& posizioni) {
    if (direzione < 0 || direzione >= NumPosizioni) {
        return std::nullopt;
    }
    const int32_t posizione = posizioni[direzione];
    if (posizione < std::numeric_limits<int16_t>::min() || posizione > std::numeric_limits<int16_t>::max()) {
        return std::nullopt;
    }
    return int16_t(posizione);
}

double Asse(uint32_t grezzo, uint32_t minimo, uint32_t massimo) {
    if (massimo <= minimo) {
        return 0;
    }
    const double meta = (double(massimo) - double(minimo)) / 2;
    const double scarto = double(grezzo) - (double(minimo) + meta);
    if (std::abs(scarto) <= 0.5) {
        return 0;
    }
    return std::clamp(scarto / meta, -1.0, 1.0);
}

Significato Interpreta(const platform::JOYINFOEX& lettura, const platform::JOYCAPSA& caps, const Mappa& mappa,
                       int32_t accordo) {
    Significato s;
    s.codice = static_cast<int32_t>(lettura.dwButtons);  // bit 31 makes the mask negative
    s.accordo = AccordoTenuto(s.codice, accordo);
    for (int i = 0; i < NumTasti; ++i) {
        if (TastoAcceso(s.codice, mappa.codici[i])) {
            s.accesi.set(i);
            s.coperti.set(i, TastoCoperto(s.codice, mappa.codici[i], accordo));
            s.fissi.set(i, mappa.codici[i] == 0);
        }
    }
    const int32_t direzione = platform::PovDirection(lettura.dwPOV);
    s.croce = PosizioneCroce(direzione, mappa.posizioni).value_or(0);
    const auto sinistra = LevaSulQuadro(mappa.ordineXY, mappa.segni[0], mappa.segni[1],
                                        Asse(lettura.dwXpos, caps.wXmin, caps.wXmax),
                                        Asse(lettura.dwYpos, caps.wYmin, caps.wYmax));
    // The right stick's across is R, its down Z, as the monitor raises them.
    const auto destra = LevaSulQuadro(mappa.ordineZR, mappa.segni[2], mappa.segni[3],
                                      Asse(lettura.dwRpos, caps.wRmin, caps.wRmax),
                                      Asse(lettura.dwZpos, caps.wZmin, caps.wZmax));
    s.leve = {sinistra[0], sinistra[1], destra[0], destra[1]};
    return s;
}

}  // namespace Generale
