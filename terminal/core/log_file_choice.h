// The file-choice seam for creating a log interactively (and for saving the
// received text): the window shows a file dialog, tests answer from a script.
#pragma once

#include <optional>
#include <string>

namespace dovrel {

// What the dialog is asked to show.
struct LogFileRequest {
    std::string title;                  // "Create Quarnel Log File"
    std::string filter;                 // "Log Files (*.LOG)|*.log|All Files (*.*)|*.*"
    std::string initialFolder;          // absolute folder the dialog starts in
    std::string proposedName;           // file name with its ".log"
    std::string defaultSuffix = "log";  // added to a name typed without one
    bool confirmOverwrite = false;      // the dialog asks before choosing an existing file
};

class LogFileChoice {
  public:
    virtual ~LogFileChoice() = default;
    // The chosen file as a full path, or nothing when the user cancelled.
    virtual std::optional<std::string> Choose(const LogFileRequest& request) = 0;
};

}  // namespace dovrel
