// Reception: conversion of received blocks, the display driver, silence
// watch, pause and the status panels of the receive path.
#include "reception.h"

#include <algorithm>

#include "telex_panels.h"

namespace dovrel {

Reception::Reception(TerminalSettings& settings, TelexState& telex, KeywordTable keywords,
                     Pane& pane, const Clock& clock, DisplayScheduler& scheduler)
    : m_settings(settings),
      m_telex(telex),
      m_keywords(std::move(keywords)),
      m_clock(clock),
      m_scheduler(scheduler),
      m_writer(pane),
      m_display(m_state, settings, m_keywords, m_writer, clock) {}

void Reception::OnDataReceived(std::string_view bytes) {
    if (m_state.NoSignalShown) {
        m_display.WriteNotice("Signal recovered after " + std::to_string(m_state.SilenceSeconds) +
                              "s");
        m_state.NoSignalShown = false;
        SetPanel(PanelKey::Status, m_state.StatusText);
    }
    m_state.SilenceSeconds = 0;
    ReadConvert(bytes);
}

void Reception::ReadConvert(std::string_view bytes) {
    TelexOptions options;
    options.code = m_lineCode;
    options.alphabet = m_settings.TelexCod;
    options.mode = m_settings.TelexUOS;
    options.rawCrLf = m_settings.TelexCrl;
    options.bellBeeps = m_settings.BellBeeps;
    std::string raw;
    std::string display;
    raw.reserve(bytes.size());
    display.reserve(bytes.size());
    for (const char b : bytes) {
        std::string ch = DecodeLineByte(static_cast<std::uint8_t>(b), options, m_telex);
        raw += ch;
        display += DisplayFilter(ch, options.rawCrLf, options.bellBeeps, m_telex, m_beep);
    }
    // Decoding falls back to ITA2 for an alphabet it does not have; the
    // "Code" panel shows the one in use.
    if (options.alphabet != m_settings.TelexCod)
        SetPanel(PanelKey::Code, AlphabetName(options.alphabet));
    m_settings.TelexCod = options.alphabet;
    m_settings.TelexUOS = options.mode;

    if (m_settings.AutoSynop && m_weatherParse) m_weatherParse(raw);
    if (m_displaying) {
        // A box raised while displaying runs the event loop; this block
        // waits until the routine has finished with the pending text.
        m_lateText += display;
        ScheduleDisplay();
    } else {
        m_state.PendingText += display;
        if (!m_state.Paused) DisplayPending();
    }
    UpdateTextPanel(raw);
    if (m_printOn && m_printer != nullptr)
        AssemblePrinterLine(m_state.PrinterLine, display, *m_printer);
}

void Reception::DisplayPending() {
    if (m_displaying || m_state.Paused) return;
    m_displaying = true;
    std::string& pending = m_state.PendingText;
    std::size_t done = 0;
    const std::size_t end = std::min(pending.size(), kDisplayBatch);
    while (done < end) {
        done += m_display.ShowPending(std::string_view(pending).substr(done, end - done));
    }
    pending.erase(0, done);
    m_writer.Flush();
    m_displaying = false;
    pending += m_lateText;
    m_lateText.clear();
    if (!pending.empty() && !m_state.Paused) ScheduleDisplay();
}

void Reception::ScheduleDisplay() {
    if (m_displayPosted) return;
    m_displayPosted = true;
    m_scheduler.Post([this] {
        m_displayPosted = false;
        DisplayPending();
    });
}

void Reception::UpdateTextPanel(const std::string& raw) {
    // The panel shows the last W characters of its old text followed by the
    // new raw text, which is the last W + raw-size characters of everything
    // received. The history is trimmed only now and then, so a one-byte
    // block costs no copy of the whole panel text unless a panel is wired.
    const std::size_t keep = static_cast<std::size_t>(m_textPanelWidth);
    m_textPanel += raw;
    const std::size_t shown = std::min(m_textPanel.size(), keep + raw.size());
    if (m_textPanel.size() > 4 * (keep + 1024) + raw.size()) {
        m_textPanel.erase(0, m_textPanel.size() - shown);
    }
    if (m_panels != nullptr)
        SetPanel(PanelKey::Text, m_textNote + m_textPanel.substr(m_textPanel.size() - shown));
}

void Reception::SetTextPanelNote(const std::string& note) {
    m_textNote = note;
    UpdateTextPanel({});
}

void Reception::WriteHeld() {
    if (m_displaying) return;
    m_display.WriteHeld();
}

void Reception::Connected() {
    m_state.ConnectTime = m_clock.Now();
    if (m_timer != nullptr) m_timer->Start(1000);
}

void Reception::Disconnected() {
    WriteHeld();
    if (m_timer != nullptr) m_timer->Stop();
    SetPanel(PanelKey::Time, "");
}

void Reception::InputEnded() {
    WriteHeld();
    if (m_timer != nullptr) m_timer->Stop();
}

void Reception::SetStatusText(const std::string& text) {
    m_state.StatusText = text;
    if (text == "CONNECTED") m_state.MessageCount = 0;
}

void Reception::OnTimerTick(bool portOpen) {
    SetPanel(PanelKey::Time,
             FormatElapsed(m_clock.Now().epochSeconds - m_state.ConnectTime.epochSeconds) + " ");
    if (!portOpen) return;
    ++m_state.SilenceSeconds;
    // Two ticks without data: the line has been quiet for a second at
    // least, so a keyword under way will not complete.
    if (m_state.SilenceSeconds >= kQuietTicks && !m_state.Paused && !HasPending()) WriteHeld();
    if (m_settings.WaitTime != 0 && m_state.SilenceSeconds >= m_settings.WaitTime &&
        !m_state.NoSignalShown) {
        m_state.NoSignalShown = true;
        SetPanel(PanelKey::Status, "NO SIGNAL");
    }
}

bool Reception::OnPaneKey(PaneKey key) {
    switch (key) {
        case PaneKey::Pause:
        case PaneKey::CtrlA:
            m_state.Paused = true;
            SetPanel(PanelKey::Status, "PAUSE");
            return false;
        case PaneKey::EscapeDown:
        case PaneKey::CtrlCUp:
            m_state.Paused = false;
            SetPanel(PanelKey::Status, m_state.StatusText);
            // What was collected during the pause is shown now, not when
            // the next block happens to arrive.
            if (HasPending()) ScheduleDisplay();
            return true;
        case PaneKey::Other:
            if (m_state.Paused) {
                SetPanel(PanelKey::Status, "PAUSE");
                return false;
            }
            SetPanel(PanelKey::Status, m_state.StatusText);
            return true;
    }
    return false;
}

void Reception::ClearPane() {
    m_writer.Flush();
    m_state.Busy = true;
    m_writer.ClearPane();
    m_state.Busy = false;
}

void Reception::SetPanel(PanelKey key, const std::string& text) {
    if (m_panels != nullptr) m_panels->SetPanelText(key, text);
}

}  // namespace dovrel
