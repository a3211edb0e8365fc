// Turns the two tone magnitudes into one decision value, positive for mark
// (the lower tone) and negative for space, with automatic threshold
// correction: each tone's level and noise floor are followed on their own,
// so when selective fading takes one tone down for a while, the threshold
// moves with it and the decision survives on the tone that is left.
#pragma once

namespace modem {

class Envelope {
public:
    // bitSamples: working samples per bit; the trackers' time constants are
    // set in bits from it.
    explicit Envelope(double bitSamples);

    float Step(float low, float high);
    void Reset();

private:
    struct Tracker {
        float level = 0.0f;  // follows the tone's peaks
        float floor = 0.0f;  // follows its quiet moments
        void Step(float x, float fast, float slowLevel, float slowFloor);
    };
    float m_fast, m_slowLevel, m_slowFloor;
    Tracker m_low, m_high;
};

}  // namespace modem
