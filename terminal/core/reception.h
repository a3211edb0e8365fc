// The receive path of the terminal window: each received block is converted
// (ReadConvert), handed to the weather decoder, the "Text" panel and the
// printer, and shown through the display routine; plus the no-signal watch,
// pause, the connection time and the status panels these write.
//
// Everything runs on the window's thread. The window wires the seams, calls
// OnDataReceived() with the bytes the serial line delivers, OnTimerTick()
// from the status timer, OnPaneKey() for keys in the pane, and runs what the
// scheduler is given from its event loop. Posted tasks refer to this object:
// the scheduler must drop them when the object goes (a Qt single shot with
// the owning window as context does).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "clock.h"
#include "display_routine.h"
#include "display_scheduler.h"
#include "keyword_table.h"
#include "log_writer.h"
#include "pane.h"
#include "pane_writer.h"
#include "print_sink.h"
#include "receive_state.h"
#include "status_panels.h"
#include "telex_coding.h"
#include "terminal_settings.h"

namespace dovrel {

// Keys in the pane that pause and resume the display.
enum class PaneKey {
    Pause,       // the Pause key (key down)
    CtrlA,       // Ctrl+A (key down)
    EscapeDown,  // Esc (key down)
    CtrlCUp,     // Ctrl+C (key up)
    Other,       // any other key
};

// The "Text" panel keeps this many of its latest characters unless told otherwise.
inline constexpr int kDefaultTextPanelWidth = 3784;
// At most this many pending characters are displayed per event-loop turn;
// the rest is scheduled, so a long burst never freezes the window.
inline constexpr std::size_t kDisplayBatch = 16384;
// Status-timer ticks without data after which held characters are written.
inline constexpr int kQuietTicks = 2;

class Reception {
  public:
    // `settings` and `telex` are the program's (the conversion may correct
    // an alphabet or mode out of range in them). References must outlive
    // this object.
    Reception(TerminalSettings& settings, TelexState& telex, KeywordTable keywords, Pane& pane,
              const Clock& clock, DisplayScheduler& scheduler);

    // Optional seams; null (or empty) leaves the matter out.
    void SetLog(LogWriter* log) { m_writer.SetLog(log); }
    void SetPanels(StatusPanels* panels) { m_panels = panels; }
    void SetTimer(TickTimer* timer) { m_timer = timer; }
    void SetPrinter(PrintSink* printer) { m_printer = printer; }
    void SetBeep(std::function<void()> beep) { m_beep = std::move(beep); }
    // Receives each block's raw text while "AutoSynop" is on; set only when
    // the weather decoder is available.
    void SetWeatherParse(std::function<void(const std::string&)> parse) {
        m_weatherParse = std::move(parse);
    }
    // The line code follows the data bits of the line settings.
    void SetLineCode(LineCode code) { m_lineCode = code; }
    // Printing switched on or off ("P ON"/"P OFF").
    void SetPrintOn(bool on) { m_printOn = on; }
    void SetTextPanelWidth(int width) { m_textPanelWidth = width < 0 ? 0 : width; }
    // A note the "Text" panel shows in front of the received text (the log
    // is suspended); empty for none.
    void SetTextPanelNote(const std::string& note);

    // The data-received event: reports a recovered signal, restarts the
    // silence count and converts the block.
    void OnDataReceived(std::string_view bytes);
    // Converts one block and distributes it (weather decoder, pending text
    // and display, "Text" panel, printer line).
    void ReadConvert(std::string_view bytes);
    // Displays pending text now, up to kDisplayBatch characters, and
    // schedules the rest; does nothing while paused.
    void DisplayPending();
    // True when received text waits to be displayed.
    bool HasPending() const { return !m_state.PendingText.empty(); }

    // START / STOP line (STOP resets the display state).
    void StartStopBanner(bool start) { m_display.StartStopBanner(start); }
    // The line was connected: remembers the time and starts the 1000 ms timer.
    void Connected();
    // The line was disconnected: stops the timer and empties "Time".
    void Disconnected();
    // The line is open but nothing more will come (the end of a recording):
    // held characters are written and the timer stops, so "Time" keeps the
    // length received and the no-signal watch does not take over.
    void InputEnded();
    // "CONNECTED" or "DISCONNECTED", restored in "Status" after a pause;
    // "CONNECTED" restarts the message numbering.
    void SetStatusText(const std::string& text);
    // One tick of the status timer (1000 ms): elapsed time, silence count
    // and "NO SIGNAL".
    void OnTimerTick(bool portOpen);
    // Writes the characters held for a keyword that may still be under way
    // (pane and log). Done by itself when the line has been quiet for
    // kQuietTicks ticks and when it is disconnected; the window calls it at
    // shutdown.
    void WriteHeld();
    // A key in the pane; true when the caret should move to the end of the pane.
    bool OnPaneKey(PaneKey key);
    // The "Clear" button: empties the pane.
    void ClearPane();

    const ReceiveState& State() const { return m_state; }
    DisplayRoutine& Display() { return m_display; }
    const KeywordTable& Keywords() const { return m_keywords; }

  private:
    void ScheduleDisplay();
    void SetPanel(PanelKey key, const std::string& text);
    void UpdateTextPanel(const std::string& raw);

    TerminalSettings& m_settings;
    TelexState& m_telex;
    KeywordTable m_keywords;
    const Clock& m_clock;
    DisplayScheduler& m_scheduler;
    ReceiveState m_state;
    PaneWriter m_writer;
    DisplayRoutine m_display;
    StatusPanels* m_panels = nullptr;
    TickTimer* m_timer = nullptr;
    PrintSink* m_printer = nullptr;
    std::function<void()> m_beep;
    std::function<void(const std::string&)> m_weatherParse;
    LineCode m_lineCode = LineCode::Telex;
    bool m_printOn = false;
    int m_textPanelWidth = kDefaultTextPanelWidth;
    std::string m_textPanel;  // recent raw text, at least what the "Text" panel shows
    std::string m_lateText;   // arrived while the display routine was running
    std::string m_textNote;   // shown in front of the "Text" panel's text
    bool m_displaying = false;
    bool m_displayPosted = false;
};

}  // namespace dovrel
