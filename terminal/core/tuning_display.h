// What the tuning strip shows, worked out without widgets: the colour level
// of each spectrum bin on a fixed dB scale over the band's noise floor, and
// the readout of what the demodulator follows.
#pragma once

#include <string>
#include <vector>

#include "demodulator.h"

namespace dovrel {

// Waterfall colour levels: 0 at kBelowFloorDb under the noise floor, 1 at
// kRangeDb over that. The floor is the median level of the band, followed
// over a few rows, so silence and noise stay dark and a signal stands out by
// its level, not by being the loudest thing of its row.
class WaterfallScale {
  public:
    static constexpr float kBelowFloorDb = 6.0f;
    static constexpr float kRangeDb = 46.0f;
    static constexpr float kFloorWeight = 0.15f;  // share of a new row's median in the floor

    // Levels 0..1 of `bins` (dB) into `levels`; the row's median moves the
    // floor first (the first row sets it).
    void Levels(const std::vector<float>& bins, std::vector<float>& levels);
    float FloorDb() const { return m_floorDb; }
    void Reset() { m_started = false; }

  private:
    float m_floorDb = 0.0f;
    bool m_started = false;
    std::vector<float> m_sorted;
};

// The signal-quality meter spans these S/N figures (in 3 kHz, as the
// demodulator estimates it): empty where copy fails, full for a clean signal.
inline constexpr double kMeterEmptyDb = -10.0;
inline constexpr double kMeterFullDb = 30.0;

struct TuningReadout {
    bool locked = false;
    std::string state;     // "LOCKED" or "SEARCHING"
    std::string tones;     // "Mark 2125 Hz  Space 1675 Hz  Shift 450 Hz" or what is looked for
    std::string polarity;  // "Normal", "Reverse", with " (found)" when found by itself
    std::string snr;       // "S/N 18 dB", "S/N --" while searching
    double meter = 0.0;    // 0..1: the S/N from kMeterEmptyDb to kMeterFullDb
};

// `polarityChoice`: 0 found by the demodulator, 1 normal, 2 reverse.
TuningReadout ReadoutOf(const modem::TuningState& tuning, int shiftHz, int polarityChoice);

}  // namespace dovrel
