// The raw log. Text waits while its groups are held or skipped: a skipped
// report stays in the bulletin, a trailer does not.
#include "raw_log.h"

#include <cstdio>

namespace nimbo {
namespace {

// Raw text of a skipped report kept for the log, at most.
constexpr std::size_t kPendingLimit = 4096;

}  // namespace

bool RawLog::Open(bool enable, const std::string& basePath) {
    const bool wasOpen = m_file.IsOpen();
    m_pending.clear();
    // Every file holds whole bulletins: closing ends the one it is in, once;
    // the next one is written from its indicator on.
    if (wasOpen && !enable && m_bulletinOpen && m_file.Written()) {
        m_file.Write("NNNN\n");
        m_bulletinOpen = false;
    }
    const bool open = m_file.Open(enable, basePath);
    if (wasOpen && !open) m_counter = 0;
    return open;
}

void RawLog::BulletinStart(const std::array<std::string, 4>& heading, std::string_view indicator,
                           TokenSeparator separator) {
    ++m_counter;
    char number[32];
    std::snprintf(number, sizeof number, "ZCZC %05d", m_counter % 100000);
    std::string text = number;
    bool first = true;
    for (const auto& slot : heading) {
        if (slot.empty()) continue;
        text += (first ? "\n" : " ") + slot;
        first = false;
    }
    text.append("\n").append(indicator).append(separator == kSeparatorBlank ? " " : "\n");
    m_file.Write(text);
    m_bulletinOpen = true;
}

void RawLog::Token(std::string_view token, int keywordCode, TokenSeparator separator) {
    if (keywordCode != kKeywordNone || separator == kSeparatorBlankLine) {
        BulletinEnd();
        return;
    }
    // Every token comes here: without a file only the bulletin's end is followed.
    if (!m_bulletinOpen || !m_file.IsOpen() || m_pending.size() >= kPendingLimit) return;
    Keep(token, separator);
}

void RawLog::Keep(std::string_view token, TokenSeparator separator) {
    m_pending.append(token).push_back(separator == kSeparatorBlank ? ' ' : '\n');
}

void RawLog::Commit() {
    if (m_pending.empty()) return;
    m_file.Write(m_pending);
    m_pending.clear();
}

void RawLog::BulletinEnd() {
    if (!m_bulletinOpen) return;
    Commit();
    m_file.Write("NNNN\n");
    m_bulletinOpen = false;
}

void RawLog::Suspend() {
    m_pending.clear();
    m_bulletinOpen = false;
}

}  // namespace nimbo
