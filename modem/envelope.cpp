// Automatic threshold correction over the two tone envelopes.
#include "envelope.h"

#include <algorithm>

namespace modem {

namespace {
// Time constants in bits.
constexpr double kAttackBits = 0.25;     // the envelope rises to a stronger tone
constexpr double kDecayBits = 4.0;       // ... and forgets it while the tone is off
constexpr double kFollowBits = 2.0;      // ... or falls to a weaker one while it is keyed
constexpr double kFloorFallBits = 0.25;  // the floor falls to a weaker magnitude
constexpr double kFloorRiseBits = 16.0;  // ... and rises slowly (through keyed bits)
constexpr float kKeyedShare = 0.75f;     // of its swing: a tone clearly keyed ...
constexpr float kKeyedOverFloor = 8.0f;  // ... and this far over its floor (noise seldom is)
constexpr float kAlike = 0.35f;  // swings within this ratio count as alike (noise moves them)

float Weight(double bits, double bitSamples) {
    return static_cast<float>(1.0 / std::max(1.0, bits * bitSamples));
}
}  // namespace

Envelope::Envelope(double bitSamples)
    : m_attack(Weight(kAttackBits, bitSamples)),
      m_decay(Weight(kDecayBits, bitSamples)),
      m_follow(Weight(kFollowBits, bitSamples)),
      m_floorFall(Weight(kFloorFallBits, bitSamples)),
      m_floorRise(Weight(kFloorRiseBits, bitSamples)) {}

void Envelope::Reset() {
    m_low = {};
    m_high = {};
    m_lowKeyed = m_highKeyed = false;
    m_last = 0.0f;
}

float Envelope::Tone::Follow(float x, bool off, const Envelope& e) {
    // A tone keyed now is as strong as it reads: its envelope comes down
    // within two bits (a fade); one not keyed keeps its level a few bits.
    peak += (x - peak) * (x > peak ? e.m_attack : (off ? e.m_decay : e.m_follow));
    floor += (x - floor) * (x < floor ? e.m_floorFall : (off ? e.m_floorRise : 0.0f));
    return std::clamp(x, floor, std::max(peak, floor)) - floor;
}

float Envelope::Step(float low, float high) {
    const float l = m_low.Follow(low, m_last < 0.0f, *this);
    const float h = m_high.Follow(high, m_last > 0.0f, *this);
    const float lowSwing = std::max(0.0f, m_low.peak - m_low.floor);
    const float highSwing = std::max(0.0f, m_high.peak - m_high.floor);
    m_lowKeyed = l > kKeyedShare * lowSwing && low > kKeyedOverFloor * m_low.floor;
    m_highKeyed = h > kKeyedShare * highSwing && high > kKeyedOverFloor * m_high.floor;
    m_last = Decide(low - high, l, h, lowSwing, highSwing);
    return m_last;
}

float Envelope::Decide(float difference, float l, float h, float lowSwing, float highSwing) const {
    // Tones alike: the plain difference, which no error in the followed
    // levels can bias (on the same scale as below).
    if (std::min(lowSwing, highSwing) >= kAlike * std::max(lowSwing, highSwing))
        return difference * 0.5f * (lowSwing + highSwing);
    // Each tone against half its swing, weighed by its swing squared:
    // l a - h b - (a^2 - b^2) / 2. The margins of both tones are equal, and
    // while the filters pass from one tone to the other the value crosses
    // zero halfway whatever the two swings, so the framer's edges and bit
    // instants do not move when one tone fades.
    return l * lowSwing - h * highSwing - 0.5f * (lowSwing * lowSwing - highSwing * highSwing);
}

}  // namespace modem
