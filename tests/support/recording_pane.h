// A pane that records what is written to it, as plain text and as styled
// runs (neighbouring appends in one style join one run), for the tests and
// benchmarks of the reception path.
#pragma once

#include <string>
#include <vector>

#include "pane.h"

namespace dovrel::testing {

class RecordingPane : public Pane {
  public:
    struct Run {
        std::string text;
        TextStyle style;
    };

    void Append(std::string_view text, TextStyle style) override {
        if (text.empty()) return;
        m_text.append(text);
        if (m_runs.empty() || m_runs.back().style != style) m_runs.push_back({{}, style});
        m_runs.back().text.append(text);
    }
    std::size_t Length() const override { return m_text.size(); }
    void Clear() override {
        m_text.clear();
        m_runs.clear();
        ++m_clears;
    }

    const std::string& Text() const { return m_text; }
    const std::vector<Run>& Runs() const { return m_runs; }
    int Clears() const { return m_clears; }
    // The text of every run in `style`, each run followed by "|".
    std::string TextIn(TextStyle style) const {
        std::string out;
        for (const Run& run : m_runs) out += run.style == style ? run.text + "|" : "";
        return out;
    }

  private:
    std::string m_text;
    std::vector<Run> m_runs;
    int m_clears = 0;
};

}  // namespace dovrel::testing
