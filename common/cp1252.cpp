// Windows-1252 to UTF-8 through the C library's iconv; the bytes iconv
// refuses (undefined in the code page) are taken as Latin-1.
#include "cp1252.h"

#include <iconv.h>

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

// One converter per thread, opened at first use and closed with the thread.
struct ThreadConverter {
    iconv_t handle = iconv_open("UTF-8", "WINDOWS-1252");
    ~ThreadConverter() {
        if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
    }
};

iconv_t Converter() {
    thread_local ThreadConverter converter;
    return converter.handle;
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

}  // namespace nimbo
