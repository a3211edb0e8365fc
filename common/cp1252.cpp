// Windows-1252 to UTF-8 and back through the C library's iconv; the bytes
// iconv refuses (undefined in the code page) are taken as Latin-1.
#include "cp1252.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

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

void AppendConverted(std::string& out, std::string_view text) {
    const iconv_t converter = Converter();
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        for (char c : text) AppendLatin1(out, static_cast<unsigned char>(c));
        return;
    }
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t done = iconv(converter, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            AppendLatin1(out,
                         static_cast<unsigned char>(*in));  // a byte the code page leaves undefined
            ++in;
            --inLeft;
        }
    }
}

}  // namespace

void AppendCp1252AsUtf8(std::string& out, std::string_view text) {
    std::size_t run = 0;
    while (run < text.size()) {
        std::size_t high = run;
        while (high < text.size() && static_cast<unsigned char>(text[high]) < 0x80) ++high;
        out.append(text.data() + run, high - run);
        std::size_t ascii = high;
        while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) >= 0x80) ++ascii;
        if (ascii > high) AppendConverted(out, text.substr(high, ascii - high));
        run = ascii;
    }
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
