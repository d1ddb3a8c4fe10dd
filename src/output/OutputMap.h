#pragma once
// The map's [Uscita] section as the output acts on it, with what it needs of the key map: which
// buttons light each on-screen button, and how the sticks' markers move.

#include "keymap/Generale.h"
#include "output/OutputEntry.h"

#include <QByteArrayView>

#include <array>
#include <optional>

namespace output {

struct OutputMap {
    std::array<std::optional<ButtonOutput>, Generale::NumTasti> buttons;
    std::optional<StickOutput> left;
    std::optional<StickOutput> right;
    bool crossArrows = false;
    int deadZone = 15;     // percent of a stick's travel
    int speed = 1200;      // pointer pixels a second at full push
    Generale::Mappa keys;  // the tables in force: the buttons' codes, the sticks' order and signs
    int32_t chord = 0;     // the profile chord: the buttons it covers send nothing while it is held

    // True when some entry acts: only then does the program need a keyboard and mouse of its own.
    bool Acts() const;
    bool operator==(const OutputMap&) const = default;
};

inline constexpr int kDefaultDeadZone = 15;
inline constexpr int kDefaultSpeed = 1200;

// The [Uscita] section of a map file's bytes, beside the tables given.
OutputMap ReadOutputMap(QByteArrayView file, const Generale::Mappa& keys, int32_t chord);

// The map in force: the file's bytes it was loaded from, and the tables loaded.
OutputMap CurrentOutputMap(QByteArrayView file);

}  // namespace output
