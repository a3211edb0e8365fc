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
    static constexpr std::size_t kCapacity = 120;

    // The copy of a part that fits is a plain memcpy of its size, which the
    // compiler turns into a few moves for a literal.
    LineText& append(std::string_view part) {
        const std::size_t room = kCapacity - m_size;
        if (part.size() <= room) {
            if (!part.empty()) std::memcpy(m_text + m_size, part.data(), part.size());
            m_size += part.size();
        } else {
            std::memcpy(m_text + m_size, part.data(), room);
            m_size = kCapacity;
        }
        return *this;
    }
    void push_back(char c) {
        if (m_size < kCapacity) m_text[m_size++] = c;
    }
    operator std::string_view() const { return {m_text, m_size}; }

  private:
    char m_text[kCapacity];
    std::size_t m_size = 0;
};

}  // namespace nimbo
