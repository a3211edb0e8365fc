// Windows-1252 to UTF-8 and back through the C library's iconv; the bytes
// iconv refuses (undefined in the code page) are taken as Latin-1.
#include "cp1252.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace nimbo {
namespace {

void AppendLatin1(std::string& out, unsigned char byte) {
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

// One converter each way per thread, opened at first use and closed with the thread.
struct ThreadConverter {
    iconv_t handle;
    ThreadConverter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
    ~ThreadConverter() {
        if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
    }
};

iconv_t Converter() {
    thread_local ThreadConverter converter("UTF-8", "WINDOWS-1252");
    return converter.handle;
}

iconv_t InverseConverter() {
    thread_local ThreadConverter converter("WINDOWS-1252", "UTF-8");
    return converter.handle;
}

// Length of the UTF-8 sequence at text[at] and its code point; 0 when the
// bytes there are not UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t* point) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC0   ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF8 ? 4
                                             : 0;
    if (length == 0 || at + length > text.size()) return 0;
    *point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        *point = (*point << 6) | (next & 0x3F);
    }
    return length;
}

// One character above U+007F in Windows-1252: through iconv, or as Latin-1
// for the C1 code points that stand for the five undefined bytes.
char Cp1252Byte(std::string_view sequence, char32_t point) {
    const iconv_t converter = InverseConverter();
    if (converter != reinterpret_cast<iconv_t>(-1)) {
        char* in = const_cast<char*>(sequence.data());
        std::size_t inLeft = sequence.size();
        char byte = 0;
        char* to = &byte;
        std::size_t toLeft = 1;
        if (iconv(converter, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
            toLeft == 0) {
            return byte;
        }
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    return point <= 0xFF ? static_cast<char>(point) : '?';
}

// UTF-8 of every byte from 0x80 up, converted once through iconv (a byte
// it refuses is taken as Latin-1): the hot path of every text output is
// then a table lookup.
struct HighBytes {
    std::array<std::array<char, 4>, 128> utf8{};  // sequence, zero-padded
    std::array<unsigned char, 128> length{};
    HighBytes() {
        const iconv_t converter = Converter();
        for (int i = 0; i < 128; ++i) {
            char byte = static_cast<char>(0x80 + i);
            std::string out;
            if (converter != reinterpret_cast<iconv_t>(-1)) {
                char* in = &byte;
                std::size_t inLeft = 1;
                char buffer[8];
                char* to = buffer;
                std::size_t toLeft = sizeof buffer;
                if (iconv(converter, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1)) {
                    out.assign(buffer, static_cast<std::size_t>(to - buffer));
                }
                iconv(converter, nullptr, nullptr, nullptr, nullptr);
            }
            if (out.empty() || out.size() > 4) {
                out.clear();
                AppendLatin1(out, static_cast<unsigned char>(byte));
            }
            std::copy(out.begin(), out.end(), utf8[i].begin());
            length[i] = static_cast<unsigned char>(out.size());
        }
    }
};

// Made when the program starts, so that a high byte's lookup needs no
// check that it is made.
const HighBytes kHighBytes;

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

std::uint64_t Word(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The bytes before the first one above 0x7F in a word, given the word's
// high bits.
int AsciiBefore(std::uint64_t high) {
    if constexpr (std::endian::native == std::endian::little) return std::countr_zero(high) / 8;
    return std::countl_zero(high) / 8;
}

// One byte above 0x7F: four bytes stored, whatever the length of its sequence.
char* WriteHighByte(char* out, char byte) {
    const HighBytes& table = kHighBytes;
    const int index = static_cast<unsigned char>(byte) - 0x80;
    std::memcpy(out, table.utf8[index].data(), 4);
    return out + table.length[index];
}

// Bytes of which some are above 0x7F: a word at a time, each stored whole
// and its ASCII bytes before the first high one kept; the last few one by one.
char* WriteMixed(char* out, const char* at, std::size_t size) {
    const char* const end = at + size;
    while (end - at >= 8) {
        const std::uint64_t word = Word(at);
        std::memcpy(out, &word, 8);
        const std::uint64_t high = word & kHighBits;
        if (high == 0) {
            at += 8;
            out += 8;
            continue;
        }
        const int ascii = AsciiBefore(high);
        at += ascii;
        out = WriteHighByte(out + ascii, *at++);
    }
    for (; at < end; ++at) {
        if (static_cast<unsigned char>(*at) < 0x80) {
            *out++ = *at;
        } else {
            out = WriteHighByte(out, *at);
        }
    }
    return out;
}

bool PairIsAscii(const char* at) { return ((Word(at) | Word(at + 8)) & kHighBits) == 0; }

}  // namespace

// Decoded lines are ASCII but for a degree sign here and there: sixteen
// bytes are stored before they are looked at, and are then in place.
char* WriteCp1252AsUtf8(char* out, std::string_view text) {
    const char* at = text.data();
    const char* const end = at + text.size();
    for (; end - at >= 16; at += 16, out += 16) {
        std::memcpy(out, at, 16);
        // The first high byte is near the end of a line (a degree sign):
        // the rest goes word by word.
        if (!PairIsAscii(at)) return WriteMixed(out, at, static_cast<std::size_t>(end - at));
    }
    const std::size_t tail = static_cast<std::size_t>(end - at);
    if (tail > 0 && text.size() >= 16 && PairIsAscii(end - 16)) {
        // The last sixteen bytes are ASCII, so those before the tail lie just
        // before `out`, one byte each: the last sixteen are stored over them.
        std::memcpy(out - (16 - tail), end - 16, 16);
        return out + tail;
    }
    return WriteMixed(out, at, tail);
}

void AppendCp1252AsUtf8(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out.resize(start + Utf8Room(text.size()));
    const char* const written = WriteCp1252AsUtf8(out.data() + start, text);
    out.resize(static_cast<std::size_t>(written - out.data()));
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    AppendCp1252AsUtf8(out, text);
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(text.begin(), text.end(), ascii)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            out += text[at++];
            continue;
        }
        char32_t point = 0;
        const std::size_t length = DecodeUtf8(text, at, &point);
        if (length == 0) {
            out += '?';
            ++at;
            continue;
        }
        out += Cp1252Byte(text.substr(at, length), point);
        at += length;
    }
    return out;
}

}  // namespace nimbo
