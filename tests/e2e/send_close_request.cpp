// Asks an X11 top-level window to close, as a window manager's close box does (WM_DELETE_WINDOW).
// Usage: send_close_request <window id>. Under a bare Xvfb there is no window manager to do it.
#include "support/XWindowArgument.h"

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    Display* display = nullptr;
    Window window = 0;
    if (const int status = OpenWindowArgument(argc, argv, display, window); status != 0) {
        return status;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
