// Conversion between teleprinter line characters and text: 5-bit ITA2 codes
// with letters/figures shift and two figure alphabets, 7- and 8-bit ASCII,
// and the display filter every received character passes before the pane.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace dovrel {

// Shift and CR/LF clean-up state, one record for the whole program. Never
// reset after start; reception and sending share it.
// A teleprinter's shift: which column of the ITA2 table the codes mean.
enum class Shift : std::int16_t { Letters, Figures };

struct TelexState {
    // The shift the far teleprinter is believed to be in. Starts at figures,
    // so the first letter sent is preceded by LTRS.
    Shift TxShift = Shift::Figures;
    // The shift of the received stream.
    Shift RxShift = Shift::Letters;
    // State of the CR/LF clean-up, 0 to 3.
    std::int16_t CrLfState = 0;
};

// Line codes, named after the data-bits setting that selects them.
enum class LineCode { Telex = 5, Ascii7 = 7, Ascii8 = 8 };

// Letters/figures processing modes (the "TelexUOS" setting).
enum TelexMode : std::uint8_t {
    kModeNormal = 0,
    kModeUnshiftOnSpace = 1,
    kModeFiguresOnSpace = 2,
    kModeFiguresOnly = 3,
    kModeLettersOnly = 4,
};

inline constexpr std::uint8_t kCodeFigs = 27;
inline constexpr std::uint8_t kCodeLtrs = 31;

// Decodes one received 5-bit code under state.RxShift. Returns zero or one
// character. Side effects, in order: an alphabet above 1 is rewritten to 0 in
// the caller's setting; the code is masked to 5 bits and written back; the
// mode may change RxShift (on space for modes 1 and 2, on every code for 3/4);
// FIGS and LTRS change RxShift and return nothing.
std::string TelexDecode(std::uint8_t& code, std::uint8_t& alphabet, std::uint8_t& mode,
                        TelexState& state);

// Returns the line codes (values 0..31, one per char) that send `ch`: empty,
// the code alone, or a shift code followed by the code; updates state.TxShift.
// An alphabet above 1 is rewritten to 0. When nothing can be sent, returns the
// empty string and sets `ch` to 0.
std::string TelexEncode(int& ch, std::uint8_t& alphabet, TelexState& state);

// Turns one decoded character into its display form. `ch` is rewritten with
// the control-character form ("<7>", "<1B>", empty for SO/SI or a beeped bell);
// the result is that form after the CR/LF clean-up, which runs unless
// `rawCrLf` is set. `beep` is called for a bell when `bellBeeps` is on.
std::string DisplayFilter(std::string& ch, bool rawCrLf, bool bellBeeps, TelexState& state,
                          const std::function<void()>& beep = {});

// Options that govern decoding of received line characters.
struct TelexOptions {
    LineCode code = LineCode::Telex;
    std::uint8_t alphabet = 0;  // TelexCod
    std::uint8_t mode = 0;      // TelexUOS
    bool rawCrLf = false;       // TelexCrl
    bool bellBeeps = false;     // BellBeeps
};

// The character one received byte stands for, before the display filter:
// TelexDecode for the Telex code, the byte itself (unmasked) for ASCII.
std::string DecodeLineByte(std::uint8_t byte, TelexOptions& options, TelexState& state);

}  // namespace dovrel
