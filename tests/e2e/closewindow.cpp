// Asks a window to close as a window manager does for its close box.
// Usage: closewindow ID
#include "tests/e2e/closewindow.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const bool sent = RequestWindowClose(display, window);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
