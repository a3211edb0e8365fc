// JSON strings and numbers. Escapes are rare in decoded text: a string is
// converted whole and only rewritten when it needs one.
#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "cp1252.h"

namespace nimbo {
namespace {

bool NeedsEscape(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == '"' || byte == '\\' || byte == 0xC2;
}

void AppendEscaped(std::string& out, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        unsigned control = byte < 0x20 || byte == 0x7F ? byte : 0x100;
        // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F in UTF-8.
        if (byte == 0xC2 && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            if (next >= 0x80 && next < 0xA0) control = next;
        }
        switch (control) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case 0x100:
                if (byte == '"' || byte == '\\') out += '\\';
                out += static_cast<char>(byte);
                break;
            default: {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", control);
                out += escape;
                i += control >= 0x80;  // the C1 character took two bytes
            }
        }
    }
}

template <class Number>
void AppendNumber(std::string& out, Number value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    const std::size_t from = out.size();
    AppendCp1252AsUtf8(out, text);
    bool plain = true;
    for (std::size_t i = from; i < out.size() && plain; ++i) {
        plain = !NeedsEscape(static_cast<unsigned char>(out[i]));
    }
    if (!plain) {
        const std::string utf8 = out.substr(from);
        out.resize(from);
        AppendEscaped(out, utf8);
    }
    out += '"';
}

void AppendJsonNumber(std::string& out, double value) { AppendNumber(out, value); }
void AppendJsonNumber(std::string& out, float value) { AppendNumber(out, value); }
void AppendJsonNumber(std::string& out, int value) {
    char buffer[16];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace nimbo
