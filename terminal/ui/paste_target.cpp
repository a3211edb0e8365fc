// X11 window search and the paste keystroke through libxdo. libxdo's name
// search is a case-insensitive pattern, so every hit is checked again here
// for the case-sensitive rule.
#include "paste_target.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>
extern "C" {
#include <xdo.h>
}

namespace dovrel {
namespace {

// The window's caption: _NET_WM_NAME (UTF-8) when set, else WM_NAME.
std::string CaptionOf(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", True);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", True);
    if (netName != None && utf8 != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string caption;
        if (XGetWindowProperty(display, window, netName, 0, 4096, False, utf8, &type, &format,
                               &count, &after, &data) == Success &&
            data && format == 8)
            caption.assign(reinterpret_cast<char*>(data), count);
        if (data) XFree(data);
        if (!caption.empty()) return caption;
    }
    char* name = nullptr;
    std::string caption;
    if (XFetchName(display, window, &name) && name) caption = name;
    if (name) XFree(name);
    return caption;
}

// The visible windows whose names contain `name` in any case, in the
// order of the window tree.
std::vector<Window> Candidates(const xdo_t* xdo) {
    xdo_search_t search;
    std::memset(&search, 0, sizeof search);
    search.winname = ".";
    search.searchmask = SEARCH_NAME | SEARCH_ONLYVISIBLE;
    search.only_visible = 1;
    search.require = xdo_search_t::SEARCH_ALL;
    search.max_depth = -1;
    Window* found = nullptr;
    unsigned int count = 0;
    std::vector<Window> out;
    if (xdo_search_windows(xdo, &search, &found, &count) == 0 && found) {
        out.assign(found, found + count);
        std::free(found);
    }
    return out;
}

// The process that owns a window (_NET_WM_PID), 0 when not known. libxdo's
// own lookup crashes when no client ever defined the property.
long PidOfWindow(Display* display, Window window) {
    const Atom atom = XInternAtom(display, "_NET_WM_PID", True);
    if (atom == None) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data) XFree(data);
    return pid;
}

// X errors (a window that vanished, a property no client has defined) must
// not end the program: Xlib's default handler exits.
extern "C" int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

bool CaptionMatches(const std::string& caption, const std::string& name) {
    return !name.empty() && caption.find(name) != std::string::npos;
}

// One connection per display for the life of the process: libxdo keeps
// keyboard tables that its xdo_free() does not release.
xdo_t* ConnectionTo(const std::string& display) {
    static std::string s_display;
    static xdo_t* s_xdo = nullptr;
    if (s_xdo && s_display == display) return s_xdo;
    if (s_xdo) xdo_free(s_xdo);
    s_xdo = xdo_new(display.c_str());
    s_display = s_xdo ? display : std::string();
    return s_xdo;
}

PushResult PushPasteTo(const std::string& name, bool skipOwnWindows) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return PushResult::NoDisplay;
    xdo_t* xdo = ConnectionTo(display);
    if (!xdo) return PushResult::NoDisplay;
    auto* const previous = XSetErrorHandler(IgnoreXError);
    PushResult result = PushResult::NotFound;
    for (Window window : Candidates(xdo)) {
        if (skipOwnWindows && PidOfWindow(xdo->xdpy, window) == ::getpid()) continue;
        if (!CaptionMatches(CaptionOf(xdo->xdpy, window), name)) continue;
        xdo_send_keysequence_window(xdo, window, "ctrl+v", 12000);
        result = PushResult::Pasted;
        break;
    }
    XSync(xdo->xdpy, False);
    XSetErrorHandler(previous);
    return result;
}

std::string NotFoundText(const std::string& name) {
    return "Application \"" + name + "\" not found";
}

}  // namespace dovrel
