// Cuts the decision stream into asynchronous characters for one polarity:
// finds each start edge to a fraction of a sample, reads every bit at the
// instant its matched filter has seen the whole bit, and checks parity and
// the stop bits. Once frames pass, it keeps step with the sender (each start
// edge expected right after the last stop bits, nearby edges trimming the
// timing), so noise on one edge or bit does not lose the frame. Out of step,
// a failed frame is dropped and the search goes on right after its false
// edge. How often frames pass is kept as a score, which picks the polarity
// and mutes the output on noise.
#pragma once

#include <cstdint>

#include "bit_slicer.h"
#include "frame_layout.h"

namespace modem {

class CharacterFramer {
  public:
    // sign: +1 when the lower tone is mark, -1 when the higher one is.
    // bitSamples: working samples per bit (fractional); filterSamples: the
    // tone filters' length in samples.
    CharacterFramer(const FrameLayout& layout, double bitSamples, int filterSamples, float sign);

    enum class FrameKind { Pause, Valid, Failed };
    struct Frame {
        FrameKind kind = FrameKind::Pause;
        std::uint8_t code = 0;
        bool carries = false;  // `code` is a character to pass on
        // The soft decision: `code` with its least sure data bit turned over,
        // and that bit's reading over `strength` (0: a coin toss; about 1:
        // as sure as the frame's bits are on average).
        std::uint8_t alternative = 0;
        float margin = 0.0f;
        float strength = 0.0f;  // the mean size of the frame's bit readings
    };
    // Reads the next frame when `slicer` holds all of it; false when more
    // samples are needed first. A Pause is the sender's steady mark where
    // the next frame was expected.
    bool Next(const BitSlicer& slicer, Frame& frame);
    // The instant the next frame is looked for from (to take the framers of
    // both polarities in time order).
    double NextTime() const { return m_expected >= 0.0 ? m_expected : m_cursor; }
    void Reset();

    // Share of recent frames that were valid, 0..1 (0.5 before any frame).
    double Score() const { return m_score; }
    int Frames() const { return m_frames; }
    float Sign() const { return m_sign; }

  private:
    // Decodes the frame whose start edge is at `edge`; false when it is
    // invalid. `code` is set when only the stop bit is wrong.
    // Sets m_strength and the least sure data bit.
    bool ReadFrame(const BitSlicer& slicer, double edge, std::uint8_t& code,
                   bool checkStart = true);
    void Count(bool valid);
    // Hunts for a start edge from m_cursor; false when the slicer holds too little.
    bool Hunt(const BitSlicer& slicer, Frame& frame);
    double Align(const BitSlicer& slicer, double fall) const;
    // Reads the frame expected right after the last one; false when the
    // slicer holds too little.
    bool Follow(const BitSlicer& slicer, Frame& frame);
    void Accept(double edge, bool valid, std::uint8_t code, bool carries, Frame& frame);

    FrameLayout m_layout;
    double m_bit;
    double m_bitEnd;  // from a start edge to the end of the start bit in the filter output
    float m_sign;
    double m_frameSpan;  // from a start edge to the last stop-bit reading
    double m_cursor = 0.0;
    double m_expected = -1.0;  // the next start edge while in step with the sender
    int m_misses = 0;          // invalid frames in a row while in step
    float m_level = 0.0f;      // usual size of a start-bit reading
    float m_strength = 0.0f;   // the mean size of the last frame's readings
    int m_doubtBit = 0;        // ... its least sure data bit
    float m_doubt = 0.0f;      // ... and that bit's reading (its size)
    double m_score = 0.5;
    int m_frames = 0;
};

}  // namespace modem
