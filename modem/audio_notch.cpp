// Notches for real audio.
#include "audio_notch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace modem {

namespace {
constexpr double kWidthHz = 3.0;  // of each notch, at -3 dB
}

AudioNotch::AudioNotch(double sampleRateHz)
    : m_rate(sampleRateHz), m_radius(1.0 - std::numbers::pi * kWidthHz / sampleRateHz) {}

void AudioNotch::Set(std::span<const double> hz) {
    const std::size_t count = std::min(hz.size(), kMaxCarriers);
    // Notches are kept in frequency order so that one moving keeps its
    // section (and state) as long as the order holds.
    for (std::size_t i = count; i < m_count; ++i) m_sections[i] = {};
    for (std::size_t i = 0; i < count; ++i) {
        Section& s = m_sections[i];
        const double c = std::cos(2.0 * std::numbers::pi * hz[i] / m_rate);
        s.b1 = static_cast<float>(-2.0 * c);
        s.a1 = static_cast<float>(-2.0 * m_radius * c);
        s.a2 = static_cast<float>(m_radius * m_radius);
    }
    m_count = count;
}

}  // namespace modem
