// LineText: the text of one decoded line, built in place.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

namespace nimbo {

// The text of one line, held in place: a group line is short, and building
// it costs no allocation. What does not fit is cut (no formatter comes near).
class LineText {
  public:
    LineText& append(std::string_view part) {
        const std::size_t n = std::min(part.size(), sizeof m_text - m_size);
        if (n > 0) std::memcpy(m_text + m_size, part.data(), n);
        m_size += n;
        return *this;
    }
    void push_back(char c) { append(std::string_view(&c, 1)); }
    operator std::string_view() const { return {m_text, m_size}; }

  private:
    char m_text[120];
    std::size_t m_size = 0;
};

}  // namespace nimbo
