// Decision history with interpolated reads.
#include "bit_slicer.h"

#include <cmath>

namespace modem {

float BitSlicer::Sample(double t) const {
    const auto i = static_cast<std::int64_t>(std::floor(t));
    const float frac = static_cast<float>(t - static_cast<double>(i));
    const float a = At(i);
    const float b = i + 1 < m_end ? At(i + 1) : a;
    return a + (b - a) * frac;
}

double BitSlicer::FindFall(double from, float sign) const {
    std::int64_t i = static_cast<std::int64_t>(std::ceil(from));
    if (i < Begin() + 1) i = Begin() + 1;
    for (; i < m_end; ++i) {
        const float before = sign * At(i - 1);
        const float after = sign * At(i);
        if (before > 0.0f && after <= 0.0f)
            return static_cast<double>(i - 1) + before / (before - after);
    }
    return -1.0;
}

}  // namespace modem
