// Brings audio of any sample rate into the range the demodulator takes: a
// rate inside kMinDemodRateHz..kMaxDemodRateHz passes as it is (the
// demodulator's own decimators bring it down), any other is resampled by
// liquid-dsp's arbitrary-rate polyphase resampler.
#pragma once

#include <span>
#include <vector>

#include "liquid_dsp.h"

namespace modem {

// Input rates the demodulator decodes directly.
inline constexpr double kMinDemodRateHz = 8000.0;
inline constexpr double kMaxDemodRateHz = 192000.0;

class Resampler {
  public:
    // inputRateHz above 0.
    explicit Resampler(double inputRateHz);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // The rate of what Process() gives: the input rate when it needs no
    // resampling, else 8000 (slower inputs) or 48000 (faster ones).
    double OutputRateHz() const { return m_outRate; }
    // Appends `in` at the output rate to `out`.
    void Process(std::span<const float> in, std::vector<float>& out);

  private:
    double m_outRate;
    resamp_rrrf m_resampler = nullptr;  // none when the rate passes as it is
    std::vector<float> m_block;
};

}  // namespace modem
