// Formatters shared by the group decoders of several sections: temperature
// (snTTT) and pressure (PPPP) lines, and the missing-line rule.
#pragma once

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "decoding_context.h"

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

// One formatted line and what it stands for.
struct FormattedValue {
    LineText text;           // whole line, label included, ending in a line feed
    float value = kNoValue;  // kNoValue when there is none
    bool missing = false;    // every field of the line was invalid
};

// Temperature line from a group whose characters 1 to 4 are snTTT... (sn at
// 1, TT at 2-3, T at 4): label + sign + TT + "." + T + unit.
FormattedValue FormatTemperature(std::string_view label, std::string_view group);

// Pressure line from a group whose characters 1 to 4 are PPPP: label +
// pressure in hPa, the thousand restored for values below 500.
FormattedValue FormatPressure(std::string_view label, std::string_view group);

// Emits a group line at the group level unless it is missing and quiet mode
// is on.
void EmitGroupLine(DecodingContext& context, std::string_view text, bool missing);
// The same for a line given in parts, with no temporary string per part.
void EmitGroupLine(DecodingContext& context, std::initializer_list<std::string_view> parts,
                   bool missing);

}  // namespace nimbo
