// Typed sending: one character of the send box converted for the line code
// and written to the line.
#pragma once

#include <cstdint>
#include <functional>

#include "line_output.h"
#include "telex_coding.h"

namespace dovrel {

// Converts typed characters for the line and sends them. Shares the
// transmit shift of `state` with the rest of the program. `beep` sounds the
// system beep; it may be empty.
class Sender {
  public:
    Sender(LineOutput& line, TelexState& state, std::function<void()> beep = {})
        : m_line(line), m_state(state), m_beep(std::move(beep)) {}

    // Converts the typed character `dat` for `dataBits` (5 Telex with the
    // figure `alphabet`, 7 ASCII with the top bit cleared, 8 one byte) and
    // sends it. Returns the character to keep in the send box, or 0 to
    // swallow the key; `dat` is set to the same value. A character the line
    // code cannot carry (any above U+00FF included) beeps and is swallowed. While the line is
    // closed the key is swallowed silently and the transmit shift is left as it was.
    int SendConvert(int& dat, std::uint8_t dataBits, std::uint8_t& alphabet);

    // A key typed in the send box: SendConvert, and true when the box is to
    // be emptied because a CR was sent, so each typed line starts afresh.
    bool SendBoxKey(int& key, std::uint8_t dataBits, std::uint8_t& alphabet);

  private:
    LineOutput& m_line;
    TelexState& m_state;
    std::function<void()> m_beep;
};

}  // namespace dovrel
