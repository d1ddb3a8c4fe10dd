#include "platform/output/SendableKeys.h"
#include "platform/output/XInput.h"

#include <QCoreApplication>

namespace platform {

QString WhyNotSent(uint16_t code, OutputRoute route) {
    if (route != OutputRoute::XTest || ToX(code)) {
        return {};
    }
    return QCoreApplication::translate("Uscita",
                                       "Questo tasto non si può inviare attraverso X11 (XTest), che "
                                       "non ha un codice per esso; attraverso /dev/uinput sì.");
}

}  // namespace platform
