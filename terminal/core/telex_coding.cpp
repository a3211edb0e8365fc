// ITA2 decoding and encoding, ASCII pass-through and the display filter.
#include "telex_coding.h"

#include <array>
#include <cstdio>

namespace dovrel {
namespace {

constexpr char kNo = '\0';   // the code yields no character
constexpr char kBel = '\a';  // bell, character 7
constexpr char kCr = '\r';
constexpr char kLf = '\n';

struct Ita2Row {
    std::uint8_t code;
    char letter;
    char figureIta2;  // figures, alphabet 0 "ITA2"
    char figureTlx;   // figures, alphabet 1 "TLX"
};

// ITA2 code table: the code as the serial port delivers it (first data bit is
// bit 0), the letters column and the two figure alphabets. FIGS (27) and
// LTRS (31) are shifts and yield no character.
constexpr std::array<Ita2Row, 32> kIta2 = {{
    {0, kNo, kNo, kNo},  {1, 'E', '3', '3'},   {2, kLf, kLf, kLf},  {3, 'A', '-', '-'},
    {4, ' ', ' ', ' '},  {5, 'S', '\'', kBel}, {6, 'I', '8', '8'},  {7, 'U', '7', '7'},
    {8, kCr, kCr, kCr},  {9, 'D', '#', '$'},   {10, 'R', '4', '4'}, {11, 'J', kBel, '\''},
    {12, 'N', ',', ','}, {13, 'F', '@', '!'},  {14, 'C', ':', ':'}, {15, 'K', '(', '('},
    {16, 'T', '5', '5'}, {17, 'Z', '+', '"'},  {18, 'L', ')', ')'}, {19, 'W', '2', '2'},
    {20, 'H', '$', '#'}, {21, 'Y', '6', '6'},  {22, 'P', '0', '0'}, {23, 'Q', '1', '1'},
    {24, 'O', '9', '9'}, {25, 'B', '?', '?'},  {26, 'G', '*', '&'}, {27, kNo, kNo, kNo},  // FIGS
    {28, 'M', '.', '.'}, {29, 'X', '/', '/'},  {30, 'V', '=', ';'}, {31, kNo, kNo, kNo},  // LTRS
}};

static_assert([] {
    for (std::size_t i = 0; i < kIta2.size(); ++i)
        if (kIta2[i].code != i) return false;
    return true;
}());

// Codes that are the same in both shifts; they are sent in figure shift.
constexpr bool IsShiftless(std::uint8_t code) {
    return code == 0 || code == 2 || code == 4 || code == 8;
}

char FigureOf(const Ita2Row& row, std::uint8_t alphabet) {
    return alphabet == 1 ? row.figureTlx : row.figureIta2;
}

std::string OneChar(char c) { return c == kNo ? std::string() : std::string(1, c); }

// The CR/LF clean-up: CR LF and CR CR LF give one line end (a single CR),
// CR CR LF LF and CR CR LF CR CR LF give two, a CR not followed by LF is
// dropped.
std::string CleanUpCrLf(const std::string& in, std::int16_t& crLfState) {
    const bool isCr = in == "\r";
    const bool isLf = in == "\n";
    switch (crLfState) {
        case 0:
            if (isCr) {
                crLfState = 1;
                return {};
            }
            return in;
        case 1:
            if (isCr) {
                crLfState = 2;
                return {};
            }
            crLfState = 0;
            return isLf ? std::string("\r") : in;
        case 2:
            if (isLf) {
                crLfState = 3;
                return {};
            }
            crLfState = 0;
            return in;
        default:
            // A CR here starts the next line end: CR CR LF CR CR LF gives two
            // line ends, not a third from passing that CR on as it came.
            if (isCr) {
                crLfState = 1;
                return "\r";
            }
            crLfState = 0;
            return isLf ? std::string("\r\r") : "\r" + in;
    }
}

}  // namespace

std::string TelexDecode(std::uint8_t& code, std::uint8_t& alphabet, std::uint8_t& mode,
                        TelexState& state) {
    if (alphabet > 1) alphabet = 0;
    code &= 0x1F;
    if (code == 4) {
        if (mode == kModeUnshiftOnSpace) state.RxShift = Shift::Letters;
        if (mode == kModeFiguresOnSpace) state.RxShift = Shift::Figures;
    }
    if (mode == kModeFiguresOnly) state.RxShift = Shift::Figures;
    if (mode == kModeLettersOnly) state.RxShift = Shift::Letters;
    if (code == kCodeFigs) {
        state.RxShift = Shift::Figures;
        return {};
    }
    if (code == kCodeLtrs) {
        state.RxShift = Shift::Letters;
        return {};
    }
    const Ita2Row& row = kIta2[code];
    return OneChar(state.RxShift == Shift::Figures ? FigureOf(row, alphabet) : row.letter);
}

std::string TelexEncode(int& ch, std::uint8_t& alphabet, TelexState& state) {
    if (alphabet > 1) alphabet = 0;
    int c = ch;
    const bool acceptable = (c >= 32 && c <= 127) || c == 13 || c == 10;
    if (acceptable && c >= 97) c -= 32;

    int code = -1;
    Shift shift = Shift::Figures;
    if (!acceptable) {
        // nothing can be sent
    } else if (c == '_') {
        code = 0;
    } else {
        // The encoder is the inverse of the decoding table: a letter needs
        // letters shift, a figure-column character (and the shiftless codes)
        // figures shift.
        for (const Ita2Row& row : kIta2) {
            if (row.letter != kNo && row.letter == c && !IsShiftless(row.code)) {
                code = row.code;
                shift = Shift::Letters;
                break;
            }
            const char figure = FigureOf(row, alphabet);
            if (figure != kNo && figure != kBel && figure == c) {
                code = row.code;
                shift = Shift::Figures;
                break;
            }
        }
    }
    if (code < 0) {
        ch = 0;
        return {};
    }
    std::string out;
    if (shift != state.TxShift) {
        out.push_back(static_cast<char>(shift == Shift::Letters ? kCodeLtrs : kCodeFigs));
        state.TxShift = shift;
    }
    out.push_back(static_cast<char>(code));
    return out;
}

std::string DisplayFilter(std::string& ch, bool rawCrLf, bool bellBeeps, TelexState& state,
                          const std::function<void()>& beep) {
    if (!ch.empty()) {
        const unsigned code = static_cast<unsigned char>(ch[0]);
        if (code == 7) {
            if (bellBeeps) {
                if (beep) beep();
                ch.clear();
            } else {
                ch = "<7>";
            }
        } else if (code == 14 || code == 15) {
            ch.clear();
        } else if ((code < 32 || code >= 128) && code != 13 && code != 10) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", code);
            ch = hex;
        }
    }
    if (rawCrLf) return ch;
    return CleanUpCrLf(ch, state.CrLfState);
}

std::string DecodeLineByte(std::uint8_t byte, TelexOptions& options, TelexState& state) {
    if (options.code != LineCode::Telex) return std::string(1, static_cast<char>(byte));
    return TelexDecode(byte, options.alphabet, options.mode, state);
}

}  // namespace dovrel
