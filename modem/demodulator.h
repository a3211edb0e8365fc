// The FSK demodulator: turns mono audio samples into line characters, one
// byte per received character, exactly as a terminal unit puts them on a
// serial line, so the reception path after it is the same for both.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace modem {

enum class Polarity { Normal, Reverse, Automatic };
enum class Parity { None, Even, Odd, Mark, Space };

// What a listener may set; every value has a working default (the 50-baud
// weather broadcasts: 450 Hz shift, 1.5 stop bits, polarity found by itself).
struct DemodSettings {
    double baud = 50.0;            // 45.45 .. 300
    double shiftHz = 450.0;        // distance between the two tones
    double stopBits = 1.5;         // 1, 1.5 or 2
    int dataBits = 5;              // 5 (ITA2) or 7/8 (ASCII)
    Parity parity = Parity::None;  // ASCII only; checked bits are not returned
    Polarity polarity = Polarity::Automatic;
    // 5-bit codes only: a group of characters that reads only in the other
    // shift (figures whose FIGS was lost) is given that shift code.
    bool mendShifts = true;
};

// What the demodulator has found: shown to the listener and in the tuning strip.
struct TuningState {
    bool locked = false;  // a signal of the configured shift is being followed
    double markHz = 0.0;  // tone frequencies, valid while locked
    double spaceHz = 0.0;
    bool reversed = false;   // mark above space (reverse sense) in use
    bool receiving = false;  // characters are passing: squelch open, polarity chosen
    bool fixed = false;      // the listener fixed the pair (TuneTo) and it is held
    double snrDb = 0.0;      // of the pair followed, in 3 kHz (an estimate), valid while locked
};

// Search range for the tone pair.
inline constexpr double kSearchLowHz = 300.0;
inline constexpr double kSearchHighHz = 3300.0;
// Bins of Spectrum(): equally spaced over kSearchLowHz..kSearchHighHz.
inline constexpr int kSpectrumBins = 256;

class Demodulator {
  public:
    // sampleRateHz: 8000 .. 48000.
    explicit Demodulator(double sampleRateHz, const DemodSettings& settings = {});
    ~Demodulator();
    Demodulator(const Demodulator&) = delete;
    Demodulator& operator=(const Demodulator&) = delete;

    // Changes baud, shift, framing or polarity; keeps following the signal
    // where the new shift allows.
    void Configure(const DemodSettings& settings);
    const DemodSettings& Settings() const;
    // Fixes the tone pair at centreHz (a click in the tuning strip): only a
    // keyed pair there is received and followed (drift too), whatever else
    // is stronger, until the next TuneTo() or Release().
    void TuneTo(double centreHz);
    // Lets the search take the strongest keyed pair of the band again.
    void Release();

    // Feeds samples (any block size, values about -1..1) and appends the line
    // code of each character received to `out`. Noise alone gives nothing.
    // With mendShifts, the characters of a group whose shift is in doubt
    // come out when the group ends (a space, a line end, a pause of the
    // sender, at most 14 codes) or at Flush().
    void Process(std::span<const float> samples, std::vector<std::uint8_t>& out);
    // Appends what is held back to `out`: at the end of the input.
    void Flush(std::vector<std::uint8_t>& out);

    TuningState Tuning() const;
    // Level of the recent audio in dB, kSpectrumBins values over
    // kSearchLowHz..kSearchHighHz (lowest frequency first).
    void Spectrum(std::vector<float>& bins) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace modem
