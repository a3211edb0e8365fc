// Lost shift recovery: which shift a group of received codes makes sense in.
#include "shift_recovery.h"

namespace modem {

namespace {

// ITA2 codes (first data bit in bit 0) by their letter, and what they are in figures.
constexpr std::uint8_t kFigs = 27, kLtrs = 31;
constexpr std::uint8_t kLetterA = 3, kLetterM = 28;   // '-', '.'
constexpr std::uint8_t kLetterX = 29, kLetterV = 30;  // '/', '='
constexpr std::uint8_t kLetterR = 10, kLetterY = 21;  // '4', '6'
// Q W E R T Y U I O P: the digits 1 2 3 4 5 6 7 8 9 0.
constexpr std::uint32_t kDigits = (1u << 23) | (1u << 19) | (1u << 1) | (1u << 10) | (1u << 16) |
                                  (1u << 21) | (1u << 7) | (1u << 6) | (1u << 24) | (1u << 22);
constexpr int kMinGroup = 3;            // characters a group needs before its shift is questioned
constexpr int kReportGroup = 5;         // characters of a weather report's group
constexpr std::size_t kMaxHeld = 14;    // codes held at most: a longer group is decided on these
constexpr float kDoubt = 0.35f;         // margin below which a frame's alternative is as likely
constexpr float kShareWeight = 0.25f;   // weight of the latest group in the figure share
constexpr float kFigureContext = 0.5f;  // share from which figures are the traffic's usual shift

// Codes that need no shift: blank, line feed, space, carriage return.
bool IsShiftless(std::uint8_t code) { return code == 0 || code == 2 || code == 4 || code == 8; }
bool IsShift(std::uint8_t code) { return code == kFigs || code == kLtrs; }
bool IsDigit(std::uint8_t code) { return code < 32 && (kDigits >> code) & 1u; }
// What weather reports are written in: digits, '/' and '='.
bool IsReportFigure(std::uint8_t code) {
    return IsDigit(code) || code == kLetterX || code == kLetterV;
}

// Letters whose figures are signs that seldom stand without a digit in
// figures text: not '-', '.', '/', '=', and not the blank codes.
bool IsLetterSign(std::uint8_t code) {
    return !IsReportFigure(code) && code != kLetterA && code != kLetterM && !IsShiftless(code) &&
           !IsShift(code);
}

}  // namespace

void ShiftRecovery::Push(const SoftCode& received, std::vector<std::uint8_t>& out) {
    const SoftCode c{static_cast<std::uint8_t>(received.code & 0x1F), received.alternative,
                     received.margin};
    // A group: a shift code, the shiftless codes right behind it, then
    // characters up to the next space, line end or shift.
    if (IsShift(c.code) || (IsShiftless(c.code) && Held().chars > 0)) Flush(out);
    if (IsShiftless(c.code) && m_group.empty()) {
        Emit(c.code, out);
        return;
    }
    // A group that goes straight out is kept only as far as the share needs it.
    if (!m_passing || m_group.size() < kMaxHeld) m_group.push_back(c);
    if (m_passing) {
        Emit(Mended(c), out);
    } else if (m_group.size() >= kMaxHeld ||
               (!IsShift(c.code) && !IsShiftless(c.code) && !Open())) {
        Decide(out);
        m_passing = true;
    }
}

void ShiftRecovery::Flush(std::vector<std::uint8_t>& out) {
    if (!m_passing && !m_group.empty()) Decide(out);
    const Group g = Held();
    // The share counts groups in figures and groups that read as a
    // report's figures in letters, so a lost FIGS that was not mended does
    // not make figures look unusual.
    const bool figureLike = m_readFigures ? g.digits > 0 : g.others == 0 && g.chars == kReportGroup;
    if (g.chars >= kMinGroup)
        m_figureShare += kShareWeight * ((figureLike ? 1.0f : 0.0f) - m_figureShare);
    m_group.clear();
    m_passing = false;
}

// The held group as it came: its shift (a shift code first, or the one in
// force) and its characters.
ShiftRecovery::Group ShiftRecovery::Held() const {
    Group g;
    g.lead = !m_group.empty() && IsShift(m_group.front().code);
    g.figures = g.lead ? m_group.front().code == kFigs : m_figures;
    for (const SoftCode& c : m_group) {
        if (IsShift(c.code) || IsShiftless(c.code)) continue;
        ++g.chars;
        g.digits += IsDigit(c.code) ? 1 : 0;
        g.others += IsReportFigure(c.code) ? 0 : 1;
        g.signs += IsLetterSign(c.code) ? 1 : 0;
        g.testLine += c.code == kLetterR || c.code == kLetterY ? 1 : 0;
    }
    return g;
}

// Read in letters, a group of figures only could be figures whose FIGS was
// lost; read in figures, one without any digit could be letters.
bool ShiftRecovery::Open() const {
    const Group g = Held();
    return g.figures ? g.digits == 0 : g.others == 0;
}

bool ShiftRecovery::Doubtful(std::uint8_t target) const {
    const SoftCode& first = m_group.front();
    return first.alternative == target && first.margin < kDoubt;
}

// Letters that read as figures only, no longer than a report's group, are
// taken for figures where figures are the usual shift (weather traffic), or
// where the code before them may have been a FIGS; the test line RYRY...
// stays letters. Figures without a digit and with signs that weather
// reports do not use are taken for letters.
bool ShiftRecovery::Switch(const Group& g) const {
    if (g.chars < kMinGroup) return false;
    if (g.figures) return g.digits == 0 && g.signs >= 2;
    return g.others == 0 && g.chars <= kReportGroup + 1 && g.testLine < g.chars &&
           (m_figureShare >= kFigureContext || Doubtful(kFigs));
}

void ShiftRecovery::Decide(std::vector<std::uint8_t>& out) {
    const Group g = Held();
    const bool flip = Switch(g);
    m_readFigures = g.figures != flip;
    if (flip) {
        const std::uint8_t target = g.figures ? kLtrs : kFigs;
        SoftCode& first = m_group.front();
        if (g.lead || Doubtful(target))
            first.code = target;  // the shift code, or a character that was probably it
        else
            Emit(target, out);
    }
    for (const SoftCode& c : m_group) Emit(Mended(c), out);
}

// In weather figures a sign that reports do not use is a wrong bit: the
// character with its least sure bit turned over is taken where that is a
// report's figure.
std::uint8_t ShiftRecovery::Mended(const SoftCode& c) const {
    const bool reports = m_readFigures && m_figureShare >= kFigureContext;
    return reports && IsLetterSign(c.code) && IsReportFigure(c.alternative) ? c.alternative
                                                                            : c.code;
}

void ShiftRecovery::Emit(std::uint8_t code, std::vector<std::uint8_t>& out) {
    out.push_back(code);
    if (IsShift(code)) m_figures = code == kFigs;
}

}  // namespace modem
