// A plain X11 window for the paste test: shows the caption it is given and
// prints "ready" once mapped, then one line per key press it receives
// ("key <keysym name> <modifier state>").
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: x_paste_target CAPTION\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x_paste_target: no X display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 200, 100, 1,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, argv[1]);
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            std::printf("ready\n");
            std::fflush(stdout);
        } else if (event.type == KeyPress) {
            const KeySym sym = XLookupKeysym(&event.xkey, 0);
            const char* name = XKeysymToString(sym);
            std::printf("key %s %u\n", name ? name : "?", event.xkey.state);
            std::fflush(stdout);
        }
    }
}
