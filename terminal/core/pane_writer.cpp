// PaneWriter: joins pieces of text per style before they reach the pane.
#include "pane_writer.h"

#include <utility>

namespace dovrel {

void PaneWriter::Emit(std::string_view text, TextStyle style) {
    m_style = style;
    if (text.empty()) return;
    const std::size_t nl = text.rfind('\n');
    m_lineLength = nl == std::string_view::npos ? m_lineLength + text.size() : text.size() - nl - 1;
    if (!m_paneText.empty() && !(m_paneStyle == style)) FlushPane();
    m_paneStyle = style;
    m_paneText.append(text);
}

void PaneWriter::Log(std::string_view text) {
    if (m_log != nullptr) m_logText.append(text);
}

std::size_t PaneWriter::PaneLength() {
    FlushPane();
    return m_pane.Length();
}

void PaneWriter::ClearPane() {
    m_paneText.clear();
    m_lineLength = 0;
    m_pane.Clear();
}

void PaneWriter::FlushPane() {
    if (m_paneText.empty()) return;
    std::string text = std::exchange(m_paneText, std::string());
    m_pane.Append(text, m_paneStyle);
}

void PaneWriter::Flush() {
    FlushPane();
    if (m_logText.empty() || m_log == nullptr) return;
    // Taken out first: a failed write may show a box whose event loop
    // delivers more text to log.
    std::string text = std::exchange(m_logText, std::string());
    m_log->WriteLog(text);
}

}  // namespace dovrel
