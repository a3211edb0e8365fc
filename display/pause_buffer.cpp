// Pause buffer: bursts of at most kCapacity characters reach the decoder.
#include "pause_buffer.h"

#include <utility>

namespace nimboview {

std::vector<std::string> PauseBuffer::Hold(std::string_view data) {
    std::vector<std::string> handOn;
    if (m_text.size() + data.size() > kCapacity) {
        if (!m_text.empty()) handOn.push_back(Take());
        // A chunk that cannot fit even an empty buffer goes on whole rather
        // than being cut or dropped.
        if (data.size() > kCapacity) {
            handOn.emplace_back(data);
            return handOn;
        }
    }
    m_text.append(data);
    return handOn;
}

std::string PauseBuffer::Take() { return std::exchange(m_text, {}); }

}  // namespace nimboview
