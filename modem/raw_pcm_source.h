// Samples from a stream of raw signed 16-bit little-endian mono PCM at a
// rate the user gives, as SDR programs write it to a pipe.
#pragma once

#include <cstdint>
#include <vector>

#include "sample_source.h"

namespace modem {

class RawPcmSource : public SampleSource {
  public:
    // Reads from `fd` (not closed here) at sampleRateHz.
    RawPcmSource(int fd, double sampleRateHz);

    std::size_t Read(std::span<float> samples) override;
    double SampleRate() const override { return m_rate; }
    const std::string& Error() const override { return m_error; }

  private:
    int m_fd;
    double m_rate;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_held = 0;  // bytes of a sample split between two reads
    std::string m_error;
};

}  // namespace modem
