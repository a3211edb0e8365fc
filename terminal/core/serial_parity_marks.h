// Reading of the marks that the tty driver puts in front of a byte received
// with a parity or framing error (termios PARMRK): "\377\0" X stands for a
// bad byte X, "\377\377" for a real 0xFF.
#pragma once

#include <string>
#include <string_view>

namespace dovrel {

// Turns marked input into plain bytes, a bad byte becoming "~". Keeps its
// state between calls, so a mark split across two reads is read correctly.
// The line ignores breaks (IGNBRK), so "\377\0\0" is a bad NUL byte.
class ParityMarkDecoder {
  public:
    // Appends the plain bytes of `marked` to `out`.
    void Decode(std::string_view marked, std::string& out);
    void Reset() { m_state = State::Plain; }

  private:
    enum class State { Plain, AfterFF, AfterFF0 };
    State m_state = State::Plain;
};

}  // namespace dovrel
