// Automatic threshold correction over the two tone envelopes.
#include "envelope.h"

#include <algorithm>

namespace modem {

namespace {
// Levels follow the tones over this many bits: slow enough that noise does not
// move the threshold, fast enough for selective fading.
constexpr double kAverageBits = 2.0;
// Swings within this ratio of each other count as alike.
constexpr float kBalance = 0.5f;
}  // namespace

Envelope::Envelope(double bitSamples)
    : m_weight(static_cast<float>(1.0 / std::max(1.0, kAverageBits * bitSamples))) {}

void Envelope::Reset() {
    m_low = {};
    m_high = {};
    m_lowKeyed = true;
}

float Envelope::Step(float low, float high) {
    // Decision-directed: the side keyed at the last decision learns its "on"
    // level, the other its "off" level.
    Levels& lowLevels = m_low;
    Levels& highLevels = m_high;
    if (m_lowKeyed) {
        lowLevels.on += (low - lowLevels.on) * m_weight;
        highLevels.off += (high - highLevels.off) * m_weight;
    } else {
        highLevels.on += (high - highLevels.on) * m_weight;
        lowLevels.off += (low - lowLevels.off) * m_weight;
    }
    const float lowSwing = std::max(0.0f, lowLevels.on - lowLevels.off);
    const float highSwing = std::max(0.0f, highLevels.on - highLevels.off);
    float v;
    if (lowSwing + highSwing <= 1e-9f) {
        v = low - high;  // nothing learnt yet
    } else if (std::min(lowSwing, highSwing) >= kBalance * std::max(lowSwing, highSwing)) {
        // Tones alike: the plain difference, which noise in the learnt
        // levels cannot disturb (same scale as below).
        v = (low - high) * 0.5f * (lowSwing + highSwing);
    } else {
        v = (low - lowLevels.off) * lowSwing - (high - highLevels.off) * highSwing -
            0.5f * (lowSwing * lowSwing - highSwing * highSwing);
    }
    m_lowKeyed = v > 0.0f;
    return v;
}

}  // namespace modem
