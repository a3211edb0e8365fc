// Text held back from the decoder while the decoder window is paused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nimboview {

class PauseBuffer {
  public:
    static constexpr std::size_t kCapacity = 1024;

    // Holds data. Returns, in order, the texts that must go to the decoder
    // now: the held text when data would overflow the buffer, and data
    // itself when it alone is longer than the buffer.
    std::vector<std::string> Hold(std::string_view data);
    // Empties the buffer and returns what it held.
    std::string Take();
    std::size_t Size() const { return m_text.size(); }

  private:
    std::string m_text;
};

}  // namespace nimboview
