// Where the reception path sends the text it logs. TerminalLog writes it to
// the open log file; tests record it.
#pragma once

#include <string_view>

namespace dovrel {

class LogWriter {
  public:
    virtual ~LogWriter() = default;
    // Appends `text` to the log; does nothing when no log is open.
    virtual void WriteLog(std::string_view text) = 0;
};

}  // namespace dovrel
