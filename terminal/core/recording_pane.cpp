// RecordingPane: keeps the plain text and the styled runs written to it.
#include "recording_pane.h"

namespace dovrel {

void RecordingPane::Append(std::string_view text, TextStyle style) {
    if (text.empty()) return;
    m_text.append(text);
    if (!m_runs.empty() && m_runs.back().style == style) {
        m_runs.back().text.append(text);
    } else {
        m_runs.push_back(Run{std::string(text), style});
    }
}

void RecordingPane::Clear() {
    m_text.clear();
    m_runs.clear();
    ++m_clears;
}

std::string RecordingPane::TextIn(TextStyle style) const {
    std::string out;
    for (const Run& run : m_runs) {
        if (run.style == style) out += run.text + "|";
    }
    return out;
}

}  // namespace dovrel
