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
      m_nco(nco_crcf_create(LIQUID_NCO)) {
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
    m_pending.reserve(kMaxBlock + m_decimation);
}

Downconverter::~Downconverter() {
    nco_crcf_destroy(m_nco);
    firdecim_crcf_destroy(m_decim);
}

void Downconverter::SetCentre(double centreHz) {
    m_centreHz = centreHz;
    nco_crcf_set_frequency(m_nco, static_cast<float>(2.0 * std::numbers::pi * centreHz / m_inRate));
}

void Downconverter::Reset() {
    firdecim_crcf_reset(m_decim);
    m_pending.clear();
}

void Downconverter::Process(std::span<const float> in, std::vector<std::complex<float>>& out) {
    // Mixed samples gather in m_pending; whole groups of m_decimation go
    // through the decimator, the rest waits for the next call.
    const std::size_t kept = m_pending.size();
    m_pending.resize(kept + in.size());
    for (std::size_t i = 0; i < in.size(); ++i) m_pending[kept + i] = in[i];
    nco_crcf_mix_block_down(m_nco, m_pending.data() + kept, m_pending.data() + kept,
                            static_cast<unsigned>(in.size()));
    const std::size_t groups = m_pending.size() / m_decimation;
    const std::size_t first = out.size();
    out.resize(first + groups);
    firdecim_crcf_execute_block(m_decim, m_pending.data(), static_cast<unsigned>(groups),
                                out.data() + first);
    const std::size_t used = groups * m_decimation;
    std::copy(m_pending.begin() + static_cast<std::ptrdiff_t>(used), m_pending.end(),
              m_pending.begin());
    m_pending.resize(m_pending.size() - used);
}

}  // namespace modem
