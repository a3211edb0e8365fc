// Text to line characters.
#include "line_text_encoder.h"

#include <cstddef>

namespace dovrel {

namespace {

// Next code point of UTF-8 text at `i`; -1 for a byte that starts no valid sequence.
int NextCodePoint(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    if (extra < 0 || b >= 0xF5) return -1;
    int cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

std::string EncodeChar(int c, TelexOptions& options, TelexState& state) {
    if (c < 0) return {};
    if (options.code == LineCode::Telex) return TelexEncode(c, options.alphabet, state);
    if (c < (options.code == LineCode::Ascii7 ? 128 : 256))
        return std::string(1, static_cast<char>(c));
    return {};
}

}  // namespace

std::string EncodeLineText(const std::string& text, TelexOptions& options, TelexState& state,
                           std::vector<UnsendableChar>& unsendable) {
    std::string out;
    int line = 1, column = 0;
    int previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        const int cp = NextCodePoint(text, i);
        ++column;
        if (cp == '\n' && previous != '\r') out += EncodeChar('\r', options, state);
        const std::string codes = EncodeChar(cp, options, state);
        if (codes.empty()) unsendable.push_back({line, column, cp});
        out += codes;
        if (cp == '\n') {
            ++line;
            column = 0;
        }
        previous = cp;
    }
    return out;
}

}  // namespace dovrel
