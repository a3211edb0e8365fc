// The resampler's output of one call is at most ceil(ratio * n) + a few
// samples; the block is sized for that before each call.
#include "resampler.h"

#include <algorithm>
#include <cmath>

namespace modem {
namespace {

constexpr double kSlowOutputHz = 8000.0;
constexpr double kFastOutputHz = 48000.0;
constexpr float kStopbandDb = 60.0f;
constexpr unsigned kSemiLength = 13;  // filter taps each side, in output samples
constexpr unsigned kFilterBank = 64;
// The pass band ends short of the lower Nyquist frequency, so that what a
// faster input holds above it is filtered out rather than folded back.
constexpr float kPassShare = 0.45f;

}  // namespace

Resampler::Resampler(double inputRateHz) : m_outRate(inputRateHz) {
    if (inputRateHz >= kMinDemodRateHz && inputRateHz <= kMaxDemodRateHz) return;
    m_outRate = inputRateHz < kMinDemodRateHz ? kSlowOutputHz : kFastOutputHz;
    // liquid's multi-stage resampler is not used: its half-band design keeps
    // a search object it never frees (liquid-dsp 1.5).
    const auto rate = static_cast<float>(m_outRate / inputRateHz);
    m_resampler = resamp_rrrf_create(rate, kSemiLength, kPassShare * std::min(rate, 1.0f),
                                     kStopbandDb, kFilterBank);
}

Resampler::~Resampler() {
    if (m_resampler) resamp_rrrf_destroy(m_resampler);
}

void Resampler::Process(std::span<const float> in, std::vector<float>& out) {
    if (m_resampler == nullptr) {
        out.insert(out.end(), in.begin(), in.end());
        return;
    }
    const float rate = resamp_rrrf_get_rate(m_resampler);
    m_block.resize(static_cast<std::size_t>(std::ceil(rate * in.size())) + 16);
    unsigned written = 0;
    resamp_rrrf_execute_block(m_resampler, const_cast<float*>(in.data()),
                              static_cast<unsigned>(in.size()), m_block.data(), &written);
    out.insert(out.end(), m_block.begin(), m_block.begin() + written);
}

}  // namespace modem
