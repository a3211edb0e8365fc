// The input of the reception benchmarks: the bundled ITA2 capture, and the
// settings a busy station would run with (keywords, separation, timestamps).
#pragma once

#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "display_scheduler.h"
#include "keyword_table.h"
#include "terminal_settings.h"

namespace dovrel::bench {

inline std::string LoadCapture() {
    std::ifstream in(std::string(DOVREL_SOURCE_DIR) + "/data/samples/capture.ita2",
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline TerminalSettings BusySettings() {
    TerminalSettings s;
    s.LookWords = true;
    s.SMesgBlocs = 1;
    s.STimeStamp = true;
    s.FMesgBlocs = 1;
    return s;
}

inline KeywordTable BusyKeywords() {
    std::array<UserKeyword, kUserKeywords> user{};
    user[0] = {"AAXX", 2};
    user[1] = {"BBXX", 2};
    user[2] = {"ENMI", 1};
    user[3] = {"333", 0};
    return MakeKeywordTable(user);
}

// Runs what the display routine schedules, as the event loop would.
class QueueScheduler : public DisplayScheduler {
  public:
    void Post(std::function<void()> task) override { m_tasks.push_back(std::move(task)); }
    void RunAll() {
        while (!m_tasks.empty()) {
            auto t = std::move(m_tasks.front());
            m_tasks.pop_front();
            t();
        }
    }

  private:
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace dovrel::bench
