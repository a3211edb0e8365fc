// A reception path wired to fakes, with a small vocabulary for tests:
// Feed() bytes as one received block, Shown() the pane in a readable markup.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "reception.h"
#include "reception_fakes.h"
#include "recording_pane.h"

namespace dovrel::testing {

class ReceptionFixture : public ::testing::Test {
  protected:
    ReceptionFixture() {
        settings.SMesgBlocs = 1;
        settings.LookWords = true;
        settings.WaitTime = 0;
    }

    // Built on first use, so a test can change settings and user keywords first.
    Reception& Rx() {
        if (!m_rx) {
            m_rx = std::make_unique<Reception>(settings, telex, MakeKeywordTable(user), pane, clock,
                                               scheduler);
            m_rx->SetLineCode(code);
            m_rx->SetLog(&log);
            m_rx->SetPanels(&panels);
            m_rx->SetTimer(&timer);
            m_rx->SetPrinter(&printer);
        }
        return *m_rx;
    }
    // One received block, then whatever the event loop would run.
    void Feed(std::string_view bytes) {
        Rx().OnDataReceived(bytes);
        scheduler.RunAll();
    }
    void FeedByteByByte(std::string_view bytes) {
        for (char b : bytes) Feed(std::string_view(&b, 1));
    }

    // The pane with its styles made visible: received text as it is,
    // emphasised (keyword) text in [brackets], separator lines as {NEW MSG
    // 0001}, START/STOP lines as <START>, timestamps as (14:02:33 ).
    std::string Shown() const {
        std::string out;
        for (const RecordingPane::Run& run : pane.Runs()) {
            const std::string& t = run.text;
            if (run.style.emphasis) {
                out += PerLine(t, "[", "]", false);
            } else if (run.style.colour == kColourGreen) {
                out += PerLine(t, "{", "}", true);
            } else if (run.style.colour == kColourMagenta) {
                out += PerLine(t, "<", ">", true);
            } else if (run.style.colour == kColourRed) {
                out += PerLine(t, "(", ")", false);
            } else {
                out += t;
            }
        }
        return out;
    }

    TerminalSettings settings;
    TelexState telex;
    std::array<UserKeyword, kUserKeywords> user{};
    LineCode code = LineCode::Ascii8;
    RecordingPane pane;
    FakeClock clock;
    ManualScheduler scheduler;
    RecordingLog log;
    RecordingPanels panels;
    FakeTimer timer;
    RecordingPrinter printer;

  private:
    // Wraps each non-empty line of `text` in open/close; for separator
    // lines keeps only the label ("NEW MSG 0001", "START").
    static std::string PerLine(const std::string& text, const char* open, const char* close,
                               bool labelOnly) {
        std::string out;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t nl = text.find('\n', pos);
            std::string line =
                text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
            if (!line.empty()) {
                if (labelOnly) {
                    const std::size_t cut = line.find_last_of("-=");
                    if (cut != std::string::npos) line = line.substr(cut + 2);
                    while (!line.empty() && line.back() == ' ') line.pop_back();
                }
                out += open + line + close;
            }
            if (nl == std::string::npos) break;
            out += "\n";
            pos = nl + 1;
        }
        return out;
    }

    std::unique_ptr<Reception> m_rx;
};

}  // namespace dovrel::testing
