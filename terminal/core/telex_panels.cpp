// Status panel texts for the Telex options.
#include "telex_panels.h"

#include <array>
#include <string_view>

namespace dovrel {
namespace {

constexpr std::array<std::string_view, 5> kAlphabetNames = {"ITA2", "TLX", "MIL", "CYR", "WTX"};

struct UosRow {
    std::string_view text;
    std::string_view toolTip;
};
constexpr std::array<UosRow, 5> kUosModes = {{
    {"NOR", "Letter/Figure processing"},
    {"UOS", "Unshift on space set"},
    {"FOS", "Figures on space set"},
    {"FIG", "Figures only"},
    {"LET", "Letters only"},
}};

}  // namespace

std::string AlphabetName(int alphabet) {
    if (alphabet < 0 || alphabet >= static_cast<int>(kAlphabetNames.size())) return {};
    return std::string(kAlphabetNames[alphabet]);
}

std::string UosText(int mode) {
    if (mode < 0 || mode >= static_cast<int>(kUosModes.size())) return {};
    return std::string(kUosModes[mode].text);
}

std::string UosToolTip(int mode) {
    if (mode < 0 || mode >= static_cast<int>(kUosModes.size())) return {};
    return std::string(kUosModes[mode].toolTip);
}

std::string CrLfText(bool rawCrLf) { return rawCrLf ? "CRLF" : "NOR"; }

std::string CrLfToolTip(bool rawCrLf) {
    return rawCrLf ? "CR/LF not processed" : "CR/LF processed";
}

std::uint8_t ToggleAlphabet(std::uint8_t alphabet) {
    if (alphabet == 0) return 1;
    if (alphabet == 1) return 0;
    return alphabet;
}

std::uint8_t NextUosMode(std::uint8_t mode) { return mode >= 4 ? 0 : mode + 1; }

}  // namespace dovrel
