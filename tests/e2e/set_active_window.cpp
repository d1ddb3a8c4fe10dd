// Names a window as the one in front in the root window's _NET_ACTIVE_WINDOW, as a window manager does
// (and as any client may). Usage: set_active_window <window id>; the root's own id names the root.
#include "support/XWindowArgument.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

int main(int argc, char** argv) {
    Display* display = nullptr;
    Window window = 0;
    if (const int status = OpenWindowArgument(argc, argv, display, window); status != 0) {
        return status;
    }
    const auto value = static_cast<unsigned long>(window);  // format 32 items are longs to Xlib
    XChangeProperty(display, DefaultRootWindow(display), XInternAtom(display, "_NET_ACTIVE_WINDOW", False),
                    XA_WINDOW, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
    XCloseDisplay(display);  // flushes the request
    return 0;
}
