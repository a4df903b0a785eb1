// SPDX-License-Identifier: GPL-3.0-or-later
// What a window manager and a screen reader of the pointer would do, for
// screens that have neither:
//   x_helper close WINDOW_ID   presses the window's close button (sends it
//                              WM_PROTOCOLS / WM_DELETE_WINDOW)
//   x_helper cursor            writes the pointer's current picture as
//                              "W H XHOT YHOT" and then one line per row of
//                              hex ARGB pixels
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int close_window(Display* d, const char* id) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = static_cast<Window>(std::strtoul(id, nullptr, 0));
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    return 0;
}

int dump_cursor(Display* d) {
    XFixesCursorImage* c = XFixesGetCursorImage(d);
    if (!c) return 1;
    std::printf("%d %d %d %d\n", c->width, c->height, c->xhot, c->yhot);
    for (int y = 0; y < c->height; ++y) {
        for (int x = 0; x < c->width; ++x)
            std::printf("%08lx%c", c->pixels[y * c->width + x] & 0xFFFFFFFFul, x + 1 < c->width ? ' ' : '\n');
    }
    XFree(c);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    bool cursor = argc == 2 && std::strcmp(argv[1], "cursor") == 0;
    if (!close && !cursor) {
        std::fprintf(stderr, "usage: %s close WINDOW_ID | cursor\n", argv[0]);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) return 1;
    int r = close ? close_window(d, argv[2]) : dump_cursor(d);
    XCloseDisplay(d);
    return r;
}
