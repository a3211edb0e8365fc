// A receiving line as the line control drives it: opened with the line
// settings, read without blocking, closed on any failure with its reason.
// The serial device and the sound input are both lines.
#pragma once

#include <string>

#include "line_output.h"
#include "terminal_settings.h"

namespace dovrel {

class LineDevice : public LineOutput {
  public:
    // Opens what the settings name and applies them: "" on success, else the
    // reason, and the line is closed.
    virtual std::string Open(const LineSettings& line) = 0;
    // Closes the line; safe when closed.
    virtual void Close() = 0;
    // What arrived since the last call, as line characters; never blocks.
    // A failure closes the line (LastError() says why); what was read
    // before it is still returned.
    virtual std::string ReadAvailable() = 0;
    // Why the line was last closed by a failure or could not open.
    virtual const std::string& LastError() const = 0;
    // What the line is open on, as the port dialog names it; empty while
    // closed.
    virtual std::string OpenName() const = 0;
    // The line is open but nothing more will come: a recording played to its
    // end. A serial line or sound card never ends.
    virtual bool Ended() const { return false; }
};

}  // namespace dovrel
