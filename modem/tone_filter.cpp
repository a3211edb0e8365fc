// Matched filter for one tone.
#include "tone_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace modem {

ToneFilter::ToneFilter(double offsetHz, double workingRateHz, int bitSamples) {
    const int n = std::max(1, bitSamples);
    // Tap k meets the sample k steps back, so e^{+jwk} undoes the tone's turn.
    std::vector<std::complex<float>> h(static_cast<std::size_t>(n));
    const double w = 2.0 * std::numbers::pi * offsetHz / workingRateHz;
    for (int k = 0; k < n; ++k)
        h[static_cast<std::size_t>(k)] = std::polar(1.0f, static_cast<float>(w * k));
    m_filter = firfilt_cccf_create(h.data(), static_cast<unsigned>(n));
    m_scale = 1.0f / static_cast<float>(n);
}

ToneFilter::~ToneFilter() { firfilt_cccf_destroy(m_filter); }

}  // namespace modem
