// Cuts the decision stream into asynchronous characters for one polarity:
// finds each start edge to a fraction of a sample, reads every bit at the
// instant its matched filter has seen the whole bit, and checks parity and
// the stop bit. A frame that fails is dropped and the search for a start
// edge goes on right after the false one. How often frames pass is kept as
// a score, which picks the polarity and mutes the output on noise.
#pragma once

#include <cstdint>
#include <vector>

#include "bit_slicer.h"
#include "frame_layout.h"

namespace modem {

class CharacterFramer {
public:
    // sign: +1 when the lower tone is mark, -1 when the higher one is.
    // bitSamples: working samples per bit (fractional); filterSamples: the
    // tone filters' length in samples.
    CharacterFramer(const FrameLayout& layout, double bitSamples, int filterSamples, float sign);

    // Reads every frame that `slicer` now holds completely and appends the
    // characters of valid frames to `out`.
    void Step(const BitSlicer& slicer, std::vector<std::uint8_t>& out);
    void Reset();

    // Share of recent frames that were valid, 0..1 (0.5 before any frame).
    double Score() const { return m_score; }
    int Frames() const { return m_frames; }
    float Sign() const { return m_sign; }

private:
    // Decodes the frame whose start edge is at `edge`; false when it is invalid.
    bool ReadFrame(const BitSlicer& slicer, double edge, std::uint8_t& code) const;
    void Count(bool valid);

    FrameLayout m_layout;
    double m_bit;
    double m_bitEnd;  // from a start edge to the end of the start bit in the filter output
    float m_sign;
    double m_cursor = 0.0;
    double m_score = 0.5;
    int m_frames = 0;
};

}  // namespace modem
