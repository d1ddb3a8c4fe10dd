#pragma once
// The kernel's names of keys and mouse buttons, as a map entry writes them, and the codes the output's
// keyboard and mouse have.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace platform {

// Whether the keyboard and mouse have the code: every KEY_ code below KEY_MAX outside the BTN_ blocks,
// and BTN_LEFT, BTN_RIGHT, BTN_MIDDLE.
bool OutputHasCode(uint16_t code);
// A key by its kernel name without "KEY_" ("SPACE", "LEFTCTRL", "F11"), or one of BTN_LEFT,
// BTN_RIGHT, BTN_MIDDLE, in any ASCII case; none for any other name, or one of a code the keyboard and
// mouse lack ("MAX").
std::optional<uint16_t> KeyCode(QStringView name);
// The name KeyCode reads back as code; empty for a code it does not read.
QString KeyName(uint16_t code);

}  // namespace platform
