#include "platform/output/XTestDisplay.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Last: Xlib's macros (None, Bool…) would change the meaning of Qt's headers.
#include <X11/Xlib.h>

namespace platform {

std::optional<QByteArray> XTestDisplay(const DisplaySession& session) {
    if (session.wayland || session.platform.startsWith(QLatin1String("wayland"))) {
        return std::nullopt;
    }
    const QByteArray& name = session.platform == QLatin1String("xcb") ? session.qtDisplay : session.display;
    return name.isEmpty() ? std::nullopt : std::optional(name);
}

DisplaySession ThisDisplaySession() {
    DisplaySession session;
    session.platform = QGuiApplication::platformName();
    session.display = qgetenv("DISPLAY");
    session.wayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    const auto* const x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 != nullptr && x11->display() != nullptr) {
        session.qtDisplay = DisplayString(x11->display());
    }
    return session;
}

}  // namespace platform
