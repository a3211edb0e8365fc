// Texts of the status panels that show the Telex options ("Code", "Uos",
// "CrLf") and the steps a click on each panel takes.
#pragma once

#include <cstdint>
#include <string>

namespace dovrel {

// "ITA2", "TLX", "MIL", "CYR", "WTX" for 0..4; empty for any other value.
std::string AlphabetName(int alphabet);

// "Uos" panel: "NOR", "UOS", "FOS", "FIG", "LET" for modes 0..4, and the
// matching tool tips. Empty for any other value.
std::string UosText(int mode);
std::string UosToolTip(int mode);

// "CrLf" panel: "CRLF" / "CR/LF not processed" when raw CR/LF is on,
// "NOR" / "CR/LF processed" when the clean-up runs.
std::string CrLfText(bool rawCrLf);
std::string CrLfToolTip(bool rawCrLf);

// Click on "Code": 0 becomes 1, 1 becomes 0, other values stay.
std::uint8_t ToggleAlphabet(std::uint8_t alphabet);
// Click on "Uos": 0 -> 1 -> 2 -> 3 -> 4 -> 0 (any other value restarts at 0).
std::uint8_t NextUosMode(std::uint8_t mode);

}  // namespace dovrel
