#pragma once
// The X display the XTest route types into: the one the program's windows are on.

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

struct DisplaySession {
    QString platform;      // Qt's platform plugin: "xcb", "wayland", "offscreen"…
    QByteArray qtDisplay;  // on xcb, the display Qt's windows are on ("-display", else $DISPLAY)
    QByteArray display;    // $DISPLAY
    bool wayland = false;  // WAYLAND_DISPLAY set, or XDG_SESSION_TYPE wayland
};

// Where the windows are on X, else (a platform without windows of X's) $DISPLAY; none in a Wayland
// session, where XTest would reach the programs that happen to run on XWayland and no others, which
// puzzles more than no output at all.
std::optional<QByteArray> XTestDisplay(const DisplaySession& session);

// This process's, as Qt and the environment tell it.
DisplaySession ThisDisplaySession();

}  // namespace platform
