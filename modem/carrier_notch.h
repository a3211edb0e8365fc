// Takes steady carriers out of the baseband before the tone filters: for each
// carrier a narrow canceller (a one-pole resonator at its frequency whose
// output is subtracted), a few hertz wide, so the keying sidebands of a tone
// beside it pass. A carrier on a tone is learnt only while the other tone is
// keyed, from samples half a bit old (those the tone filters' last output
// speaks for): the canceller then follows the carrier alone and leaves the
// tone under it.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <span>
#include <vector>

namespace modem {

class CarrierNotch {
  public:
    static constexpr std::size_t kMaxCarriers = 4;
    // What a canceller learns from.
    enum class Learn {
        Always,          // a carrier away from the tones
        WhileHighKeyed,  // a carrier on the lower tone
        WhileLowKeyed,   // a carrier on the higher tone
    };
    struct Carrier {
        double offsetHz;  // from the baseband centre
        Learn learn;
    };

    // bitSamples: working samples per bit.
    CarrierNotch(double workingRateHz, double bitSamples);
    // A carrier already notched (same offset and kind) keeps its state, the
    // others start afresh; more than kMaxCarriers: the first ones.
    void Set(std::span<const Carrier> carriers);
    // What the cancellers learn from, one entry per sample: the input and
    // whether each tone was keyed (as Step() was told).
    struct Record {
        std::vector<std::complex<float>> input;
        std::vector<std::uint8_t> keyed;  // bit 0: lower tone, bit 1: higher tone
    };
    // Keeps what Step() sees in `record` from now on (null: nothing).
    void Keep(Record* record) { m_record = record; }
    // Learns the recorded input once more, from its end back to its start,
    // so that the cancellers stand at the carriers' state before its first
    // sample (to run the same input again): learnt near the start itself,
    // not turned back over seconds, where a small error in a carrier's
    // frequency would leave a stale phase.
    void LearnBackwards(const Record& record);

    // lowKeyed, highKeyed: each tone, judged by itself, is clearly keyed now.
    std::complex<float> Step(std::complex<float> z, bool lowKeyed, bool highKeyed) {
        if (m_record) {
            m_record->input.push_back(z);
            m_record->keyed.push_back(
                static_cast<std::uint8_t>((lowKeyed ? 1 : 0) | (highKeyed ? 2 : 0)));
        }
        if (m_count == 0) return z;
        const std::complex<float> old = m_delay[m_at];
        m_delay[m_at] = z;
        m_at = m_at + 1 == m_delay.size() ? 0 : m_at + 1;
        for (std::size_t i = 0; i < m_count; ++i) {
            Slot& s = m_slots[i];
            const std::complex<float> predicted = s.residue * s.turn;
            switch (s.carrier.learn) {
                case Learn::Always:
                    s.residue = predicted + m_weight * (z - predicted);
                    break;
                case Learn::WhileHighKeyed:
                case Learn::WhileLowKeyed:
                    s.residue = (s.carrier.learn == Learn::WhileHighKeyed ? highKeyed : lowKeyed)
                                    ? predicted + m_weight * (old - predicted * s.back) * s.ahead
                                    : predicted;
                    break;
            }
            z -= predicted;
        }
        return z;
    }

  private:
    struct Slot {
        Carrier carrier{0.0, Learn::Always};
        std::complex<float> turn{1.0f, 0.0f};   // one sample's rotation at the offset
        std::complex<float> back{1.0f, 0.0f};   // the rotation over the learning delay, undone
        std::complex<float> ahead{1.0f, 0.0f};  // ... and done
        std::complex<float> residue{};          // the carrier as followed so far
    };
    double m_rate;
    float m_weight;
    std::vector<std::complex<float>> m_delay;  // the last half bit of input
    std::size_t m_at = 0;
    std::array<Slot, kMaxCarriers> m_slots{};
    std::size_t m_count = 0;
    Record* m_record = nullptr;
};

}  // namespace modem
