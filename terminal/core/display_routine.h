// The per-character display routine of the terminal pane: line breaks with
// timestamps, "ZCZC"/"NNNN" message separation with numbered separator lines,
// keyword highlighting, START/STOP lines and the pane's size limit. Every
// piece written to the pane also goes to the log.
//
// Characters are held back while a keyword may be under way, so a keyword
// split across received blocks is still recognised; held characters are
// never lost: a failed match writes them as ordinary text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "clock.h"
#include "keyword_table.h"
#include "pane_writer.h"
#include "receive_state.h"
#include "terminal_settings.h"

namespace dovrel {

// The pane is emptied at the next line break once it holds this many characters.
inline constexpr std::size_t kPaneLimit = 32768;
// A received line longer than this is broken in the pane (not in the log),
// so a line that never ends costs no more per character than short ones
// and still falls under the pane's limit.
inline constexpr std::size_t kPaneLineLimit = 1024;

class DisplayRoutine {
  public:
    // All references must outlive the routine. `settings` is read at every
    // character (LookWords, SMesgBlocs, STimeStamp, FTimeStamp, FMesgBlocs).
    DisplayRoutine(ReceiveState& state, const TerminalSettings& settings, KeywordTable& keywords,
                   PaneWriter& writer, const Clock& clock);

    // With `reset`, only resets the display state. Otherwise displays
    // characters from the front of `text` until it is empty, a keyword is
    // part-way matched, or a keyword has just been written, and leaves the
    // rest in `text`. LFs are dropped; a CR starts a new line before the next
    // character. Writes reach the pane and log before it returns.
    void ShowText(std::string& text, bool reset);
    // The same step over a view: returns how many characters were consumed.
    // Writes stay queued in the writer until its Flush().
    std::size_t ShowPending(std::string_view text);
    // Resets the display state (keyword positions included); pending text is
    // not touched.
    void Reset();

    // Starts a new pane line: empties a full pane, writes CR LF to the log,
    // LF to the pane, then the timestamp where switched on.
    void NewLine();
    // "<time> <date> --------------------- NEW MSG 0001" (numbered on).
    void WriteNewMsg();
    // The END MSG line; `count` gives it a number of its own.
    void WriteEndMsg(bool count);
    // "<time> <date> ===================== START" or " STOP ". STOP first
    // writes held characters, then resets the display state.
    void StartStopBanner(bool start);
    // A notice on a line of its own, in the style in force; the log gets
    // "**** " + `text`.
    void WriteNotice(const std::string& text);
    // Writes the characters held while a keyword might be under way as
    // ordinary text and gives up the part-way matches: for a line that went
    // quiet or closed, and at shutdown.
    void WriteHeld();

  private:
    enum class Outcome { Next, Hit };
    bool Step(char c);
    Outcome KeywordStep(KeywordEntry& entry);
    void WriteHit(const KeywordEntry& entry, bool fullWord);
    void StartLineIfDue();
    void WriteReceived(std::string_view text);
    void BreakLongLine();
    void WriteKeyword(const std::string& text, std::uint32_t colour);
    std::string SeparatorLine(const char* label) const;
    void CountMessage();

    ReceiveState& m_state;
    const TerminalSettings& m_settings;
    KeywordTable& m_keywords;
    PaneWriter& m_writer;
    const Clock& m_clock;
};

}  // namespace dovrel
