// Pushing the clipboard into another application: the first visible
// top-level X window whose caption contains a name (case-sensitive) gets a
// Ctrl+V keystroke, and pastes the clipboard itself.
#pragma once

#include <string>

namespace dovrel {

enum class PushResult {
    Pasted,     // a matching window got Ctrl+V
    NotFound,   // no window caption contains the name
    NoDisplay,  // no X display to search (Wayland only, or none)
};

// Case-sensitive "contains" on captions, the rule a window must meet.
bool CaptionMatches(const std::string& caption, const std::string& name);

// Sends Ctrl+V to the first visible window whose caption contains `name`,
// skipping windows of this process when `skipOwnWindows`. Uses $DISPLAY.
PushResult PushPasteTo(const std::string& name, bool skipOwnWindows = true);

// The box text when no window matched: Application "<name>" not found.
std::string NotFoundText(const std::string& name);

}  // namespace dovrel
