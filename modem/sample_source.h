// Where demodulator input comes from: mono float samples at a fixed rate,
// read in blocks until the end.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace modem {

class SampleSource {
  public:
    virtual ~SampleSource() = default;
    // Fills up to samples.size() values (about -1..1); returns how many. 0 is
    // the end, or a failure when Error() is not empty.
    virtual std::size_t Read(std::span<float> samples) = 0;
    virtual double SampleRate() const = 0;
    // Why the source failed (opening or reading), with the system's text;
    // empty while all is well.
    virtual const std::string& Error() const = 0;
};

}  // namespace modem
