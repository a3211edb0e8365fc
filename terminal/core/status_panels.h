// The status-bar seam of the reception path: the panels it writes, by key.
#pragma once

#include <string>
#include <string_view>

namespace dovrel {

// The status-bar panels the reception path writes.
enum class PanelKey { Status, Time, Text, Code };

// The panel's key in the window: "Status", "Time", "Text", "Code".
std::string_view PanelName(PanelKey key);

// Sets the text of a panel; the window supplies the status bar, tests a recorder.
class StatusPanels {
  public:
    virtual ~StatusPanels() = default;
    virtual void SetPanelText(PanelKey key, const std::string& text) = 0;
};

}  // namespace dovrel
