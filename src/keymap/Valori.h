#pragma once
// How the map's values are read, for loading the map and for saving it so that it loads back the same.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace Generale {

// Button i's code when the map gives none: bit i.
constexpr int32_t CodicePredefinito(int i) {
    return int32_t(1) << i;
}

// An optionally signed ("+" or "-") decimal integer, leading zeros allowed, no hex, no group separators,
// with surrounding blanks, that fits in 32 bits; nullopt otherwise. toInt alone would stop at a NUL
// character and take "1<NUL>2" for 1.
std::optional<int32_t> Numero(QStringView text);

// The code of a "Tasti" value: the text before the first "[" (all of it without one).
QStringView TestoCodice(QStringView value);

// The command of a "Tasti" value: the text after the first "[", without surrounding blanks, less its
// last character (the closing "]"); empty without a "[".
QString Comando(QStringView value);

// The "Tasti" value written for a code and a command: "code [command]", or the code alone.
QString TestoTasto(int32_t code, const QString& command);

// A stick's order is exchanged only by exactly "0"; its sign is +1 only for exactly "1".
bool Ordine(QStringView value);
int16_t Segno(QStringView value);

}  // namespace Generale
