// Mixer and decimator in front of the tone filters.
#include "downconverter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace modem {

namespace {
constexpr float kStopbandDb = 60.0f;
}

Downconverter::Downconverter(double sampleRateHz, double passbandHz, double minRateHz)
    : m_inRate(sampleRateHz),
      m_decimation(std::max(1u, static_cast<unsigned>(sampleRateHz / minRateHz))),
      m_nco(nco_crcf_create(LIQUID_VCO)) {
    // Aliases fold back into the passband from (working rate - passband) on.
    const double workRate = m_inRate / m_decimation;
    const double stopHz = std::max(workRate - passbandHz, passbandHz * 1.2);
    const float cutoff = static_cast<float>(0.5 * (passbandHz + stopHz) / m_inRate);
    const float transition =
        std::clamp(static_cast<float>((stopHz - passbandHz) / m_inRate), 0.002f, 0.45f);
    unsigned taps = estimate_req_filter_len(transition, kStopbandDb);
    taps = std::max(taps, 2 * m_decimation + 1) | 1u;
    std::vector<float> h(taps);
    liquid_firdes_kaiser(taps, std::min(cutoff, 0.49f), kStopbandDb, 0.0f, h.data());
    float sum = 0.0f;
    for (float v : h) sum += v;
    for (float& v : h) v /= sum;
    m_decim = firdecim_crcf_create(m_decimation, h.data(), taps);
    m_pending.reserve(m_decimation);
}

Downconverter::~Downconverter() {
    nco_crcf_destroy(m_nco);
    firdecim_crcf_destroy(m_decim);
}

void Downconverter::SetCentre(double centreHz) {
    m_centreHz = centreHz;
    nco_crcf_set_frequency(m_nco,
                           static_cast<float>(2.0 * std::numbers::pi * centreHz / m_inRate));
}

void Downconverter::Reset() {
    firdecim_crcf_reset(m_decim);
    m_pending.clear();
}

void Downconverter::Process(std::span<const float> in, std::vector<std::complex<float>>& out) {
    for (float x : in) {
        std::complex<float> y;
        nco_crcf_mix_down(m_nco, std::complex<float>(x, 0.0f), &y);
        nco_crcf_step(m_nco);
        m_pending.push_back(y);
        if (m_pending.size() == m_decimation) {
            std::complex<float> z;
            firdecim_crcf_execute(m_decim, m_pending.data(), &z);
            out.push_back(z);
            m_pending.clear();
        }
    }
}

}  // namespace modem
