// Start-edge search and frame reading over the decision history.
#include "character_framer.h"

namespace modem {

namespace {
constexpr double kScoreWeight = 1.0 / 8.0;  // the score follows about the last 8 frames
}

CharacterFramer::CharacterFramer(const FrameLayout& layout, double bitSamples,
                                  int filterSamples, float sign)
    : m_layout(layout),
      m_bit(bitSamples),
      // The decision crosses zero when the filter holds half a bit of each
      // tone; it has seen the whole start bit one bit after the edge began,
      // that is filterSamples / 2 before the crossing.
      m_bitEnd(bitSamples - 0.5 * filterSamples),
      m_sign(sign) {}

void CharacterFramer::Reset() {
    m_cursor = 0.0;
    m_score = 0.5;
    m_frames = 0;
}

void CharacterFramer::Count(bool valid) {
    m_score += ((valid ? 1.0 : 0.0) - m_score) * kScoreWeight;
    ++m_frames;
}

bool CharacterFramer::ReadFrame(const BitSlicer& slicer, double edge, std::uint8_t& code) const {
    const auto bit = [&](int k) {
        return m_sign * slicer.Sample(edge + m_bitEnd + k * m_bit) > 0.0f;
    };
    if (bit(0)) return false;  // the start bit must still be space
    std::uint32_t value = 0;
    for (int i = 0; i < m_layout.dataBits; ++i)
        if (bit(1 + i)) value |= 1u << i;
    if (m_layout.hasParity && bit(1 + m_layout.dataBits) != m_layout.ParityBit(value))
        return false;
    if (!bit(m_layout.BitsBeforeStop())) return false;
    code = static_cast<std::uint8_t>(value);
    return true;
}

void CharacterFramer::Step(const BitSlicer& slicer, std::vector<std::uint8_t>& out) {
    const double frameSpan = m_bitEnd + m_layout.BitsBeforeStop() * m_bit + 1.0;
    if (m_cursor < static_cast<double>(slicer.Begin())) m_cursor = static_cast<double>(slicer.Begin());
    for (;;) {
        const double edge = slicer.FindFall(m_cursor, m_sign);
        if (edge < 0.0) {
            // Keep the last sample: an edge may begin between it and the next.
            m_cursor = static_cast<double>(slicer.End() - 1);
            return;
        }
        if (edge + frameSpan >= static_cast<double>(slicer.End())) {
            m_cursor = edge;  // wait for the rest of the frame
            return;
        }
        std::uint8_t code = 0;
        const bool valid = ReadFrame(slicer, edge, code);
        Count(valid);
        if (valid) {
            out.push_back(code);
            // The next start edge comes at the end of the stop bits at the
            // earliest; hunt from the middle of the first one.
            m_cursor = edge + m_bitEnd + m_layout.BitsBeforeStop() * m_bit;
        } else {
            m_cursor = edge + 1.0;
        }
    }
}

}  // namespace modem
