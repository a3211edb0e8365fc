// Takes steady carriers out of real audio before the tuner looks for keying:
// one second-order notch a few hertz wide per carrier, so a carrier on or
// beside a tone no longer hides how that tone is keyed.
#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace modem {

class AudioNotch {
  public:
    static constexpr std::size_t kMaxCarriers = 8;

    explicit AudioNotch(double sampleRateHz);
    // The carriers' frequencies; a notch that moves keeps its state (the
    // carrier stays cancelled while its estimate is refined); more than
    // kMaxCarriers: the first ones.
    void Set(std::span<const double> hz);

    float Step(float x) {
        for (std::size_t i = 0; i < m_count; ++i) {
            Section& s = m_sections[i];
            // Direct form II transposed: zeros on the unit circle, poles just inside.
            const float y = x + s.z1;
            s.z1 = s.b1 * x - s.a1 * y + s.z2;
            s.z2 = x - s.a2 * y;
            x = y;
        }
        return x;
    }

  private:
    struct Section {
        float b1 = 0.0f, a1 = 0.0f, a2 = 0.0f;  // b0 = b2 = 1
        float z1 = 0.0f, z2 = 0.0f;
    };
    double m_rate;
    double m_radius;  // of the poles
    std::array<Section, kMaxCarriers> m_sections{};
    std::size_t m_count = 0;
};

}  // namespace modem
