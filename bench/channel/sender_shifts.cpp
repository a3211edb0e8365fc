// Repeated shifts, as real senders send them.
#include "sender_shifts.h"

#include "telex_coding.h"

namespace modem {
namespace {

constexpr char kLf = 2, kSpace = 4, kCr = 8, kNull = 0;

}  // namespace

std::string RepeatShifts(std::string_view codes, ShiftPractice practice) {
    std::string out;
    out.reserve(codes.size() + codes.size() / 8);
    // The encoder takes the far teleprinter to start in figures (and the
    // modulator sends FIGS first): text that begins with figures has no
    // shift code before them.
    bool figures = true;
    bool lineStart = false, afterSpace = false;
    for (const char c : codes) {
        if (c == static_cast<char>(dovrel::kCodeFigs) ||
            c == static_cast<char>(dovrel::kCodeLtrs)) {
            figures = c == static_cast<char>(dovrel::kCodeFigs);
            lineStart = afterSpace = false;
        } else if (c == kLf || c == kSpace || c == kCr || c == kNull) {
            lineStart = lineStart || (c == kLf && practice != ShiftPractice::AsEncoded);
            afterSpace = afterSpace || (c == kSpace && practice == ShiftPractice::EachGroup);
        } else {
            // The first character of a line or of a group of figures.
            if (lineStart || (afterSpace && figures))
                out += static_cast<char>(figures ? dovrel::kCodeFigs : dovrel::kCodeLtrs);
            lineStart = afterSpace = false;
        }
        out += c;
    }
    return out;
}

}  // namespace modem
