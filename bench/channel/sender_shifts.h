// How teleprinter senders repeat their shifts. The encoder sends FIGS or
// LTRS only where the shift changes, so a lost shift code garbles every
// character up to the next change; real senders repeat the shift (the
// weather broadcasts at every line start, amateur programs after every
// space before figures), which bounds what one lost shift costs.
#pragma once

#include <string>
#include <string_view>

namespace modem {

enum class ShiftPractice {
    AsEncoded,  // a shift only where it changes
    EachLine,   // the shift in force sent again at the start of every line
    EachGroup,  // ... and FIGS again after every space before figures
};

// `codes` (5-bit ITA2 line codes, one per byte) with the shifts `practice`
// repeats added; the text a reader sees is the same.
std::string RepeatShifts(std::string_view codes, ShiftPractice practice);

}  // namespace modem
