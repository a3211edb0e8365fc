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

CarrierNotch::CarrierNotch(double workingRateHz)
    : m_rate(workingRateHz),
      m_weight(
          static_cast<float>(std::min(0.5, 2.0 * std::numbers::pi * kWidthHz / workingRateHz))) {}

void CarrierNotch::Set(std::span<const double> offsetsHz) {
    std::array<Slot, kMaxCarriers> next{};
    const std::size_t count = std::min(offsetsHz.size(), kMaxCarriers);
    for (std::size_t i = 0; i < count; ++i) {
        Slot& s = next[i];
        s.offsetHz = offsetsHz[i];
        s.turn = std::polar(1.0f, static_cast<float>(2.0 * std::numbers::pi * s.offsetHz / m_rate));
        for (std::size_t j = 0; j < m_count; ++j)
            if (std::abs(m_slots[j].offsetHz - s.offsetHz) < kSameCarrierHz)
                s.residue = m_slots[j].residue;
    }
    m_slots = next;
    m_count = count;
}

}  // namespace modem
