// Turns the two tone magnitudes into one decision value, positive when the
// lower tone is keyed and negative for the higher, with automatic threshold
// correction: the level of each tone when keyed and when not keyed is
// followed on its own, each tone is weighted by its own swing and the
// threshold sits halfway. With both tones alike this is the plain
// difference of the magnitudes; when selective fading takes one tone down for
// a while, the decision rests on the tone that is left.
#pragma once

namespace modem {

class Envelope {
  public:
    // bitSamples: working samples per bit; the levels are averaged over a few
    // bits from it.
    explicit Envelope(double bitSamples);

    float Step(float low, float high);
    void Reset();

  private:
    struct Levels {
        float on = 0.0f;   // magnitude while this tone is keyed
        float off = 0.0f;  // ... while the other one is
    };
    float m_weight;
    Levels m_low, m_high;
    bool m_lowKeyed = true;
};

}  // namespace modem
