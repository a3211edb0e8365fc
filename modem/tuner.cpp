// Tone-pair search, AFC and squelch over a running spectrum.
#include "tuner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "demodulator.h"

namespace modem {

namespace {
constexpr double kBinTargetHz = 4.0;        // spectrum resolution aimed at
constexpr double kSpectrumRateHz = 7000.0;  // lowest rate the spectrum is taken at
constexpr unsigned kDecimatorSemiLength = 8;
constexpr float kStopbandDb = 60.0f;
constexpr double kAverageWeight = 0.25;    // weight of a new spectrum in the average
constexpr int kSettleUpdates = 4;          // updates before the first lock
constexpr double kLockScore = 3.0;         // pair level over noise that locks
constexpr double kPreferredScore = 1.8;    // ... near the listener's choice
constexpr double kHoldScore = 1.5;         // below this the signal counts as gone
constexpr double kLossSeconds = 1.5;       // gone this long: unlock
constexpr double kAfcWeight = 0.15;        // share of the measured offset corrected per update
constexpr double kRivalFactor = 2.0;       // a pair this much stronger elsewhere ...
constexpr int kRivalUpdates = 4;           // ... for this many updates takes over
constexpr double kKeyedMin = 0.35;         // keying (contrast variance) of a keyed pair
constexpr double kFixedReachShifts = 0.3;  // a fixed pair is looked for this near the click
constexpr double kNoiseBandHz = 3000.0;
constexpr double kCarrierOverFloor = 8.0;   // a narrow peak this far over the floor ...
constexpr double kCarrierSteadiness = 6.0;  // ... and this steady is a carrier
constexpr double kCarrierClearBauds = 0.3;  // ... unless it sits this near a tone
}  // namespace

Tuner::Tuner(double sampleRateHz, double baud, double shiftHz)
    // The spectrum needs nothing above kSearchHighHz: high input rates are
    // brought down to about 8 kHz first.
    : m_decimation(std::max(1u, static_cast<unsigned>(sampleRateHz / kSpectrumRateHz))) {
    m_rate = sampleRateHz / m_decimation;
    const float cutoff = static_cast<float>(0.5 * (kSearchHighHz + 0.5 * m_rate) / sampleRateHz);
    if (m_decimation > 1) {
        const unsigned taps = 2 * m_decimation * kDecimatorSemiLength + 1;
        std::vector<float> h(taps);
        liquid_firdes_kaiser(taps, cutoff, kStopbandDb, 0.0f, h.data());
        float sum = 0.0f;
        for (float v : h) sum += v;
        for (float& v : h) v /= sum;
        m_decim = firdecim_rrrf_create(m_decimation, h.data(), taps);
    }
    m_gather.resize(m_decimation);
    m_size = 256;
    while (static_cast<double>(m_size) < m_rate / kBinTargetHz) m_size *= 2;
    m_hop = m_size / 2;
    m_binHz = m_rate / static_cast<double>(m_size);
    m_lowBin = static_cast<std::size_t>(kSearchLowHz / m_binHz);
    m_highBin =
        std::min(m_size / 2 - 1, static_cast<std::size_t>(std::ceil(kSearchHighHz / m_binHz)));
    m_window.resize(m_size);
    for (std::size_t i = 0; i < m_size; ++i)
        m_window[i] = static_cast<float>(
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / m_size));
    m_history.assign(m_size, 0.0f);
    m_in.resize(m_size);
    m_out.resize(m_size);
    m_plan = fft_create_plan(static_cast<unsigned>(m_size), m_in.data(), m_out.data(),
                             LIQUID_FFT_FORWARD, 0);
    m_power.assign(m_size / 2, 0.0);
    m_prefix.assign(m_size / 2 + 1, 0.0);
    m_sorted.resize(m_highBin - m_lowBin + 1);
    SetPair(baud, shiftHz);
}

Tuner::~Tuner() {
    fft_destroy_plan(m_plan);
    if (m_decim) firdecim_rrrf_destroy(m_decim);
}

void Tuner::SetPair(double baud, double shiftHz) {
    m_baud = baud;
    m_shiftHz = shiftHz;
    m_keying = std::make_unique<KeyingDetector>(m_rate, baud, shiftHz);
    m_shiftBins = shiftHz / m_binHz;
    m_toneHalfBins = std::max(1.0, 0.5 * baud / m_binHz);
    // The pair followed so far is looked for first under the new settings.
    if (m_locked && !m_fixed) m_preferredHz = m_centreHz;
    m_locked = false;
    m_score = 0.0;
}

void Tuner::Fix(double centreHz) {
    m_fixed = true;
    m_preferredHz = centreHz;
    m_centreHz = centreHz;
    m_locked = false;
}

bool Tuner::Push(std::span<const float> samples) {
    // m_history is a ring of the last m_size samples, oldest at m_write.
    const std::size_t n = std::min(samples.size(), Room());
    for (std::size_t i = 0; i < n; ++i) {
        m_gather[m_gathered++] = samples[i];
        if (m_gathered < m_decimation) continue;
        m_gathered = 0;
        float y = m_gather[0];
        if (m_decimation > 1) firdecim_rrrf_execute(m_decim, m_gather.data(), &y);
        m_history[m_write] = y;
        m_keying->Push(y);
        m_write = (m_write + 1) % m_size;
        ++m_filled;
    }
    if (m_filled < m_hop) return false;
    m_filled = 0;
    Update();
    return true;
}

double Tuner::BandSum(double centreBin) const {
    const double lo =
        std::clamp(centreBin - m_toneHalfBins, 0.0, static_cast<double>(m_size / 2 - 1));
    const double hi =
        std::clamp(centreBin + m_toneHalfBins, 0.0, static_cast<double>(m_size / 2 - 1));
    const auto a = static_cast<std::size_t>(std::lround(lo));
    const auto b = static_cast<std::size_t>(std::lround(hi));
    return (m_prefix[b + 1] - m_prefix[a]) / static_cast<double>(b + 1 - a);
}

double Tuner::PairScore(double c, double floor) const {
    const double low = BandSum(c - 0.5 * m_shiftBins) / floor;
    const double high = BandSum(c + 0.5 * m_shiftBins) / floor;
    // Both tones must stand out: one strong carrier alone scores low.
    return std::sqrt(low * high);
}

bool Tuner::Keyed(double centreBin) const {
    return m_keying->Keying((centreBin - 0.5 * m_shiftBins) * m_binHz) >= kKeyedMin;
}

double Tuner::BestCentre(double lo, double hi, double floor, double& score, bool keyed) const {
    const double first = std::max(lo, static_cast<double>(m_lowBin) + 0.5 * m_shiftBins);
    const double last = std::min(hi, static_cast<double>(m_highBin) - 0.5 * m_shiftBins);
    double best = first;
    score = 0.0;
    for (double c = std::ceil(first); c <= last; c += 1.0) {
        const double s = PairScore(c, floor);
        if (s > score && (!keyed || Keyed(c))) {
            score = s;
            best = c;
        }
    }
    // Refine between bins: the peak of a parabola through the neighbours.
    const double left = PairScore(best - 1.0, floor), right = PairScore(best + 1.0, floor);
    const double curve = left - 2.0 * score + right;
    if (curve < 0.0) best += std::clamp(0.5 * (left - right) / curve, -0.5, 0.5);
    return best;
}

double Tuner::FloorPerBin() {
    for (std::size_t b = m_lowBin; b <= m_highBin; ++b)
        m_sorted[b - m_lowBin] = static_cast<float>(m_power[b]);
    const auto mid = m_sorted.begin() + static_cast<std::ptrdiff_t>(m_sorted.size() / 2);
    std::nth_element(m_sorted.begin(), mid, m_sorted.end());
    return std::max(static_cast<double>(*mid), 1e-20);
}

void Tuner::Update() {
    for (std::size_t i = 0; i < m_size; ++i)
        m_in[i] = m_history[(m_write + i) % m_size] * m_window[i];
    fft_execute(m_plan);
    const double weight = m_updates == 0 ? 1.0 : kAverageWeight;
    for (std::size_t b = 0; b < m_size / 2; ++b) {
        m_power[b] += (std::norm(m_out[b]) - m_power[b]) * weight;
        m_prefix[b + 1] = m_prefix[b] + m_power[b];
    }
    ++m_updates;
    if (m_updates < kSettleUpdates) return;

    const double floor = FloorPerBin();
    m_floor = floor;
    double globalScore = 0.0;
    const double global = BestCentre(0.0, 1e9, floor, globalScore, true);
    if (m_locked)
        Track(floor, global, globalScore);
    else
        Acquire(floor, global, globalScore);
}

// Locks on the listener's fixed pair when it stands out, else (nothing
// fixed) on the pair followed before when it stands out there, else on the
// strongest keyed pair of the band when it stands out clearly.
void Tuner::Acquire(double floor, double global, double globalScore) {
    const double preferredBin = m_preferredHz / m_binHz;
    const double reach = (m_fixed ? kFixedReachShifts : 0.25) * m_shiftBins;
    double nearScore = 0.0;
    const double near = m_preferredHz > 0.0 ? BestCentre(preferredBin - reach, preferredBin + reach,
                                                         floor, nearScore, true)
                                            : 0.0;
    if (nearScore >= kPreferredScore) {
        m_centreHz = near * m_binHz;
        m_score = nearScore;
    } else if (!m_fixed && globalScore >= kLockScore) {
        m_centreHz = global * m_binHz;
        m_score = globalScore;
    } else {
        return;
    }
    m_locked = true;
    m_weakSeconds = 0.0;
    m_rivalUpdates = 0;
}

// AFC: moves towards the best centre within a quarter shift (at least one
// baud) of the current one; unlocks when the pair is gone for a while and
// moves over when a much stronger pair stays elsewhere.
void Tuner::Track(double floor, double global, double globalScore) {
    const double here = m_centreHz / m_binHz;
    const double reach = std::max(0.25 * m_shiftBins, 2.0 * m_toneHalfBins);
    // Only a keyed pair pulls the centre (a carrier beside the pair must not),
    // and none while the sender idles; the pair's own level tells whether
    // it is still there.
    double keyedScore = 0.0;
    const double nearBin = BestCentre(here - reach, here + reach, floor, keyedScore, true);
    m_score = PairScore(here, floor);
    if (m_score >= kHoldScore) {
        if (keyedScore > 0.0) m_centreHz += (nearBin * m_binHz - m_centreHz) * kAfcWeight;
        m_weakSeconds = 0.0;
    } else if ((m_weakSeconds += UpdateSeconds()) > kLossSeconds) {
        m_locked = false;
        return;
    }
    // A pair the listener fixed is held whatever else is stronger.
    m_rivalUpdates = !m_fixed && globalScore > kRivalFactor * m_score && globalScore >= kLockScore
                         ? m_rivalUpdates + 1
                         : 0;
    if (m_rivalUpdates >= kRivalUpdates) {
        m_centreHz = global * m_binHz;
        m_score = globalScore;
        m_rivalUpdates = 0;
    }
}

double Tuner::SnrDb() const {
    const double c = m_centreHz / m_binHz;
    const double tones = BandSum(c - 0.5 * m_shiftBins) + BandSum(c + 0.5 * m_shiftBins);
    const double bins = 2.0 * m_toneHalfBins + 1.0;
    const double signal = std::max(1e-30, (tones - 2.0 * m_floor) * bins);
    return 10.0 * std::log10(signal / (m_floor * kNoiseBandHz / m_binHz));
}

// A carrier is a narrow peak (it stands over the bins two away on both
// sides) whose power holds still from bit to bit; the tones' own lines are
// left alone.
void Tuner::Carriers(double widthHz, std::vector<double>& hz) const {
    hz.clear();
    const double lo = std::max(3.0, (m_centreHz - widthHz) / m_binHz);
    const double hi =
        std::min(static_cast<double>(m_size / 2 - 3), (m_centreHz + widthHz) / m_binHz);
    for (auto b = static_cast<std::size_t>(lo); b <= static_cast<std::size_t>(hi); ++b) {
        const double p = m_power[b];
        if (p < kCarrierOverFloor * m_floor || p < m_power[b - 1] || p < m_power[b + 1] ||
            p < 4.0 * m_power[b - 2] || p < 4.0 * m_power[b + 2])
            continue;
        const double curve = m_power[b - 1] - 2.0 * p + m_power[b + 1];
        const double f = (static_cast<double>(b) +
                          (curve < 0.0 ? 0.5 * (m_power[b - 1] - m_power[b + 1]) / curve : 0.0)) *
                         m_binHz;
        const double clear = kCarrierClearBauds * m_baud;
        if (std::abs(f - (m_centreHz - 0.5 * m_shiftHz)) < clear ||
            std::abs(f - (m_centreHz + 0.5 * m_shiftHz)) < clear)
            continue;
        if (m_keying->Steadiness(f) >= kCarrierSteadiness) hz.push_back(f);
    }
}

void Tuner::Spectrum(std::vector<float>& bins, int count) const {
    bins.assign(static_cast<std::size_t>(std::max(count, 0)), -120.0f);
    if (m_updates == 0) return;
    const double span = (kSearchHighHz - kSearchLowHz) / count;
    for (int i = 0; i < count; ++i) {
        const double f0 = kSearchLowHz + i * span;
        auto a = static_cast<std::size_t>(f0 / m_binHz);
        auto b = std::max(a, static_cast<std::size_t>((f0 + span) / m_binHz));
        b = std::min(b, m_size / 2 - 1);
        a = std::min(a, b);
        double sum = 0.0;
        for (std::size_t k = a; k <= b; ++k) sum += m_power[k];
        const double mean = sum / static_cast<double>(b - a + 1);
        bins[static_cast<std::size_t>(i)] = static_cast<float>(10.0 * std::log10(mean + 1e-12));
    }
}

}  // namespace modem
