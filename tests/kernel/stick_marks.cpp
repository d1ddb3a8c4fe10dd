// Where the two red stick markers of a window stand: the centre of the pure red pixels in the window's
// left half and in its right half, in window pixels, as "left X Y right X Y" ("-" for a half without
// red). Usage: stick_marks <window id>
#include "support/XWindowArgument.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Centre {
    long sumX = 0;
    long sumY = 0;
    long count = 0;

    void Print(const char* label) const {
        if (count == 0) {
            std::printf("%s - -", label);
        } else {
            std::printf("%s %ld %ld", label, sumX / count, sumY / count);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    Display* display = nullptr;
    Window window = 0;
    if (const int status = OpenWindowArgument(argc, argv, display, window); status != 0) {
        return status;
    }
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        std::fprintf(stderr, "stick_marks: no window %s\n", argv[1]);
        return 1;
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "stick_marks: cannot read the window\n");
        return 1;
    }
    Centre halves[2];
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            // 24-bit TrueColor, as Xvfb's screens are: red in the top byte.
            if ((XGetPixel(image, x, y) & 0xffffff) == 0xff0000) {
                Centre& half = halves[x < attributes.width / 2 ? 0 : 1];
                half.sumX += x;
                half.sumY += y;
                ++half.count;
            }
        }
    }
    halves[0].Print("left");
    halves[1].Print(" right");
    std::printf("\n");
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
