// The resampler's output of one call is at most ceil(ratio * n) + a few
// samples; the block is sized for that before each call.
#include "resampler.h"

#include <cmath>

namespace modem {
namespace {

constexpr double kSlowOutputHz = 8000.0;
constexpr double kFastOutputHz = 48000.0;
constexpr float kStopbandDb = 60.0f;

}  // namespace

Resampler::Resampler(double inputRateHz) : m_outRate(inputRateHz) {
    if (inputRateHz >= kMinDemodRateHz && inputRateHz <= kMaxDemodRateHz) return;
    m_outRate = inputRateHz < kMinDemodRateHz ? kSlowOutputHz : kFastOutputHz;
    m_resampler = msresamp_rrrf_create(static_cast<float>(m_outRate / inputRateHz), kStopbandDb);
}

Resampler::~Resampler() {
    if (m_resampler) msresamp_rrrf_destroy(m_resampler);
}

void Resampler::Process(std::span<const float> in, std::vector<float>& out) {
    if (m_resampler == nullptr) {
        out.insert(out.end(), in.begin(), in.end());
        return;
    }
    const float rate = msresamp_rrrf_get_rate(m_resampler);
    m_block.resize(static_cast<std::size_t>(std::ceil(rate * in.size())) + 16);
    unsigned written = 0;
    msresamp_rrrf_execute(m_resampler, const_cast<float*>(in.data()),
                          static_cast<unsigned>(in.size()), m_block.data(), &written);
    out.insert(out.end(), m_block.begin(), m_block.begin() + written);
}

}  // namespace modem
