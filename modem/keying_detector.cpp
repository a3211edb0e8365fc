// Short-time spectrum of one bit, contrast statistics per bin pair.
#include "keying_detector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "demodulator.h"

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
    m_hop = std::max<std::size_t>(1, bit);
    m_binHz = rateHz / static_cast<double>(n);
    m_shiftBins = shiftHz / m_binHz;
    m_weight = static_cast<double>(m_hop) / (kAverageSeconds * rateHz);
    m_first = static_cast<std::size_t>(std::max(0.0, kSearchLowHz / m_binHz - 2.0));
    m_last = std::min(n / 2, static_cast<std::size_t>(kSearchHighHz / m_binHz + 3.0));
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
    m_plain.assign(n / 2, 0.0f);
    m_notched.assign(n / 2, 0.0f);
    for (Statistics& s : m_stats)
        for (auto* v :
             {&s.contrast, &s.contrastSq, &s.mean, &s.meanSq, &s.partner, &s.partnerSq, &s.cross})
            v->assign(n / 2, 0.0f);
}

KeyingDetector::~KeyingDetector() { fft_destroy_plan(m_plan); }

void KeyingDetector::Update() {
    m_filled = 0;
    const std::size_t bit = m_ring.size();
    // The first windows are part silence (the ring started empty).
    if (++m_seen * m_hop < bit) return;
    for (std::size_t i = 0, j = m_write; i < bit; ++i, j = j + 1 == bit ? 0 : j + 1)
        m_in[i] = m_ring[j] * m_window[i];
    fft_execute(m_plan);
    // Two real streams in one transform: the plain one is the part of the
    // spectrum with conjugate symmetry, the notched one the rest (over j).
    const std::size_t n = m_out.size();
    for (std::size_t k = m_first; k < m_last; ++k) {
        const std::complex<float> x = m_out[k], y = std::conj(m_out[(n - k) % n]);
        m_plain[k] = 0.5f * std::abs(x + y);
        m_notched[k] = 0.5f * std::abs(x - y);
    }
    // Average from the first update on, then over kAverageSeconds.
    ++m_updates;
    const auto w = static_cast<float>(std::max(m_weight, 1.0 / m_updates));
    Gather(m_stats[0], m_plain, w);
    Gather(m_stats[1], m_notched, w);
}

void KeyingDetector::Gather(Statistics& s, const std::vector<float>& magnitude, float w) {
    const auto whole = static_cast<std::size_t>(m_shiftBins);
    const auto frac = static_cast<float>(m_shiftBins - static_cast<double>(whole));
    for (std::size_t k = m_first; k < m_last; ++k) {
        const float p = magnitude[k];
        s.mean[k] += (p - s.mean[k]) * w;
        s.meanSq[k] += (p * p - s.meanSq[k]) * w;
        if (k + whole + 1 >= m_last) continue;
        const float q =
            magnitude[k + whole] + (magnitude[k + whole + 1] - magnitude[k + whole]) * frac;
        const float d = (p - q) / (p + q + 1e-30f);
        s.contrast[k] += (d - s.contrast[k]) * w;
        s.contrastSq[k] += (d * d - s.contrastSq[k]) * w;
        s.partner[k] += (q - s.partner[k]) * w;
        s.partnerSq[k] += (q * q - s.partnerSq[k]) * w;
        s.cross[k] += (p * q - s.cross[k]) * w;
    }
}

double KeyingDetector::Keying(Stream stream, double lowHz) const {
    const double pos = lowHz / m_binHz;
    if (pos < static_cast<double>(m_first) ||
        pos + m_shiftBins + 2.0 >= static_cast<double>(m_last))
        return 0.0;
    const Statistics& s = m_stats[stream == Stream::Plain ? 0 : 1];
    const auto k = static_cast<std::size_t>(pos);
    const double frac = pos - static_cast<double>(k);
    return (1.0 - frac) * Measure(s, k) + frac * Measure(s, k + 1);
}

double KeyingDetector::Correlation(const Statistics& s, std::size_t k) const {
    const double mean = s.mean[k], partner = s.partner[k];
    const double cov = static_cast<double>(s.cross[k]) - mean * partner;
    const double vp = static_cast<double>(s.meanSq[k]) - mean * mean;
    const double vq = static_cast<double>(s.partnerSq[k]) - partner * partner;
    // Bins that hold still (a steady tone without noise) have no
    // correlation to speak of; their variances are rounding errors.
    const double still = kStillShare * kStillShare;
    if (vp <= still * mean * mean || vq <= still * partner * partner) return 0.0;
    return cov / std::sqrt(vp * vq);
}

double KeyingDetector::Measure(const Statistics& s, std::size_t k) const {
    const double contrast = s.contrastSq[k] - s.contrast[k] * s.contrast[k];
    return std::max(contrast, -Correlation(s, k));
}

}  // namespace modem
