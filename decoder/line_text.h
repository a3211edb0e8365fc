// LineText: the text of one decoded line, built in place.
#pragma once

#include <cstring>
#include <string_view>

namespace nimbo {

// A few bytes moved as one (through a local copy, so they may overlap).
template <std::size_t N>
void MoveBytes(char* to, const char* from) {
    char bytes[N];
    std::memcpy(bytes, from, N);
    std::memcpy(to, bytes, N);
}

// Copies `size` bytes. The parts of a line are short: two moves of a whole
// word, which may overlap, copy them with no call (and a literal with its
// moves alone); more than 32 bytes go through memcpy. GCC's bounds check
// follows every branch, so a few bytes from a small local array are better
// pushed one by one.
inline void CopyShort(char* to, const char* from, std::size_t size) {
    if (size > 32) {
        std::memcpy(to, from, size);
    } else if (size > 16) {
        MoveBytes<16>(to, from);
        MoveBytes<16>(to + size - 16, from + size - 16);
    } else if (size > 8) {
        MoveBytes<8>(to, from);
        MoveBytes<8>(to + size - 8, from + size - 8);
    } else if (size >= 4) {
        MoveBytes<4>(to, from);
        MoveBytes<4>(to + size - 4, from + size - 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// The text of one line, held in place: a group line is short, and building
// it costs no allocation. What does not fit is cut (no formatter comes near).
class LineText {
  public:
    static constexpr std::size_t kCapacity = 120;

    // Inlined everywhere, so that a literal part is copied with its moves alone.
    [[gnu::always_inline]] LineText& append(std::string_view part) {
        const std::size_t room = kCapacity - m_size;
        const std::size_t size = part.size() <= room ? part.size() : room;
        CopyShort(m_text + m_size, part.data(), size);
        m_size += size;
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
