// Automatic threshold correction over the two tone envelopes.
#include "envelope.h"

#include <algorithm>

namespace modem {

namespace {
// Time constants in bits: peaks are caught within a quarter bit; a faded tone
// loses its level over 16 bits and its floor rises over 48.
constexpr double kAttackBits = 0.25;
constexpr double kLevelDecayBits = 16.0;
constexpr double kFloorRiseBits = 48.0;
}  // namespace

Envelope::Envelope(double bitSamples)
    : m_fast(static_cast<float>(1.0 / std::max(1.0, kAttackBits * bitSamples))),
      m_slowLevel(static_cast<float>(1.0 / (kLevelDecayBits * bitSamples))),
      m_slowFloor(static_cast<float>(1.0 / (kFloorRiseBits * bitSamples))) {}

void Envelope::Tracker::Step(float x, float fast, float slowLevel, float slowFloor) {
    level += (x - level) * (x > level ? fast : slowLevel);
    floor += (x - floor) * (x < floor ? fast : slowFloor);
}

void Envelope::Reset() {
    m_low = {};
    m_high = {};
}

float Envelope::Step(float low, float high) {
    m_low.Step(low, m_fast, m_slowLevel, m_slowFloor);
    m_high.Step(high, m_fast, m_slowLevel, m_slowFloor);
    // Each tone is clipped to its own floor..level and weighted by its own
    // swing; the threshold sits where the two weighted swings meet.
    const float lowSwing = m_low.level - m_low.floor;
    const float highSwing = m_high.level - m_high.floor;
    const float l = std::clamp(low, m_low.floor, m_low.level) - m_low.floor;
    const float h = std::clamp(high, m_high.floor, m_high.level) - m_high.floor;
    return l * lowSwing - h * highSwing - 0.5f * (lowSwing * lowSwing - highSwing * highSwing);
}

}  // namespace modem
