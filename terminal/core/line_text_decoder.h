// Received line characters to the text a terminal shows, for programs that
// print it: each byte through the Telex or ASCII decoding and the display
// filter with its CR/LF clean-up; CR ends a line, LF shows nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "telex_coding.h"

namespace dovrel {

class LineTextDecoder {
  public:
    // `beep` is called for a received bell when options.bellBeeps is on.
    explicit LineTextDecoder(const TelexOptions& options, std::function<void()> beep = {});

    // Appends the text of `bytes` to `out` ('\n' for each line end).
    void Feed(std::span<const std::uint8_t> bytes, std::string& out);
    // Appends what the clean-up still holds at the end of the stream: after
    // CR CR LF it waits to see whether a second LF follows.
    void Finish(std::string& out) const;

  private:
    TelexOptions m_options;
    TelexState m_state;
    std::function<void()> m_beep;
};

}  // namespace dovrel
