// Makes the audio of an FSK teleprinter signal from line codes: the
// counterpart of the Demodulator, for tests, benchmarks and for checking a
// receiver. Continuous phase; bit timing exact to the sample rate.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "demodulator.h"
#include "frame_layout.h"
#include "liquid_dsp.h"

namespace modem {

struct ModSettings {
    DemodSettings line;        // baud, shift, framing; polarity Reverse puts mark above space
    double centreHz = 1500.0;  // midway between the tones
    float amplitude = 0.5f;    // peak value of the samples
    // 5-bit codes: FIGS goes ahead of the first character unless that is a
    // shift code itself. The Telex encoder starts in figures (a figure sent
    // first gets no FIGS) while a receiver starts in letters, so without it
    // a text that begins with figures is received in letters.
    bool announceShift = true;
};

class Modulator {
  public:
    Modulator(double sampleRateHz, const ModSettings& settings);
    ~Modulator();
    Modulator(const Modulator&) = delete;
    Modulator& operator=(const Modulator&) = delete;

    // Appends the samples of one frame per code (its low data bits are sent).
    void Send(std::span<const std::uint8_t> codes, std::vector<float>& out);
    // Appends `bits` bit times of steady mark (the idle line).
    void Idle(double bits, std::vector<float>& out);

  private:
    void Bits(double bits, bool mark, std::vector<float>& out);
    void Frame(std::uint8_t code, std::vector<float>& out);

    double m_rate;
    ModSettings m_settings;
    FrameLayout m_layout;
    nco_crcf m_nco;
    double m_markStep, m_spaceStep;  // radians per sample
    double m_clock = 0.0;            // bit times sent, against samples produced
    std::int64_t m_samples = 0;
    bool m_started = false;  // a character has been sent
};

}  // namespace modem
