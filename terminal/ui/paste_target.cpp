// X11 window search and the paste keystroke through libxdo. libxdo's name
// search is a case-insensitive pattern, so every hit is checked again here
// for the case-sensitive rule.
#include "paste_target.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
extern "C" {
#include <xdo.h>
}

namespace dovrel {
namespace {

std::string CaptionOf(const xdo_t* xdo, Window window) {
    unsigned char* name = nullptr;
    int length = 0;
    int type = 0;
    if (xdo_get_window_name(xdo, window, &name, &length, &type) != 0 || !name) return {};
    std::string caption(reinterpret_cast<char*>(name), static_cast<std::size_t>(length > 0 ? length : 0));
    XFree(name);
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

}  // namespace

bool CaptionMatches(const std::string& caption, const std::string& name) {
    return !name.empty() && caption.find(name) != std::string::npos;
}

PushResult PushPasteTo(const std::string& name, bool skipOwnWindows) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return PushResult::NoDisplay;
    xdo_t* xdo = xdo_new(display);
    if (!xdo) return PushResult::NoDisplay;
    PushResult result = PushResult::NotFound;
    for (Window window : Candidates(xdo)) {
        int pid = 0;
        if (skipOwnWindows && (pid = xdo_get_pid_window(xdo, window)) == ::getpid()) continue;
        if (!CaptionMatches(CaptionOf(xdo, window), name)) continue;
        xdo_send_keysequence_window(xdo, window, "ctrl+v", 12000);
        result = PushResult::Pasted;
        break;
    }
    xdo_free(xdo);
    return result;
}

std::string NotFoundText(const std::string& name) { return "Application \"" + name + "\" not found"; }

}  // namespace dovrel
