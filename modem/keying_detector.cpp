// Short-time spectrum of one bit, contrast statistics per bin pair.
#include "keying_detector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace modem {

namespace {
constexpr double kAverageSeconds = 1.2;  // the statistics follow about this much signal
constexpr std::size_t kMinFft = 64;
constexpr double kStillShare =
    0.1;  // a bin whose spread is below this share of its mean holds still
constexpr double kMainLobeShifts = 3.0;  // the window is at least 3 / shift long
}  // namespace

KeyingDetector::KeyingDetector(double rateHz, double baud, double shiftHz) {
    // One bit, but long enough that the window's main lobe (two bins of the
    // window each side) does not reach the other tone.
    const auto bit = static_cast<std::size_t>(
        std::max(2.0, std::round(std::max(rateHz / baud, kMainLobeShifts * rateHz / shiftHz))));
    std::size_t n = kMinFft;
    while (n < bit) n *= 2;
    m_hop = std::max<std::size_t>(1, bit / 2);
    m_binHz = rateHz / static_cast<double>(n);
    m_shiftBins = shiftHz / m_binHz;
    m_weight = static_cast<double>(m_hop) / (kAverageSeconds * rateHz);
    m_ring.assign(bit, 0.0f);
    // A Hann window: a carrier beside a tone must not leak into its bin.
    for (std::size_t i = 0; i < bit; ++i)
        m_window.push_back(static_cast<float>(
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (static_cast<double>(i) + 0.5) /
                                 static_cast<double>(bit))));
    m_in.assign(n, 0.0f);
    m_out.resize(n);
    m_plan =
        fft_create_plan(static_cast<unsigned>(n), m_in.data(), m_out.data(), LIQUID_FFT_FORWARD, 0);
    m_power.assign(n / 2, 0.0f);
    m_contrast.assign(n / 2, 0.0f);
    m_contrastSq.assign(n / 2, 0.0f);
    m_mean.assign(n / 2, 0.0f);
    m_meanSq.assign(n / 2, 0.0f);
    m_partner.assign(n / 2, 0.0f);
    m_partnerSq.assign(n / 2, 0.0f);
    m_cross.assign(n / 2, 0.0f);
}

KeyingDetector::~KeyingDetector() { fft_destroy_plan(m_plan); }

void KeyingDetector::Update() {
    m_filled = 0;
    const std::size_t bit = m_ring.size();
    // The first windows are part silence (the ring started empty).
    if (++m_seen * m_hop < bit) return;
    for (std::size_t i = 0; i < bit; ++i) m_in[i] = m_ring[(m_write + i) % bit] * m_window[i];
    fft_execute(m_plan);
    const std::size_t half = m_power.size();
    for (std::size_t k = 0; k < half; ++k) m_power[k] = std::abs(m_out[k]);
    // Average from the first update on, then over kAverageSeconds.
    ++m_updates;
    const auto w = static_cast<float>(std::max(m_weight, 1.0 / m_updates));
    const auto whole = static_cast<std::size_t>(m_shiftBins);
    const auto frac = static_cast<float>(m_shiftBins - static_cast<double>(whole));
    for (std::size_t k = 0; k < half; ++k) {
        const float p = m_power[k];
        m_mean[k] += (p - m_mean[k]) * w;
        m_meanSq[k] += (p * p - m_meanSq[k]) * w;
        if (k + whole + 1 >= half) continue;
        const float q = m_power[k + whole] + (m_power[k + whole + 1] - m_power[k + whole]) * frac;
        const float d = (p - q) / (p + q + 1e-30f);
        m_contrast[k] += (d - m_contrast[k]) * w;
        m_contrastSq[k] += (d * d - m_contrastSq[k]) * w;
        m_partner[k] += (q - m_partner[k]) * w;
        m_partnerSq[k] += (q * q - m_partnerSq[k]) * w;
        m_cross[k] += (p * q - m_cross[k]) * w;
    }
}

double KeyingDetector::Keying(double lowHz) const {
    const double pos = lowHz / m_binHz;
    if (pos < 0.0 || pos + m_shiftBins + 2.0 >= static_cast<double>(m_power.size())) return 0.0;
    const auto k = static_cast<std::size_t>(pos);
    const double frac = pos - static_cast<double>(k);
    return (1.0 - frac) * Measure(k) + frac * Measure(k + 1);
}

double KeyingDetector::Correlation(std::size_t k) const {
    const double cov =
        static_cast<double>(m_cross[k]) - static_cast<double>(m_mean[k]) * m_partner[k];
    const double vp = static_cast<double>(m_meanSq[k]) - static_cast<double>(m_mean[k]) * m_mean[k];
    const double vq =
        static_cast<double>(m_partnerSq[k]) - static_cast<double>(m_partner[k]) * m_partner[k];
    // Bins that hold still (a steady tone without noise) have no
    // correlation to speak of; their variances are rounding errors.
    const double still = kStillShare * kStillShare;
    if (vp <= still * m_mean[k] * m_mean[k] || vq <= still * m_partner[k] * m_partner[k])
        return 0.0;
    return cov / std::sqrt(vp * vq);
}

double KeyingDetector::Measure(std::size_t k) const {
    const double contrast = m_contrastSq[k] - m_contrast[k] * m_contrast[k];
    return std::max(contrast, -Correlation(k));
}

}  // namespace modem
