// Waterfall levels and the tuning readout.
#include "tuning_display.h"

#include <algorithm>
#include <cmath>

namespace dovrel {

void WaterfallScale::Levels(const std::vector<float>& bins, std::vector<float>& levels) {
    levels.assign(bins.size(), 0.0f);
    if (bins.empty()) return;
    m_sorted = bins;
    const auto mid = m_sorted.begin() + static_cast<std::ptrdiff_t>(m_sorted.size() / 2);
    std::nth_element(m_sorted.begin(), mid, m_sorted.end());
    m_floorDb = m_started ? m_floorDb + (*mid - m_floorDb) * kFloorWeight : *mid;
    m_started = true;
    const float bottom = m_floorDb - kBelowFloorDb;
    for (std::size_t i = 0; i < bins.size(); ++i)
        levels[i] = std::clamp((bins[i] - bottom) / kRangeDb, 0.0f, 1.0f);
}

TuningReadout ReadoutOf(const modem::TuningState& tuning, int shiftHz, int polarityChoice) {
    TuningReadout r;
    r.locked = tuning.locked;
    if (!tuning.locked) {
        r.state = "SEARCHING";
        r.tones = "Looking for a " + std::to_string(shiftHz) + " Hz pair";
        r.snr = "S/N --";
        return r;
    }
    const auto hz = [](double f) { return std::to_string(std::lround(f)) + " Hz"; };
    r.state = "LOCKED";
    r.tones = "Mark " + hz(tuning.markHz) + "   Space " + hz(tuning.spaceHz) + "   Shift " +
              hz(std::abs(tuning.markHz - tuning.spaceHz));
    r.polarity = tuning.reversed ? "Reverse" : "Normal";
    if (polarityChoice == 0) r.polarity += tuning.receiving ? " (found)" : " (looking)";
    r.snr = "S/N " + std::to_string(std::lround(tuning.snrDb)) + " dB";
    r.meter = std::clamp((tuning.snrDb - kMeterEmptyDb) / (kMeterFullDb - kMeterEmptyDb), 0.0, 1.0);
    return r;
}

}  // namespace dovrel
