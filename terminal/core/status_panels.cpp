// Keys of the status-bar panels as the window names them.
#include "status_panels.h"

namespace dovrel {

std::string_view PanelName(PanelKey key) {
    switch (key) {
        case PanelKey::Status:
            return "Status";
        case PanelKey::Time:
            return "Time";
        case PanelKey::Text:
            return "Text";
        case PanelKey::Code:
            return "Code";
    }
    return {};
}

}  // namespace dovrel
