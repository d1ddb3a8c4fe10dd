#pragma once
// The map's [Uscita] section as the output acts on it. Which buttons light each on-screen button, and
// how the sticks' markers move, are the key map's: the output is handed what a reading means.

#include "keymap/Generale.h"
#include "output/OutputEntry.h"
#include "platform/output/OutputDevice.h"

#include <QByteArrayView>

#include <array>
#include <bitset>
#include <optional>

namespace output {

// A layer: while its on-screen button is held (or from one press of it to the next, toggled), its
// section's entries apply, [Uscita 1] to [Uscita 4]; a button it has no entry for keeps the base one.
struct Layer {
    int button = -1;  // the on-screen button that puts it in force; -1: no such layer
    bool toggle = false;
    std::array<std::optional<ButtonOutput>, Generale::NumTasti> buttons;
    std::array<std::optional<Step>, Generale::NumTasti> holds;
    std::array<std::optional<Step>, Generale::NumTasti> twices;
    bool operator==(const Layer&) const = default;
};
inline constexpr int kLayers = 4;

struct OutputMap {
    std::array<std::optional<ButtonOutput>, Generale::NumTasti> buttons;
    // "N tenuto" and "N doppio": keys for a press held past holdAfter, and for a second press within
    // twiceWithin of the first's release. A button with either waits to know which its press is.
    std::array<std::optional<Step>, Generale::NumTasti> holds;
    std::array<std::optional<Step>, Generale::NumTasti> twices;
    std::chrono::milliseconds holdAfter{200};    // TempoTenuto
    std::chrono::milliseconds twiceWithin{250};  // TempoDoppio
    std::optional<StickOutput> left;
    std::optional<StickOutput> right;
    bool crossArrows = false;
    int deadZone = 15;             // percent of a stick's travel
    int speed = 1200;              // pointer pixels a second at full push
    int curve = 2;                 // the power of the push the pointer and wheel go by: 1 linear, up to 3
    int arrowThreshold = 50;       // percent of the travel past which a stick's arrows go down
    int triggerThreshold = 50;     // percent of an analog trigger's travel past which it is pressed
    std::optional<int> precision;  // the on-screen button that slows the pointer to a quarter while held
    std::array<Layer, kLayers> layers;  // Strato1 to Strato4

    // True when some entry acts: only then does the program need a keyboard and mouse of its own.
    bool Acts() const;
    bool operator==(const OutputMap&) const = default;
};

inline constexpr int kDefaultDeadZone = 15;
inline constexpr int kDefaultSpeed = 1200;
inline constexpr int kDefaultCurve = 2;
inline constexpr int kDefaultArrowThreshold = 50;

// The layer in force, 1 to kLayers, or 0 for none: of the layers whose button is held (a toggled one:
// switched on), the highest.
int LayerInForce(const std::array<Layer, kLayers>& layers, const std::bitset<Generale::NumTasti>& down,
                 const std::array<bool, kLayers>& on);

// A "tenuto" or "doppio" entry: keys pressed together, no sequence, no mode.
Read<Step> ReadGestureKeys(const QString& text);

// Whether a stick's arrow is down: past the threshold to go down, and once down until it falls a
// margin below it, so that a stick resting near the threshold does not press and release on and on.
bool PastThreshold(double along, double threshold, bool held);

// The [Uscita] section of a map file's bytes.
OutputMap ReadOutputMap(QByteArrayView file);

// Why a key of the entry cannot be sent on the route, naming the key; empty when every key can be.
QString Unsent(const ButtonOutput& output, platform::OutputRoute route);
// The first such reason among the map's entries, naming the button; empty when every key can be sent.
QString Unsent(const OutputMap& map, platform::OutputRoute route);

}  // namespace output
