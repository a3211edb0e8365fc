// Finds the tone pair of the configured shift in the audio and follows it:
// a running spectrum of the input, a search over kSearchLowHz..kSearchHighHz
// for the centre whose two tones stand highest above the noise floor among
// the pairs that show keying (KeyingDetector: a steady carrier is never
// taken, alone or paired with noise or with one tone), slow correction of
// drift while locked (AFC), and the squelch: no lock, no characters. Steady
// carriers are found (narrow, steady peaks) and notched out of a second view
// of the band, so a carrier on a tone does not hide the pair.
// A pair the listener fixed is the only one looked for until it is released.
#pragma once

#include <complex>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "audio_notch.h"
#include "keying_detector.h"
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
    // The listener's choice: only a keyed pair near centreHz is looked for
    // and followed, at a lower level, whatever else is stronger, until
    // Release(). Release() lets the search take the strongest keyed pair
    // again (the pair followed now stays while it lasts).
    void Fix(double centreHz);
    void Release() { m_fixed = false; }
    bool Fixed() const { return m_fixed; }

    // Input samples until the next spectrum update; Push() takes at most that many.
    std::size_t Room() const { return (m_hop - m_filled) * m_decimation - m_gathered; }
    // Takes samples; returns true when this completed a spectrum update.
    bool Push(std::span<const float> samples);

    bool Locked() const { return m_locked; }
    double Centre() const { return m_centreHz; }
    double UpdateSeconds() const { return static_cast<double>(m_hop) / m_rate; }
    // Pair level over the noise floor at the current centre (1 = noise only).
    double Score() const { return m_score; }
    // Signal-to-noise ratio of the pair followed, in dB in 3 kHz (a rough
    // estimate from the spectrum).
    double SnrDb() const;
    // Frequencies in Hz of the steady carriers within widthHz of the centre,
    // those on a tone included (for the demodulator's cancellers).
    void Carriers(double widthHz, std::vector<double>& hz) const;
    // Level in dB of `count` equal bands over kSearchLowHz..kSearchHighHz.
    void Spectrum(std::vector<float>& bins, int count) const;

  private:
    // One way of looking at the band: a spectrum averaged over updates, its
    // prefix sums, the level of a keyed tone at each bin (the spectrum
    // weighed by a triangle as wide as the keying's main lobe), and which
    // of the keying detector's streams belongs to it.
    struct View {
        std::vector<double> power, prefix, level;
        KeyingDetector::Stream stream;
    };
    struct Forgotten {
        std::size_t bin;
        double floor;
        int updates;  // left to forget
    };

    void Take(float y);
    void Update();
    // Windowed FFT of both rings; the raw spectrum into m_spectrum, the
    // notched one's power into m_notchedPower.
    void Transform();
    void Average();
    void Accumulate(View& view, const std::vector<double>& power, double weight);
    void Levels(View& view);
    struct Carrier {
        double hz;
        int updates;  // in a row it was found on
    };
    void FindCarriers();
    bool NearTone(double hz) const;
    double CarrierHz(std::size_t bin) const;
    bool Steady(std::size_t bin, bool known) const;
    // Drops what the notched view's average holds around a carrier at `bin`.
    void Forget(std::size_t bin, double floor);
    void ForgetNotched();
    void Acquire(double floor, double global, double globalScore);
    void Track(double floor, double global, double globalScore);
    double Floor(const std::vector<double>& power);
    // Level of a keyed tone at bin position b (fractional).
    double ToneLevel(const View& view, double b) const;
    // Pair score at centre bin c (fractional) over the noise floor.
    double PairScore(const View& view, double c, double floor) const;
    // The best centre bin within lo..hi (bins) and its score: the highest
    // peak of the pair score among the pairs that show keying. A pair with
    // a carrier on a tone is judged with the carriers notched, any other
    // as the audio came (where the steady mark of an idle sender, which
    // counts as a carrier until it keys, is still a tone).
    double BestCentre(double lo, double hi, double floor, double& score) const;
    bool KeyedNear(const View& view, double centreBin, double floor) const;
    bool OnCarrier(double centreBin) const;
    const View& ViewAt(double centreBin) const {
        return OnCarrier(centreBin) ? m_notchedView : m_plain;
    }
    double BoxSum(const View& view, double centreBin) const;

    double m_rate;  // of the spectrum's samples, after decimation
    unsigned m_decimation;
    firdecim_rrrf m_decim = nullptr;  // none when the input is slow enough
    std::vector<float> m_gather;      // input samples of the next decimated one
    std::size_t m_gathered = 0;
    std::size_t m_size;  // FFT length
    std::size_t m_hop;
    double m_binHz;
    std::size_t m_lowBin, m_highBin;
    double m_shiftBins = 0.0;
    std::size_t m_lobeBins = 1;  // half width of a keyed tone's main lobe
    std::vector<float> m_window;
    std::vector<float> m_raw, m_notched;  // rings of the last m_size samples
    std::vector<std::complex<float>> m_in, m_out;
    std::vector<std::complex<float>> m_spectrum, m_last;  // the raw spectrum, now and before
    std::vector<double> m_rawPower, m_notchedPower, m_prefix2;
    fftplan m_plan;
    std::size_t m_write = 0;
    std::size_t m_filled = 0;  // new samples since the last update
    View m_plain{{}, {}, {}, KeyingDetector::Stream::Plain};
    View m_notchedView{{}, {}, {}, KeyingDetector::Stream::Notched};
    std::unique_ptr<KeyingDetector> m_keying;
    std::vector<double> m_steady, m_steadySq;  // statistics that find carriers
    std::vector<float> m_sorted;
    AudioNotch m_notch;
    std::vector<Carrier> m_found;    // steady lines, in frequency order
    std::vector<double> m_carriers;  // the frequencies of those steady long enough
    std::vector<Forgotten> m_forget;
    double m_baud = 50.0, m_shiftHz = 450.0;
    double m_floor = 1e-20;
    bool m_fixed = false;
    int m_updates = 0;
    bool m_locked = false;
    double m_centreHz = 0.0;
    double m_preferredHz = 0.0;
    double m_candidateHz = 0.0;  // a pair found while not locked ...
    int m_candidateUpdates = 0;  // ... on this many updates in a row
    double m_score = 0.0;
    double m_weakSeconds = 0.0;
    int m_rivalUpdates = 0;
};

}  // namespace modem
