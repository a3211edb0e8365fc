// Small helpers shared by the group decoders: field validity, figures, and
// number formatting.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace nimbo {

// What a group decoder found: the group decoded (kAccepted); decoded, but with
// a value the code tables do not allow, so the parser names the group in an
// error line as well (kFlagged); or not a group of this kind at all
// (kMalformed: the parser's error rule applies).
enum class Outcome { kAccepted, kFlagged, kMalformed };

// True when the character is "0" to "9".
inline bool IsFigure(char c) { return c >= '0' && c <= '9'; }

// True when every character is a figure and there is at least one.
inline bool IsAllFigures(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!IsFigure(c)) return false;
    }
    return true;
}

// A field is valid when it is non-empty and all figures (so "/" missing
// markers and letters make it invalid).
inline bool IsValidField(std::string_view field) { return IsAllFigures(field); }

// The characters [first, first+count) of a group; empty when out of range.
// Inline, as every figure of every group is read through it.
inline std::string_view Field(std::string_view group, std::size_t first, std::size_t count) {
    if (first >= group.size()) return {};
    return group.substr(first, count);
}

// Integer value of an all-figures field (caller checked validity); 0 when
// empty; the figures before the first other character otherwise.
inline int FieldValue(std::string_view field) {
    int value = 0;
    for (char c : field) {
        if (!IsFigure(c)) break;
        if (value > 100000000) break;  // far beyond any group; keeps the sum bounded
        value = value * 10 + (c - '0');
    }
    return value;
}

// A decoded value carried in a float, back to the tenths it was sent in (so
// 12.3 reads 12.3 as a double, not 12.300000190734863).
double RoundedTenths(float value);

// The integer right-aligned with blanks to `width` characters (never cut).
std::string NumberInWidth(long value, int width);

// A count of tenths with one decimal, right-aligned in `width` (what "%*.1f"
// gives for tenths / 10.0), without going through printf.
std::string TenthsInWidth(long tenths, int width);

// True when a decoded station position is usable for the map events: the
// whole-number parts of |latitude| below 91 and of |longitude| below 181.
inline bool PositionKnown(float latitude, float longitude) {
    return std::trunc(std::fabs(latitude)) < 91.0f && std::trunc(std::fabs(longitude)) < 181.0f;
}

// A group whose first character is not the decoder's own: accepted without
// output when that character is a figure, otherwise malformed.
Outcome UnexpectedGroup(std::string_view group);

}  // namespace nimbo
