// Writes styled text to the pane and text to the log on behalf of the display
// routine. Consecutive pieces of one style are joined and handed over at
// Flush(), so a burst of received text costs one pane insertion and one log
// write instead of one per character.
#pragma once

#include <string>
#include <string_view>

#include "log_writer.h"
#include "pane.h"

namespace dovrel {

class PaneWriter {
  public:
    explicit PaneWriter(Pane& pane) : m_pane(pane) {}

    // The log that receives Log(); null for none.
    void SetLog(LogWriter* log) { m_log = log; }
    // Queues `text` for the end of the pane in `style`, which becomes the
    // style in force.
    void Emit(std::string_view text, TextStyle style);
    // Queues `text` in the style in force.
    void EmitInForce(std::string_view text) { Emit(text, m_style); }
    // Makes `style` the style in force without writing.
    void SetStyle(TextStyle style) { m_style = style; }
    TextStyle Style() const { return m_style; }
    // Queues `text` for the log.
    void Log(std::string_view text);

    // The pane's length including what is queued.
    std::size_t PaneLength();
    // Characters written to the pane since its last line break.
    std::size_t LineLength() const { return m_lineLength; }
    // Drops what is queued for the pane and clears it.
    void ClearPane();
    // Hands everything queued to the pane and the log. Safe to re-enter
    // (from a message box the log raises).
    void Flush();

  private:
    void FlushPane();

    Pane& m_pane;
    LogWriter* m_log = nullptr;
    TextStyle m_style = kReceivedStyle;
    std::string m_paneText;
    TextStyle m_paneStyle = kReceivedStyle;
    std::string m_logText;
    std::size_t m_lineLength = 0;
};

}  // namespace dovrel
