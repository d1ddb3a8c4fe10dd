// uinput reaches every program of the session; XTest only X's.
#include "platform/output/OutputDevice.h"
#include "platform/output/UinputDevice.h"
#include "platform/output/XTestDevice.h"
#include "platform/output/XTestDisplay.h"

#include <QCoreApplication>

namespace platform {

OpenedOutput OpenOutputDevice() {
    if (auto device = OpenUinputDevice()) {
        return {std::move(device), OutputRoute::Uinput, {}};
    }
    if (const std::optional<QByteArray> display = XTestDisplay(ThisDisplaySession())) {
        if (auto device = OpenXTestDevice(*display)) {
            return {std::move(device), OutputRoute::XTest, {}};
        }
    }
    // A new udev rule reaches /dev/uinput when udev next handles it: at the next start, or when asked.
    // Installing the package also brings XTest's guard, without which XTest is not used.
    return {
        nullptr, OutputRoute::None,
        QCoreApplication::translate(
            "OpenOutputDevice",
            "Il controller non può fare da tastiera e mouse perché /dev/uinput non si può aprire in "
            "scrittura. Installare il pacchetto del programma, la cui regola udev dà l'accesso a chi "
            "siede al computer, o scrivere la stessa regola in /etc/udev/rules.d/70-corvane-uinput.rules:\n"
            "KERNEL==\"uinput\", SUBSYSTEM==\"misc\", OPTIONS+=\"static_node=uinput\", TAG+=\"uaccess\"\n"
            "poi riavviare il computer, o eseguire «sudo udevadm trigger /dev/uinput».")};
}

}  // namespace platform
