// Finds the tone pair of the configured shift in the audio and follows it:
// a running spectrum of the input, a search over kSearchLowHz..kSearchHighHz
// for the centre whose two tones stand highest above the noise floor, slow
// correction of drift while locked (AFC), and the squelch: no lock, no
// characters.
#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "liquid_dsp.h"

namespace modem {

class Tuner {
  public:
    Tuner(double sampleRateHz, double baud, double shiftHz);
    ~Tuner();
    Tuner(const Tuner&) = delete;
    Tuner& operator=(const Tuner&) = delete;

    // Changes the tone pair looked for; the spectrum is kept, the lock dropped
    // (the centre followed so far is preferred when locking again).
    void SetPair(double baud, double shiftHz);
    // The listener's choice of centre: a pair there locks at a lower level.
    void Prefer(double centreHz);

    // Input samples until the next spectrum update; Push() takes at most that many.
    std::size_t Room() const { return (m_hop - m_filled) * m_decimation - m_gathered; }
    // Takes samples; returns true when this completed a spectrum update.
    bool Push(std::span<const float> samples);

    bool Locked() const { return m_locked; }
    double Centre() const { return m_centreHz; }
    double UpdateSeconds() const { return static_cast<double>(m_hop) / m_rate; }
    // Pair level over the noise floor at the current centre (1 = noise only).
    double Score() const { return m_score; }
    // Level in dB of `count` equal bands over kSearchLowHz..kSearchHighHz.
    void Spectrum(std::vector<float>& bins, int count) const;

  private:
    void Update();
    void Acquire(double floor, double global, double globalScore);
    void Track(double floor, double global, double globalScore);
    double FloorPerBin();
    // Pair score at centre bin c (fractional) over the noise floor.
    double PairScore(double c, double floor) const;
    // The best centre bin within lo..hi (bins) and its score.
    double BestCentre(double lo, double hi, double floor, double& score) const;
    double BandSum(double centreBin) const;

    double m_rate;  // of the spectrum's samples, after decimation
    unsigned m_decimation;
    firdecim_rrrf m_decim = nullptr;  // none when the input is slow enough
    std::vector<float> m_gather;      // input samples of the next decimated one
    std::size_t m_gathered = 0;
    std::size_t m_size;  // FFT length
    std::size_t m_hop;
    double m_binHz;
    std::size_t m_lowBin, m_highBin;
    double m_shiftBins = 0.0, m_toneHalfBins = 1.0;
    std::vector<float> m_window, m_history;
    std::vector<std::complex<float>> m_in, m_out;
    fftplan m_plan;
    std::size_t m_write = 0;
    std::size_t m_filled = 0;  // new samples since the last update
    std::vector<double> m_power, m_prefix;
    std::vector<float> m_sorted;
    int m_updates = 0;
    bool m_locked = false;
    double m_centreHz = 0.0;
    double m_preferredHz = 0.0;
    double m_score = 0.0;
    double m_weakSeconds = 0.0;
    int m_rivalUpdates = 0;
};

}  // namespace modem
