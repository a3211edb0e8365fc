// Tells a keyed tone pair from steady carriers and noise: a short-time
// spectrum with a window of one bit, and for every pair of bins one shift
// apart the running variance of their contrast (p_low - p_high) /
// (p_low + p_high). The two tones of a teleprinter signal trade their energy
// at the baud rate, so the contrast swings between -1 and +1 (variance near
// 1) whatever the level; a steady carrier paired with noise or with one tone
// keeps it near +1 or -1 (variance near 0); two bins of noise give about 1/3.
// The contrast does not depend on level, so fading does not hide the keying.
#pragma once

#include <complex>
#include <vector>

#include "liquid_dsp.h"

namespace modem {

class KeyingDetector {
  public:
    // rateHz: rate of the samples pushed; baud and shiftHz: the pair looked for.
    KeyingDetector(double rateHz, double baud, double shiftHz);
    ~KeyingDetector();
    KeyingDetector(const KeyingDetector&) = delete;
    KeyingDetector& operator=(const KeyingDetector&) = delete;

    void Push(float x) {
        m_ring[m_write] = x;
        m_write = (m_write + 1) % m_ring.size();
        if (++m_filled >= m_hop) Update();
    }
    // Keying of the pair whose lower tone is at lowHz, from 0 (a steady
    // carrier, or nothing) to about 1 (a keyed pair); noise gives about 1/3.
    double Keying(double lowHz) const;
    // Width of the bins the keying is measured in.
    double BinHz() const { return m_binHz; }

  private:
    void Update();
    double Correlation(std::size_t k) const;
    double Measure(std::size_t k) const;

    std::size_t m_hop;
    double m_binHz;
    double m_shiftBins;
    double m_weight;
    std::vector<float> m_ring;  // the last bit of samples
    std::vector<float> m_window;
    std::size_t m_write = 0;
    std::size_t m_filled = 0;
    std::vector<std::complex<float>> m_in, m_out;
    fftplan m_plan;
    std::vector<float> m_power;
    // Running means per bin: contrast and its square for the pair starting
    // there; power and its square for the bin itself.
    std::vector<float> m_contrast, m_contrastSq, m_mean, m_meanSq;
    std::vector<float> m_partner, m_partnerSq, m_cross;
    int m_updates = 0;
    std::size_t m_seen = 0;  // windows taken, the first ones not counted
};

}  // namespace modem
