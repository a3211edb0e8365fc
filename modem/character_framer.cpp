// Start-edge search and frame reading over the decision history.
#include "character_framer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace modem {

namespace {
constexpr double kScoreWeight = 1.0 / 8.0;  // the score follows about the last 8 frames
constexpr double kFollowWindowBits = 0.5;   // how far from the expected instant an edge counts
constexpr double kTrackWeight = 0.25;       // share of an edge's offset taken into the timing
constexpr int kMaxMisses = 2;               // invalid frames in a row that lose step
constexpr double kLateBits = 1.0;           // how late a start edge may come and still count
constexpr float kPauseLevel = 0.5f;         // share of the usual bit level that reads as a pause
constexpr std::uint8_t kNoCode = 0xFF;      // ReadFrame() found no character
constexpr double kAlignBits = 0.3;          // a hunted edge is looked for this near its fall
constexpr double kAlignStepBits = 0.05;
}  // namespace

CharacterFramer::CharacterFramer(const FrameLayout& layout, double bitSamples, int filterSamples,
                                 float sign)
    : m_layout(layout),
      m_bit(bitSamples),
      // The decision crosses zero when the filter holds half a bit of each
      // tone; it has seen the whole start bit one bit after the edge began,
      // that is filterSamples / 2 before the crossing.
      m_bitEnd(bitSamples - 0.5 * filterSamples),
      m_sign(sign),
      m_frameSpan(m_bitEnd + (layout.BitsBeforeStop() + layout.stopBits - 1.0) * bitSamples) {}

void CharacterFramer::Reset() {
    m_cursor = 0.0;
    m_expected = -1.0;
    m_misses = 0;
    m_level = 0.0f;
    m_score = 0.5;
    m_frames = 0;
}

void CharacterFramer::Count(bool valid) {
    m_score += ((valid ? 1.0 : 0.0) - m_score) * kScoreWeight;
    ++m_frames;
}

bool CharacterFramer::ReadFrame(const BitSlicer& slicer, double edge, std::uint8_t& code,
                                bool checkStart) {
    // Each reading also tells how sure it is: the least sure data bit gives
    // the frame's alternative, the mean of all how strong the signal was.
    float sum = 0.0f;
    int readings = 0;
    const auto reading = [&](double k) {
        const float v = m_sign * slicer.Sample(edge + m_bitEnd + k * m_bit);
        sum += std::abs(v);
        m_strength = sum / static_cast<float>(++readings);
        return v;
    };
    const bool startIsSpace = reading(0) <= 0.0f;
    if (checkStart && !startIsSpace) return false;
    std::uint32_t value = 0;
    m_doubt = std::numeric_limits<float>::max();
    for (int i = 0; i < m_layout.dataBits; ++i) {
        const float v = reading(1 + i);
        if (v > 0.0f) value |= 1u << i;
        if (std::abs(v) < m_doubt) {
            m_doubt = std::abs(v);
            m_doubtBit = i;
        }
    }
    if (m_layout.hasParity && (reading(1 + m_layout.dataBits) > 0.0f) != m_layout.ParityBit(value))
        return false;
    code = static_cast<std::uint8_t>(value);
    // Mark at the start and at the end of the stop bits (one reading for
    // one stop bit); the second reading tells the two polarities apart
    // sooner on repetitive text.
    const int stop = m_layout.BitsBeforeStop();
    const bool first = reading(stop) > 0.0f;
    return reading(stop + m_layout.stopBits - 1.0) > 0.0f && first;
}

void CharacterFramer::Accept(double edge, bool valid, std::uint8_t code, bool carries,
                             Frame& frame) {
    Count(valid);
    m_misses = valid ? 0 : m_misses + 1;
    frame = {valid ? FrameKind::Valid : FrameKind::Failed,
             code,
             valid || carries,
             static_cast<std::uint8_t>(code ^ (1u << m_doubtBit)),
             m_strength > 0.0f ? m_doubt / m_strength : 0.0f,
             m_strength};
    if (valid || (m_expected >= 0.0 && m_misses < kMaxMisses)) {
        // In step: the next start edge comes right after the stop bits.
        m_expected = edge + m_layout.FrameBits() * m_bit;
        m_cursor = edge + m_frameSpan;
    } else {
        m_expected = -1.0;
        m_cursor = edge + 1.0;  // hunt again right after the false edge
    }
}

bool CharacterFramer::Hunt(const BitSlicer& slicer, Frame& frame) {
    const double fall = slicer.FindFall(m_cursor, m_sign);
    if (fall < 0.0) {
        // Keep the last sample: an edge may begin between it and the next.
        m_cursor = static_cast<double>(slicer.End() - 1);
        return false;
    }
    const double reach = kAlignBits * m_bit;
    if (fall + reach + m_frameSpan + 1.0 >= static_cast<double>(slicer.End())) {
        m_cursor = fall;  // wait for the rest of the frame
        return false;
    }
    const double edge = Align(slicer, fall);
    std::uint8_t code = 0;
    const bool valid = ReadFrame(slicer, edge, code);
    Accept(edge, valid, code, false, frame);
    if (!valid && m_expected < 0.0) m_cursor = fall + 1.0;
    return true;
}

// Noise moves the first zero crossing of a start edge, most after a long
// mark; the bit readings are largest where the frame is in step with the
// sender's bits, so the edge is taken where their sum is largest nearby.
double CharacterFramer::Align(const BitSlicer& slicer, double fall) const {
    const double reach = kAlignBits * m_bit;
    const double first = std::max(fall - reach, static_cast<double>(slicer.Begin()) + 1.0);
    const int readings = m_layout.BitsBeforeStop() + 1;
    double best = fall, bestSum = -1.0;
    for (double edge = first; edge <= fall + reach; edge += kAlignStepBits * m_bit) {
        double sum = 0.0;
        for (int k = 0; k < readings; ++k)
            sum += std::abs(slicer.Sample(edge + m_bitEnd + k * m_bit));
        if (sum > bestSum) {
            bestSum = sum;
            best = edge;
        }
    }
    return best;
}

bool CharacterFramer::Follow(const BitSlicer& slicer, Frame& frame) {
    const double window = kFollowWindowBits * m_bit;
    // The latest frame read here starts kLateBits after the expected instant.
    if (m_expected + kLateBits * m_bit + m_frameSpan + 1.0 >= static_cast<double>(slicer.End()))
        return false;
    // An edge near the expected instant pulls the timing a little; none
    // (noise hid it) leaves the expected instant as it is.
    double edge = m_expected;
    double seen = slicer.FindFall(m_expected - window, m_sign);
    // Of several edges in the window (noise), the one nearest the expected instant.
    for (double later = seen; later >= 0.0 && later <= m_expected + window;
         later = slicer.FindFall(later + 1.0, m_sign))
        if (std::abs(later - m_expected) < std::abs(seen - m_expected)) seen = later;
    if (seen >= 0.0 && seen <= m_expected + window) edge += kTrackWeight * (seen - m_expected);
    const float start = m_sign * slicer.Sample(edge + m_bitEnd);
    if (start > 0.0f && seen > m_expected + window && seen <= m_expected + kLateBits * m_bit) {
        // Mark where a start bit belongs, and an edge a little later: a
        // sender that paused briefly or keeps longer stop bits than ours. A
        // valid frame there takes over the timing.
        std::uint8_t code = 0;
        if (ReadFrame(slicer, seen, code)) {
            Accept(seen, true, code, false, frame);
            return true;
        }
    }
    if (start > kPauseLevel * m_level) {
        // Clearly mark: the sender paused (steady mark); hunt for its next
        // start edge.
        m_expected = -1.0;
        m_cursor = edge;
        frame = {FrameKind::Pause, 0, false};
        return true;
    }
    // A start bit read as weak mark is taken for one that noise hit.
    std::uint8_t code = kNoCode;
    const bool valid = ReadFrame(slicer, edge, code, false);
    if (valid) m_level += (std::abs(start) - m_level) * static_cast<float>(kScoreWeight);
    // In step with the sender, a frame whose stop bit alone noise spoilt
    // still carries its character, though it counts as a failure.
    Accept(edge, valid, code, code != kNoCode && m_misses == 0, frame);
    return true;
}

bool CharacterFramer::Next(const BitSlicer& slicer, Frame& frame) {
    if (m_cursor < static_cast<double>(slicer.Begin()))
        m_cursor = static_cast<double>(slicer.Begin());
    if (m_expected >= 0.0 && m_expected < static_cast<double>(slicer.Begin()) + m_bit)
        m_expected = -1.0;
    return m_expected >= 0.0 ? Follow(slicer, frame) : Hunt(slicer, frame);
}

}  // namespace modem
