// Takes steady carriers out of the baseband before the tone filters: for each
// carrier a narrow canceller (a one-pole resonator at its frequency whose
// output is subtracted), a few hertz wide, so the keying sidebands of a tone
// beside it pass.
#pragma once

#include <array>
#include <complex>
#include <span>

namespace modem {

class CarrierNotch {
  public:
    static constexpr std::size_t kMaxCarriers = 4;

    explicit CarrierNotch(double workingRateHz);
    // The carriers' offsets from the baseband centre; a carrier already
    // notched keeps its state, the others start afresh; more than
    // kMaxCarriers: the first ones.
    void Set(std::span<const double> offsetsHz);

    std::complex<float> Step(std::complex<float> z) {
        for (std::size_t i = 0; i < m_count; ++i) {
            Slot& s = m_slots[i];
            const std::complex<float> predicted = s.residue * s.turn;
            z -= predicted;
            s.residue = predicted + m_weight * z;
        }
        return z;
    }

  private:
    struct Slot {
        double offsetHz = 0.0;
        std::complex<float> turn{1.0f, 0.0f};  // one sample's rotation at the offset
        std::complex<float> residue{};         // the carrier as followed so far
    };
    double m_rate;
    float m_weight;
    std::array<Slot, kMaxCarriers> m_slots{};
    std::size_t m_count = 0;
};

}  // namespace modem
