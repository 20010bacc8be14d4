#pragma once

#include <X11/Xlib.h>

// Asks a window to close the way a window manager does when the user clicks
// its close box: the ICCCM's WM_DELETE_WINDOW message, flushed to the server.
// Returns whether the message was sent.
inline bool RequestWindowClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return sent != 0;
}
