// A filter matched to one keyed tone: it sums exactly one bit's worth of
// baseband samples at the tone's offset, so its output magnitude at the end
// of a bit is the tone's energy over that bit (integrate and dump).
#pragma once

#include <complex>

#include "liquid_dsp.h"

namespace modem {

class ToneFilter {
  public:
    // offsetHz: the tone relative to the baseband centre; workingRateHz: the
    // rate of the samples fed; bitSamples: taps, one bit long (at least 1).
    ToneFilter(double offsetHz, double workingRateHz, int bitSamples);
    ~ToneFilter();
    ToneFilter(const ToneFilter&) = delete;
    ToneFilter& operator=(const ToneFilter&) = delete;

    // Takes one baseband sample; returns the magnitude of the tone over the
    // last bit, scaled so that a full-bit tone of amplitude a gives a.
    float Step(std::complex<float> x) {
        std::complex<float> y;
        firfilt_cccf_execute_one(m_filter, x, &y);
        return std::abs(y) * m_scale;
    }
    void Reset() { firfilt_cccf_reset(m_filter); }

  private:
    firfilt_cccf m_filter;
    float m_scale;
};

}  // namespace modem
