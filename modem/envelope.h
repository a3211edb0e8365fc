// Turns the two tone magnitudes into one soft decision, positive when the
// lower tone is keyed and negative for the higher, that does not depend on
// the signal's level: automatic threshold correction over per-tone
// envelopes. Each tone has a peak envelope (fast attack; decay within two
// bits while the tone is keyed, within four while it is not) and a floor
// (fast to fall, slow to rise while the tone is off); a tone's magnitude
// is clipped between them and weighed by its own swing, and the threshold
// sits halfway. So the level of a tone is forgotten about as fast as the tone
// fades, and when one tone fades out the decision rests on the other alone
// (a mark-only or space-only decision).
#pragma once

namespace modem {

class Envelope {
  public:
    // bitSamples: working samples per bit; the time constants are in bits.
    explicit Envelope(double bitSamples);

    float Step(float low, float high);
    void Reset();
    // Each tone judged by itself at the last step: it stands clearly above
    // the middle of its swing and far above its floor (while the sender
    // idles, the other tone is noise whose peaks pass the first test).
    bool LowKeyed() const { return m_lowKeyed; }
    bool HighKeyed() const { return m_highKeyed; }

  private:
    float Decide(float difference, float l, float h, float lowSwing, float highSwing) const;
    struct Tone {
        float peak = 0.0f;   // envelope: the magnitude while keyed
        float floor = 0.0f;  // the magnitude while not keyed (noise)
        // Follows `x`; returns the clipped magnitude over the floor. The
        // floor rises only while the tone is `off` by the last decision:
        // through a long mark (the idle line) it stays at the noise.
        float Follow(float x, bool off, const Envelope& e);
    };
    float m_attack, m_decay, m_follow, m_floorFall, m_floorRise;
    Tone m_low, m_high;
    bool m_lowKeyed = false, m_highKeyed = false;
    float m_last = 0.0f;  // the last decision
};

}  // namespace modem
