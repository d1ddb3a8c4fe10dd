// libevdev knows the kernel's names: the table stays as current as the kernel headers it was built with.
#include "platform/output/KeyNames.h"

#include <libevdev/libevdev.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>
#include <utility>

namespace platform {
namespace {

// The mouse's buttons, back and forward (BTN_SIDE, BTN_EXTRA) included.
constexpr std::array<uint16_t, 5> kMouseButtons = {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_SIDE, BTN_EXTRA};

// The keyboard's keys, in the ranges [first, end) between the BTN_ blocks; KEY_MAX, past the last,
// only marks the table's end.
constexpr std::array<std::pair<uint16_t, uint16_t>, 3> kKeyRanges{
    {{KEY_ESC, BTN_MISC}, {KEY_OK, BTN_DPAD_UP}, {KEY_ALS_TOGGLE, BTN_TRIGGER_HAPPY}}};

bool IsMouseButton(int code) {
    return std::find(kMouseButtons.begin(), kMouseButtons.end(), code) != kMouseButtons.end();
}

}  // namespace

bool OutputHasCode(uint16_t code) {
    return IsMouseButton(code) ||
           std::any_of(kKeyRanges.begin(), kKeyRanges.end(),
                       [code](const auto& range) { return code >= range.first && code < range.second; });
}

std::optional<uint16_t> KeyCode(QStringView name) {
    // The names are ASCII: Unicode's case mapping would read "ı" as I and "ſ" as S.
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0x7f; })) {
        return std::nullopt;
    }
    const QByteArray upper = name.toLatin1().toUpper();
    if (upper.isEmpty() || upper.startsWith("KEY_")) {
        return std::nullopt;
    }
    const int code = upper.startsWith("BTN_")
                         ? libevdev_event_code_from_name(EV_KEY, upper.constData())
                         : libevdev_event_code_from_name(EV_KEY, ("KEY_" + upper).constData());
    // Of the BTN_ names only the mouse's: a pad's or a pen's buttons mean nothing to a desktop.
    if (code < 0 || (upper.startsWith("BTN_") && !IsMouseButton(code)) ||
        !OutputHasCode(static_cast<uint16_t>(code))) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(code);
}

QString KeyName(uint16_t code) {
    const char* const name = libevdev_event_code_get_name(EV_KEY, code);
    if (name == nullptr || !OutputHasCode(code)) {
        return {};
    }
    QString text = QString::fromLatin1(name);
    if (IsMouseButton(code)) {
        return text;
    }
    return text.startsWith(QLatin1String("KEY_")) ? text.mid(4) : QString();
}

}  // namespace platform
