// DisplayRoutine: the display loop and the keyword step that runs inside it.
#include "display_routine.h"

#include <cstdio>
#include <limits>

namespace dovrel {
namespace {

constexpr TextStyle kTimestampStyle{kColourRed, false};
constexpr TextStyle kSeparatorStyle{kColourGreen, false};
constexpr TextStyle kBannerStyle{kColourMagenta, false};

bool IsBlank(char c) { return c == '\r' || c == ' '; }

}  // namespace

DisplayRoutine::DisplayRoutine(ReceiveState& state, const TerminalSettings& settings,
                               KeywordTable& keywords, PaneWriter& writer, const Clock& clock)
    : m_state(state),
      m_settings(settings),
      m_keywords(keywords),
      m_writer(writer),
      m_clock(clock) {}

void DisplayRoutine::ShowText(std::string& text, bool reset) {
    if (reset) {
        Reset();
        return;
    }
    text.erase(0, ShowPending(text));
    m_writer.Flush();
}

std::size_t DisplayRoutine::ShowPending(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i++];
        if (c == '\n') continue;
        if (!Step(c)) break;
    }
    return i;
}

void DisplayRoutine::Reset() {
    ReceiveState& s = m_state;
    s.PrevChar = s.CurChar = '\r';
    s.LineStart = s.AfterEnd = s.EndBeforeCr = s.WordStart = s.WordEnd = s.NewLinePending = true;
    s.InMessage = s.Matched = s.Holding = false;
    s.HeldText.clear();
    for (KeywordEntry& e : m_keywords) e.MatchPos = 1;
}

// One character of the display loop; false when the loop must end here.
bool DisplayRoutine::Step(char c) {
    ReceiveState& s = m_state;
    s.PrevChar = s.CurChar;
    s.CurChar = c;
    const std::size_t last = m_settings.LookWords ? kKeywordEntries - 1 : kLastSeparatorEntry;
    s.Holding = false;
    s.WordEnd = IsBlank(c) && s.Matched;
    if (IsBlank(s.PrevChar)) s.WordStart = true;
    s.EndBeforeCr = c == '\r' && s.AfterEnd;
    if (s.PrevChar == '\r') s.LineStart = true;
    if (c != '\r') s.HeldText.push_back(c);
    if (s.PrevChar == '\r') s.NewLinePending = true;

    for (std::size_t k = 0; k <= last; ++k) {
        if (m_keywords[k].Empty()) continue;
        if (KeywordStep(m_keywords[k]) == Outcome::Hit) return false;
    }
    // A keyword may be under way: keep the held characters and the start
    // conditions for the next character.
    if (s.Holding) return false;

    s.LineStart = s.WordStart = false;
    if (s.AfterEnd && !s.EndBeforeCr) {
        NewLine();
        s.NewLinePending = false;
    }
    if (s.NewLinePending) {
        NewLine();
        s.NewLinePending = false;
    }
    if (!s.HeldText.empty()) WriteReceived(s.HeldText);
    s.AfterEnd = s.Matched = false;
    s.HeldText.clear();
    return true;
}

DisplayRoutine::Outcome DisplayRoutine::KeywordStep(KeywordEntry& e) {
    ReceiveState& s = m_state;
    if (e.IsSeparator) {
        // "ZCZC" opens a message only at the start of a line unless it may
        // stand anywhere; "NNNN" closes one anywhere.
        if (e.IsOpener && m_settings.SMesgBlocs != 2 && !s.LineStart) return Outcome::Next;
    } else if (e.Mode != MatchKind::Pattern && !s.WordStart) {
        return Outcome::Next;
    }
    const int len = static_cast<int>(e.Text.size());
    if (e.Mode == MatchKind::FullWord && e.MatchPos == len + 1 && s.WordEnd) {
        WriteHit(e, true);
        return Outcome::Hit;
    }
    const bool equal = e.MatchPos >= 1 && e.MatchPos <= len && s.CurChar == e.Text[e.MatchPos - 1];
    if (!equal) {
        e.MatchPos = 1;
        return Outcome::Next;
    }
    if (e.MatchPos < len) {
        ++e.MatchPos;
        s.Holding = true;
        return Outcome::Next;
    }
    if (!e.IsSeparator) {
        s.Matched = true;
        if (e.Mode == MatchKind::FullWord) {
            // The hit waits for the character after the word.
            ++e.MatchPos;
            s.Holding = true;
            return Outcome::Next;
        }
    }
    WriteHit(e, false);
    return Outcome::Hit;
}

void DisplayRoutine::WriteHit(const KeywordEntry& e, bool fullWord) {
    ReceiveState& s = m_state;
    const bool trailingSpace = fullWord && s.CurChar == ' ';
    const std::size_t keyLen = e.Text.size() + (trailingSpace ? 1 : 0);
    const std::size_t prefixLen = s.HeldText.size() > keyLen ? s.HeldText.size() - keyLen : 0;
    if (prefixLen > 0) {
        // Held characters received before the keyword go on the line they
        // belong to, not at the end of the previous one.
        StartLineIfDue();
        WriteReceived(std::string_view(s.HeldText).substr(0, prefixLen));
    }
    if (e.IsSeparator && e.IsOpener) {
        WriteNewMsg();
        NewLine();
        WriteKeyword(e.Text, e.Colour);
        s.InMessage = true;
        s.AfterEnd = false;
    } else if (e.IsSeparator) {
        NewLine();
        WriteKeyword(e.Text, e.Colour);
        WriteEndMsg(!s.InMessage);
        s.AfterEnd = true;
        s.InMessage = false;
    } else {
        if (prefixLen == 0) StartLineIfDue();
        WriteKeyword(e.Text, e.Colour);
        s.AfterEnd = false;
        if (trailingSpace) WriteReceived(" ");
    }
    s.Matched = false;
    // The held characters are written now, so no other keyword can still be
    // part-way through them.
    for (KeywordEntry& other : m_keywords) other.MatchPos = 1;
    s.NewLinePending = false;
    s.HeldText.clear();
}

void DisplayRoutine::StartLineIfDue() {
    ReceiveState& s = m_state;
    if ((s.AfterEnd && !s.EndBeforeCr) || s.NewLinePending) {
        NewLine();
        s.NewLinePending = false;
        s.AfterEnd = false;
    }
}

void DisplayRoutine::WriteReceived(std::string_view text) {
    m_writer.Emit(text, kReceivedStyle);
    m_writer.Log(text);
    if (m_writer.LineLength() >= kPaneLineLimit) BreakLongLine();
}

// The pane's size limit applies here as at a line end; the log keeps the
// line as it came.
void DisplayRoutine::BreakLongLine() {
    if (m_writer.PaneLength() >= kPaneLimit) {
        m_state.Busy = true;
        m_writer.ClearPane();
        m_state.Busy = false;
        return;
    }
    m_writer.Emit("\n", kReceivedStyle);
}

void DisplayRoutine::WriteKeyword(const std::string& text, std::uint32_t colour) {
    m_writer.Emit(text, TextStyle{colour, true});
    m_writer.Log(text);
}

void DisplayRoutine::NewLine() {
    if (m_writer.PaneLength() >= kPaneLimit) {
        m_state.Busy = true;
        m_writer.ClearPane();
        m_state.Busy = false;
    }
    m_writer.Log("\r\n");
    m_writer.EmitInForce("\n");
    const std::string stamp = FormatTime(m_clock.Now()) + " ";
    if (m_settings.STimeStamp) m_writer.Emit(stamp, kTimestampStyle);
    if (m_settings.FTimeStamp) m_writer.Log(stamp);
}

std::string DisplayRoutine::SeparatorLine(const char* label) const {
    const LocalTime now = m_clock.Now();
    char number[16];
    std::snprintf(number, sizeof number, "%04d", static_cast<int>(m_state.MessageCount));
    return FormatTime(now) + " " + FormatDate(now) + " --------------------- " + label + " " +
           number;
}

void DisplayRoutine::CountMessage() {
    // The counter is 16 bits wide; after 32767 numbering starts again at 1.
    std::int16_t& n = m_state.MessageCount;
    n = (n == std::numeric_limits<std::int16_t>::max()) ? std::int16_t{1}
                                                        : static_cast<std::int16_t>(n + 1);
}

void DisplayRoutine::WriteNewMsg() {
    CountMessage();
    const std::string line = SeparatorLine("NEW MSG");
    if (m_settings.SMesgBlocs != 0) m_writer.Emit("\n" + line, kSeparatorStyle);
    if (m_settings.FMesgBlocs != 0) m_writer.Log("\r\n" + line + "\r\n");
}

void DisplayRoutine::WriteEndMsg(bool count) {
    if (count) CountMessage();
    const std::string line = SeparatorLine("END MSG");
    if (m_settings.SMesgBlocs != 0) m_writer.Emit("\n" + line, kSeparatorStyle);
    if (m_settings.FMesgBlocs != 0) m_writer.Log("\r\n" + line + "\r\n\r\n");
}

void DisplayRoutine::WriteHeld() {
    ReceiveState& s = m_state;
    if (s.HeldText.empty()) return;
    StartLineIfDue();
    WriteReceived(s.HeldText);
    s.HeldText.clear();
    s.LineStart = s.WordStart = s.Matched = s.Holding = s.AfterEnd = false;
    for (KeywordEntry& e : m_keywords) e.MatchPos = 1;
    m_writer.Flush();
}

void DisplayRoutine::StartStopBanner(bool start) {
    // Characters held for a keyword that never completed are still shown.
    if (!start) WriteHeld();
    const LocalTime now = m_clock.Now();
    const std::string line = FormatTime(now) + " " + FormatDate(now) +
                             " =====================" + (start ? " START" : " STOP ");
    m_writer.Log("\r\n" + line + "\r\n");
    m_writer.Emit("\n" + line + "\n", kBannerStyle);
    if (!start) Reset();
    m_writer.SetStyle(kReceivedStyle);
    m_writer.Flush();
}

void DisplayRoutine::WriteNotice(const std::string& text) {
    NewLine();
    m_writer.EmitInForce(text);
    m_writer.Log("**** " + text);
    NewLine();
    m_writer.Flush();
}

}  // namespace dovrel
