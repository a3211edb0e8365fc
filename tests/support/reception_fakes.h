// Fakes for the seams of the reception path: a settable clock, a scheduler
// run by hand, recording panels and log (boxes and file choices: scripted_prompts.h).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "clock.h"
#include "display_scheduler.h"
#include "log_file_choice.h"
#include "log_writer.h"
#include "message_box.h"
#include "print_sink.h"
#include "reception.h"
#include "scripted_prompts.h"

namespace dovrel::testing {

// A clock standing at a chosen local time: 14:02:33 on 05/12/2026 by default.
class FakeClock : public Clock {
  public:
    FakeClock() { Set(2026, 12, 5, 14, 2, 33); }
    LocalTime Now() const override { return m_now; }
    void Set(int y, int mo, int d, int h, int mi, int s) {
        m_now = LocalTime{m_now.epochSeconds, y, mo, d, h, mi, s};
    }
    void Advance(int seconds) {
        m_now.epochSeconds += seconds;
        int total = m_now.hour * 3600 + m_now.minute * 60 + m_now.second + seconds;
        m_now.hour = total / 3600 % 24;
        m_now.minute = total / 60 % 60;
        m_now.second = total % 60;
    }

  private:
    LocalTime m_now{1764939753};
};

class ManualScheduler : public DisplayScheduler {
  public:
    void Post(std::function<void()> task) override { m_tasks.push_back(std::move(task)); }
    // Runs posted tasks (and those they post) until none is left; returns how many ran.
    int RunAll(int limit = 100000) {
        int n = 0;
        while (!m_tasks.empty() && n < limit) {
            auto task = std::move(m_tasks.front());
            m_tasks.pop_front();
            task();
            ++n;
        }
        return n;
    }
    std::size_t Waiting() const { return m_tasks.size(); }

  private:
    std::deque<std::function<void()>> m_tasks;
};

class RecordingPanels : public StatusPanels {
  public:
    void SetPanelText(PanelKey key, const std::string& text) override {
        panels[std::string(PanelName(key))] = text;
    }
    std::string Get(const std::string& key) const {
        auto it = panels.find(key);
        return it == panels.end() ? std::string("<unset>") : it->second;
    }
    std::map<std::string, std::string> panels;
};

class RecordingLog : public LogWriter {
  public:
    void WriteLog(std::string_view text) override { text_.append(text); }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

class RecordingPrinter : public PrintSink {
  public:
    bool PrintText(const std::string& text) override {
        printed.push_back(text);
        return true;
    }
    std::vector<std::string> printed;
};

class FakeTimer : public TickTimer {
  public:
    void Start(int intervalMs) override {
        interval = intervalMs;
        running = true;
    }
    void Stop() override { running = false; }
    int interval = 0;
    bool running = false;
};

}  // namespace dovrel::testing
