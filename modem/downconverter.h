// Moves the tone pair's centre to 0 Hz and lowers the sample rate to the
// working rate of the tone filters: an NCO mixer and a decimating low-pass.
#pragma once

#include <complex>
#include <cstddef>
#include <span>
#include <vector>

#include "liquid_dsp.h"

namespace modem {

class Downconverter {
  public:
    // sampleRateHz: input rate; passbandHz: the widest baseband frequency that
    // must pass (half the shift plus the keying sidebands); minRateHz: the
    // lowest acceptable working rate. The decimation is the largest integer
    // that keeps the working rate at or above minRateHz.
    Downconverter(double sampleRateHz, double passbandHz, double minRateHz);
    ~Downconverter();
    Downconverter(const Downconverter&) = delete;
    Downconverter& operator=(const Downconverter&) = delete;

    double WorkingRateHz() const { return m_inRate / m_decimation; }
    void SetCentre(double centreHz);
    double Centre() const { return m_centreHz; }
    void Reset();

    // Largest block Process() takes without allocating.
    static constexpr std::size_t kMaxBlock = 4096;
    // Mixes and decimates `in`; appends one complex sample per `decimation`
    // input samples to `out` (whose capacity the caller reserves).
    void Process(std::span<const float> in, std::vector<std::complex<float>>& out);

  private:
    double m_inRate;
    unsigned m_decimation;
    double m_centreHz = 0.0;
    nco_crcf m_nco;
    firdecim_crcf m_decim;
    std::vector<std::complex<float>> m_pending;  // mixed samples not yet decimated
};

}  // namespace modem
