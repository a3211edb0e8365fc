// Function-key macros: byte sequences stored in the settings under the key's
// name ("F5", "F5S", "F5C", "F5SC") in the notation "/41/42/0D", with an
// optional label under the same name followed by "_".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "line_output.h"
#include "settings_store.h"

namespace dovrel {

// "F" + key (1..12) + "SC" with Shift and Ctrl, "S" with Shift, "C" with
// Ctrl; Alt plays no part. Empty for a key outside 1..12.
std::string MacroName(int functionKey, bool shift, bool ctrl);

// One item read as a hexadecimal number: the leading hexadecimal digits
// (blanks ignored), reading stopping at the first other character, no
// digits giving 0. Nothing when the value is not a byte (above 255,
// including values that a 16- or 32-bit reading would take as negative).
std::optional<std::uint8_t> ReadMacroItem(std::string_view item);

// The bytes of a macro text: nothing unless it is longer than one character
// and begins with "/"; then one byte per "/"-separated item, empty items
// and items that are not byte values skipped.
std::vector<std::uint8_t> ParseMacro(std::string_view text);

struct MacroOutcome {
    bool ran = false;           // a macro was found (and its label shown)
    std::string timePanel;      // text for the "Time" panel: label + " "
    std::size_t bytesSent = 0;  // bytes written before the end or a close
};

// Runs the macro of a function key: reads it (and its label) from `store`
// at every press, so edits take effect at once, and writes its bytes to
// `line` one at a time, unconverted, stopping when the line is closed. The
// label (the name when the label is empty) is shown even when the line is
// closed. A missing or malformed macro does nothing.
MacroOutcome RunMacroKey(int functionKey, bool shift, bool ctrl, const SettingsContext& store,
                         LineOutput& line);

// The default F12 macro stored at shutdown when "F12" is empty.
inline constexpr const char* kDefaultF12 = "/4E/4E/4E/4E/0D/0A";
inline constexpr const char* kDefaultF12Label = "NNNN";
// Stores the default F12 macro and its label when "F12" reads as empty.
void StoreDefaultF12(const SettingsContext& store);

}  // namespace dovrel
