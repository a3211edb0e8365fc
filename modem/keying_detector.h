// Tells a keyed tone pair from steady carriers and noise: a short-time
// spectrum with a window of one bit, and for every pair of bins one shift
// apart the running variance of their contrast (p_low - p_high) /
// (p_low + p_high). The two tones of a teleprinter signal trade their energy
// at the baud rate, so the contrast swings between -1 and +1 (variance near
// 1) whatever the level; a steady carrier paired with noise or with one tone
// keeps it near +1 or -1 (variance near 0); two bins of noise give about 1/3.
// The contrast does not depend on level, so fading does not hide the keying.
// Two streams are measured side by side (the audio as it came and with its
// carriers notched), both through one transform.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <vector>

#include "liquid_dsp.h"

namespace modem {

class KeyingDetector {
  public:
    enum class Stream { Plain, Notched };

    // rateHz: rate of the samples pushed; baud and shiftHz: the pair looked for.
    KeyingDetector(double rateHz, double baud, double shiftHz);
    ~KeyingDetector();
    KeyingDetector(const KeyingDetector&) = delete;
    KeyingDetector& operator=(const KeyingDetector&) = delete;

    // One sample of each stream.
    void Push(float plain, float notched) {
        m_ring[m_write] = {plain, notched};
        m_write = m_write + 1 == m_ring.size() ? 0 : m_write + 1;
        if (++m_filled >= m_hop) Update();
    }
    // Keying of the pair whose lower tone is at lowHz, from 0 (a steady
    // carrier, or nothing) to about 1 (a keyed pair); noise gives about 1/3.
    double Keying(Stream stream, double lowHz) const;
    // Width of the bins the keying is measured in.
    double BinHz() const { return m_binHz; }

  private:
    // Running means per bin: contrast and its square for the pair starting
    // there; magnitude and its square for the bin itself, for its partner
    // one shift up, and their product.
    struct Statistics {
        std::vector<float> contrast, contrastSq, mean, meanSq, partner, partnerSq, cross;
    };
    void Update();
    void Gather(Statistics& s, const std::vector<float>& magnitude, float weight);
    double Correlation(const Statistics& s, std::size_t k) const;
    double Measure(const Statistics& s, std::size_t k) const;

    std::size_t m_hop;
    double m_binHz;
    double m_shiftBins;
    double m_weight;
    std::size_t m_first = 0, m_last = 0;      // bins measured (the search band and a shift)
    std::vector<std::complex<float>> m_ring;  // the last bit of both streams
    std::vector<float> m_window;
    std::size_t m_write = 0;
    std::size_t m_filled = 0;
    std::vector<std::complex<float>> m_in, m_out;
    fftplan m_plan;
    std::vector<float> m_plain, m_notched;  // magnitudes of the last window
    std::array<Statistics, 2> m_stats;
    int m_updates = 0;
    std::size_t m_seen = 0;  // windows taken, the first ones not counted
};

}  // namespace modem
