// Carrier cancellers.
#include "carrier_notch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace modem {

namespace {
constexpr double kWidthHz = 3.0;        // of each notch
constexpr double kSameCarrierHz = 3.0;  // a carrier moved less than this is the same one
}  // namespace

CarrierNotch::CarrierNotch(double workingRateHz, double bitSamples)
    : m_rate(workingRateHz),
      m_weight(
          static_cast<float>(std::min(0.5, 2.0 * std::numbers::pi * kWidthHz / workingRateHz))),
      m_delay(static_cast<std::size_t>(std::max(1L, std::lround(0.5 * bitSamples)))) {}

void CarrierNotch::Set(std::span<const Carrier> carriers) {
    std::array<Slot, kMaxCarriers> next{};
    const std::size_t count = std::min(carriers.size(), kMaxCarriers);
    const auto delay = static_cast<float>(m_delay.size());
    for (std::size_t i = 0; i < count; ++i) {
        Slot& s = next[i];
        s.carrier = carriers[i];
        const double step = 2.0 * std::numbers::pi * s.carrier.offsetHz / m_rate;
        s.turn = std::polar(1.0f, static_cast<float>(step));
        s.ahead = std::polar(1.0f, static_cast<float>(step) * delay);
        s.back = std::conj(s.ahead);
        for (std::size_t j = 0; j < m_count; ++j)
            if (m_slots[j].carrier.learn == s.carrier.learn &&
                std::abs(m_slots[j].carrier.offsetHz - s.carrier.offsetHz) < kSameCarrierHz)
                s.residue = m_slots[j].residue;
    }
    m_slots = next;
    m_count = count;
}

// Backwards, a slot's carrier turns the other way, and a sample whose tone
// flag lies the learning delay later is one the forward canceller learnt.
void CarrierNotch::LearnBackwards(const Record& record) {
    const std::size_t n = record.input.size();
    const std::size_t delay = m_delay.size();
    for (std::size_t i = 0; i < m_count; ++i) {
        Slot& s = m_slots[i];
        const std::complex<float> back = std::conj(s.turn);
        const std::uint8_t flag = s.carrier.learn == Learn::WhileHighKeyed  ? 2
                                  : s.carrier.learn == Learn::WhileLowKeyed ? 1
                                                                            : 0;
        std::complex<float> carrier = s.residue;  // at the last sample
        for (std::size_t m = n; m-- > 0;) {
            const bool learn =
                flag == 0 || (m + delay < n && (record.keyed[m + delay] & flag) != 0);
            if (learn) carrier += m_weight * (record.input[m] - carrier);
            carrier *= back;
        }
        s.residue = carrier;  // before the first sample
    }
    std::fill(m_delay.begin(), m_delay.end(), std::complex<float>{});
    m_at = 0;
}

}  // namespace modem
