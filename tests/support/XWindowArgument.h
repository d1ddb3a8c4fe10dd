#pragma once
// For the small X11 test tools: the display, and the window whose id (as xdotool prints it) is the
// tool's only argument.

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

// 0 with display and window set; otherwise the tool's exit status (2 usage, 1 no display), after
// saying why on standard error.
inline int OpenWindowArgument(int argc, char** argv, Display*& display, Window& window) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
        return 2;
    }
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "%s: no X display\n", argv[0]);
        return 1;
    }
    window = std::strtoul(argv[1], nullptr, 0);
    return 0;
}
