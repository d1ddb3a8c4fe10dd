#pragma once
// The kernel's names of keys and mouse buttons, as a map entry writes them.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace platform {

// A key by its kernel name without "KEY_" ("SPACE", "LEFTCTRL", "F11"), or one of BTN_LEFT,
// BTN_RIGHT, BTN_MIDDLE, in any ASCII case; none for any other name.
std::optional<uint16_t> KeyCode(QStringView name);
// The name KeyCode reads back as code; empty for a code it does not read.
QString KeyName(uint16_t code);

}  // namespace platform
