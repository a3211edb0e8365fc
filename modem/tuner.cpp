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
constexpr double kAverageWeight = 0.25;      // weight of a new spectrum in the average
constexpr double kSteadyWeight = 0.125;      // ... in the statistics that find carriers
constexpr int kSettleUpdates = 4;            // updates before the first lock
constexpr double kLockScore = 3.0;           // pair level over noise that locks
constexpr int kConfirmUpdates = 3;           // ... when found on this many updates in a row
constexpr double kPreferredScore = 1.8;      // ... near the listener's choice
constexpr double kHoldScore = 1.5;           // below this the signal counts as gone
constexpr double kLossSeconds = 1.5;         // gone this long: unlock
constexpr double kAfcWeight = 0.15;          // share of the measured offset corrected per update
constexpr double kRivalFactor = 2.0;         // a pair this much stronger elsewhere ...
constexpr int kRivalUpdates = 4;             // ... for this many updates takes over
constexpr double kKeyedMin = 0.35;           // keying (contrast variance) of a keyed pair
constexpr double kKeyedOnCarrierMin = 0.15;  // ... of a pair with a carrier on a tone
constexpr double kToneOverFloor = 2.0;       // level of each tone of a keyed pair over the floor
constexpr double kFixedReachShifts = 0.3;    // a fixed pair is looked for this near the click
constexpr double kNoiseBandHz = 3000.0;
constexpr double kCarrierOverFloor = 8.0;   // a narrow peak this far over the floor ...
constexpr double kCarrierSteadiness = 8.0;  // ... whose power holds this steady is a carrier
constexpr double kOnToneBauds = 1.5;        // a carrier this near a tone sits on it
constexpr double kCarrierNowShare = 0.25;   // ... and whose power now is this near its mean
constexpr double kSameCarrierHz = 2.0;      // a carrier moved less than this is the same one
constexpr double kCarrierSmoothing = 0.3;   // weight of a new frequency estimate
constexpr int kForgetUpdates = 4;           // a new notch settles within this many updates
constexpr int kCarrierUpdates =
    6;  // a steady line on a followed tone this often in a row is a carrier

double Wrap(double radians) {
    return radians - 2.0 * std::numbers::pi * std::round(radians / (2.0 * std::numbers::pi));
}
}  // namespace

Tuner::Tuner(double sampleRateHz, double baud, double shiftHz)
    // The spectrum needs nothing above kSearchHighHz: high input rates are
    // brought down to about 8 kHz first.
    : m_decimation(std::max(1u, static_cast<unsigned>(sampleRateHz / kSpectrumRateHz))),
      m_notch(sampleRateHz / m_decimation) {
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
    m_raw.assign(m_size, 0.0f);
    m_notched.assign(m_size, 0.0f);
    m_in.resize(m_size);
    m_out.resize(m_size);
    m_spectrum.assign(m_size / 2, 0.0f);
    m_last.assign(m_size / 2, 0.0f);
    m_rawPower.assign(m_size / 2, 0.0);
    m_notchedPower.assign(m_size / 2, 0.0);
    m_prefix2.assign(m_size / 2 + 2, 0.0);
    m_plan = fft_create_plan(static_cast<unsigned>(m_size), m_in.data(), m_out.data(),
                             LIQUID_FFT_FORWARD, 0);
    for (View* v : {&m_plain, &m_notchedView}) {
        v->power.assign(m_size / 2, 0.0);
        v->prefix.assign(m_size / 2 + 1, 0.0);
        v->level.assign(m_size / 2, 0.0);
    }
    m_steady.assign(m_size / 2, 0.0);
    m_steadySq.assign(m_size / 2, 0.0);
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
    m_lobeBins = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(baud / m_binHz)));
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
    const std::size_t n = std::min(samples.size(), Room());
    for (std::size_t i = 0; i < n; ++i) {
        m_gather[m_gathered++] = samples[i];
        if (m_gathered < m_decimation) continue;
        m_gathered = 0;
        float y = m_gather[0];
        if (m_decimation > 1) firdecim_rrrf_execute(m_decim, m_gather.data(), &y);
        Take(y);
    }
    if (m_filled < m_hop) return false;
    m_filled = 0;
    Update();
    return true;
}

// The rings hold the last m_size samples, oldest at m_write: as they came,
// and with the carriers notched.
void Tuner::Take(float y) {
    const float notched = m_notch.Step(y);
    m_raw[m_write] = y;
    m_notched[m_write] = notched;
    m_keying->Push(y, notched);
    m_write = (m_write + 1) % m_size;
    ++m_filled;
}

void Tuner::Transform() {
    for (std::size_t i = 0, j = m_write; i < m_size; ++i, j = j + 1 == m_size ? 0 : j + 1)
        m_in[i] = std::complex<float>(m_raw[j], m_notched[j]) * m_window[i];
    fft_execute(m_plan);
    // Two real signals in one transform: the raw one is the part of the
    // spectrum with conjugate symmetry, the notched one the rest (over j).
    for (std::size_t k = 0; k < m_size / 2; ++k) {
        const std::complex<float> x = m_out[k], y = std::conj(m_out[(m_size - k) % m_size]);
        m_spectrum[k] = 0.5f * (x + y);
        m_rawPower[k] = std::norm(m_spectrum[k]);
        m_notchedPower[k] = std::norm(0.5f * (x - y));
    }
}

void Tuner::Average() {
    const double weight = m_updates == 0 ? 1.0 : kAverageWeight;
    // The first window is half silence (the rings start empty): the
    // statistics that find carriers begin with the second.
    const double steady = m_updates <= 1 ? 1.0 : kSteadyWeight;
    Transform();
    for (std::size_t b = 0; b < m_size / 2; ++b) {
        const double p = m_rawPower[b];
        m_steady[b] += (p - m_steady[b]) * steady;
        m_steadySq[b] += (p * p - m_steadySq[b]) * steady;
    }
    Accumulate(m_plain, m_rawPower, weight);
    // Carriers take their frequencies from the phase of this spectrum
    // against the last one.
    if (m_updates > 1) FindCarriers();
    m_last.swap(m_spectrum);
    Accumulate(m_notchedView, m_notchedPower, weight);
    ForgetNotched();
    Levels(m_plain);
    Levels(m_notchedView);
}

void Tuner::Accumulate(View& view, const std::vector<double>& power, double weight) {
    for (std::size_t b = 0; b < m_size / 2; ++b)
        view.power[b] += (power[b] - view.power[b]) * weight;
}

// The triangle of half width H around bin c, divided by H^2, is the sum of
// H boxes of H bins: from the prefix sums of the prefix sums.
void Tuner::Levels(View& view) {
    for (std::size_t b = 0; b < m_size / 2; ++b)
        view.prefix[b + 1] = view.prefix[b] + view.power[b];
    for (std::size_t b = 0; b <= m_size / 2; ++b) m_prefix2[b + 1] = m_prefix2[b] + view.prefix[b];
    const std::size_t h = m_lobeBins;
    const double scale = 1.0 / static_cast<double>(h * h);
    for (std::size_t b = 0; b < m_size / 2; ++b) {
        const std::size_t c = std::clamp(b, h - 1, m_size / 2 - h - 1);
        const double sum =
            (m_prefix2[c + h + 1] - m_prefix2[c + 1]) - (m_prefix2[c + 1] - m_prefix2[c + 1 - h]);
        view.level[b] = std::max(0.0, sum * scale);
    }
}

void Tuner::Update() {
    Average();
    ++m_updates;
    m_notch.Set(m_carriers);
    if (m_updates < kSettleUpdates) return;

    const double floor = Floor(m_notchedView.power);
    m_floor = floor;
    double globalScore = 0.0;
    const double global = BestCentre(0.0, 1e9, floor, globalScore);
    if (m_locked)
        Track(floor, global, globalScore);
    else
        Acquire(floor, global, globalScore);
}

// A carrier is a narrow peak of the raw spectrum (it stands over the bins
// two away on both sides) whose power holds still from one update to the
// next; a keyed tone's power swings with the bits it carries (so the steady
// mark of an idle sender counts as a carrier only until it starts keying).
void Tuner::FindCarriers() {
    const std::vector<double>& power = m_plain.power;
    const double floor = Floor(power);
    std::vector<Carrier> found;
    for (std::size_t b = std::max<std::size_t>(m_lowBin, 2);
         b <= m_highBin && b + 2 < m_size / 2 && found.size() < AudioNotch::kMaxCarriers; ++b) {
        const double p = power[b];
        if (p < kCarrierOverFloor * floor || p < power[b - 1] || p < power[b + 1] ||
            p < 4.0 * power[b - 2] || p < 4.0 * power[b + 2])
            continue;
        Carrier c{CarrierHz(b), 1};
        const auto known = std::find_if(m_found.begin(), m_found.end(), [&](const Carrier& old) {
            return std::abs(old.hz - c.hz) < kSameCarrierHz;
        });
        if (!Steady(b, known != m_found.end())) continue;
        if (known != m_found.end()) {
            c.hz = known->hz + (c.hz - known->hz) * kCarrierSmoothing;
            c.updates = known->updates + 1;
        }
        // A carrier notched from now on leaves the search's average at once.
        if (c.updates == 1) Forget(b, floor);
        found.push_back(c);
    }
    m_found = std::move(found);
    // On a tone of the pair followed, only a line that stays steady for a
    // while is a carrier: the mark of a sender pausing within a text holds
    // still for some tenths of a second.
    m_carriers.clear();
    for (const Carrier& c : m_found)
        if (c.updates >= kCarrierUpdates || !m_locked || !NearTone(c.hz))
            m_carriers.push_back(c.hz);
}

bool Tuner::NearTone(double hz) const {
    const double reach = kOnToneBauds * m_baud;
    return std::abs(hz - (m_centreHz - 0.5 * m_shiftHz)) < reach ||
           std::abs(hz - (m_centreHz + 0.5 * m_shiftHz)) < reach;
}

// The frequency of a steady line at `bin`, from how far its phase turned
// since the last spectrum (half a window ago): far finer than a bin.
double Tuner::CarrierHz(std::size_t bin) const {
    const double turned = std::arg(m_spectrum[bin] * std::conj(m_last[bin]));
    // A line at (bin + d) bins turns by pi (bin + d) in half a window.
    const double d = Wrap(turned - std::numbers::pi * static_cast<double>(bin)) / std::numbers::pi;
    return (static_cast<double>(bin) + d) * m_binHz;
}

// Steady: the power's mean stands well over its spread, and this update's
// power lies near the mean; a carrier already found keeps its place on
// looser terms, so its notch does not come and go.
bool Tuner::Steady(std::size_t bin, bool known) const {
    const double mean = m_steady[bin];
    const double variance = std::max(1e-30, m_steadySq[bin] - mean * mean);
    const double loosen = known ? 2.0 : 1.0;
    const double now = m_rawPower[bin];
    return mean * mean * loosen >= kCarrierSteadiness * variance &&
           std::abs(now - mean) <= kCarrierNowShare * loosen * mean;
}

// The notch takes a carrier out of new samples only, and settles within a
// few tenths of a second: until then the notched view forgets what it
// holds there.
void Tuner::Forget(std::size_t bin, double floor) {
    m_forget.push_back({bin, floor, kForgetUpdates});
}

void Tuner::ForgetNotched() {
    const std::size_t reach = 2 * m_lobeBins;
    for (Forgotten& f : m_forget) {
        for (std::size_t b = f.bin > reach ? f.bin - reach : 0;
             b <= f.bin + reach && b < m_size / 2; ++b)
            m_notchedView.power[b] = std::min(m_notchedView.power[b], f.floor);
        --f.updates;
    }
    std::erase_if(m_forget, [](const Forgotten& f) { return f.updates <= 0; });
}

double Tuner::Floor(const std::vector<double>& power) {
    for (std::size_t b = m_lowBin; b <= m_highBin; ++b)
        m_sorted[b - m_lowBin] = static_cast<float>(power[b]);
    const auto mid = m_sorted.begin() + static_cast<std::ptrdiff_t>(m_sorted.size() / 2);
    std::nth_element(m_sorted.begin(), mid, m_sorted.end());
    return std::max(static_cast<double>(*mid), 1e-20);
}

double Tuner::ToneLevel(const View& view, double b) const {
    const double at = std::clamp(b, 0.0, static_cast<double>(m_size / 2 - 2));
    const auto i = static_cast<std::size_t>(at);
    const double frac = at - static_cast<double>(i);
    return (1.0 - frac) * view.level[i] + frac * view.level[i + 1];
}

double Tuner::PairScore(const View& view, double c, double floor) const {
    const double low = ToneLevel(view, c - 0.5 * m_shiftBins) / floor;
    const double high = ToneLevel(view, c + 0.5 * m_shiftBins) / floor;
    // Both tones must stand out: one strong carrier alone scores low.
    return std::sqrt(low * high);
}

// Both tones must stand over the noise (a tone keyed against a bin of
// noise, a notched carrier for one, is half a pair), and the pair must show
// keying; keying is measured in coarser bins than the spectrum's: any within
// half a keying bin of the pair counts.
bool Tuner::KeyedNear(const View& view, double centreBin, double floor) const {
    const double toneFloor = kToneOverFloor * floor;
    if (ToneLevel(view, centreBin - 0.5 * m_shiftBins) < toneFloor ||
        ToneLevel(view, centreBin + 0.5 * m_shiftBins) < toneFloor)
        return false;
    const double lowHz = (centreBin - 0.5 * m_shiftBins) * m_binHz;
    const KeyingDetector& k = *m_keying;
    const double reach = 0.5 * k.BinHz();
    // A tone under a notched carrier keeps little of its keying (the notch
    // takes its steady part with the carrier): the other tone must show it.
    const double least = &view == &m_notchedView ? kKeyedOnCarrierMin : kKeyedMin;
    return std::max({k.Keying(view.stream, lowHz - reach), k.Keying(view.stream, lowHz),
                     k.Keying(view.stream, lowHz + reach)}) >= least;
}

bool Tuner::OnCarrier(double centreBin) const {
    const double reach = kOnToneBauds * m_baud;
    const double low = (centreBin - 0.5 * m_shiftBins) * m_binHz;
    const double high = (centreBin + 0.5 * m_shiftBins) * m_binHz;
    return std::any_of(m_carriers.begin(), m_carriers.end(), [&](double f) {
        return std::abs(f - low) < reach || std::abs(f - high) < reach;
    });
}

double Tuner::BestCentre(double lo, double hi, double floor, double& score) const {
    const double first = std::ceil(std::max(lo, static_cast<double>(m_lowBin) + 0.5 * m_shiftBins));
    const double last = std::min(hi, static_cast<double>(m_highBin) - 0.5 * m_shiftBins);
    double best = first;
    const View* bestView = &m_plain;
    score = 0.0;
    for (const View* view : {&m_plain, &m_notchedView}) {
        const bool notched = view == &m_notchedView;
        double before = PairScore(*view, first - 1.0, floor);
        double here = PairScore(*view, first, floor);
        for (double c = first; c <= last; c += 1.0) {
            const double after = PairScore(*view, c + 1.0, floor);
            if (here > score && here > before && here >= after && OnCarrier(c) == notched &&
                KeyedNear(*view, c, floor)) {
                score = here;
                best = c;
                bestView = view;
            }
            before = here;
            here = after;
        }
    }
    if (score <= 0.0) return best;
    // Refine between bins: the peak of a parabola through the neighbours.
    const double left = PairScore(*bestView, best - 1.0, floor);
    const double right = PairScore(*bestView, best + 1.0, floor);
    const double curve = left - 2.0 * score + right;
    if (curve < 0.0) best += std::clamp(0.5 * (left - right) / curve, -0.5, 0.5);
    return best;
}

// Locks on the listener's fixed pair when it stands out, else (nothing
// fixed) on the pair followed before when it stands out there, else on the
// strongest keyed pair of the band when it stands out clearly; in each case
// once the pair has held still for a few updates (a sender that idled has
// its steady mark in the average for a while after it starts keying, and
// pulls the pair's centre towards it).
void Tuner::Acquire(double floor, double global, double globalScore) {
    const double preferredBin = m_preferredHz / m_binHz;
    const double reach = (m_fixed ? kFixedReachShifts : 0.25) * m_shiftBins;
    double nearScore = 0.0;
    const double near = m_preferredHz > 0.0 ? BestCentre(preferredBin - reach, preferredBin + reach,
                                                         floor, nearScore)
                                            : 0.0;
    double found = 0.0, score = 0.0;
    if (nearScore >= kPreferredScore) {
        found = near * m_binHz;
        score = nearScore;
    } else if (!m_fixed && globalScore >= kLockScore) {
        found = global * m_binHz;
        score = globalScore;
    }
    const bool still = found > 0.0 && std::abs(found - m_candidateHz) < 0.25 * m_baud;
    m_candidateUpdates = found > 0.0 ? (still ? m_candidateUpdates + 1 : 1) : 0;
    m_candidateHz = found;
    if (m_candidateUpdates < kConfirmUpdates) return;
    m_centreHz = found;
    m_score = score;
    m_locked = true;
    m_weakSeconds = 0.0;
    m_rivalUpdates = 0;
    m_candidateUpdates = 0;
}

// AFC: moves towards the best keyed centre within a quarter shift (at least
// two bauds) of the current one; unlocks when the pair is gone for a while
// and moves over when a much stronger pair stays elsewhere.
void Tuner::Track(double floor, double global, double globalScore) {
    const double here = m_centreHz / m_binHz;
    const double reach = std::max(0.25 * m_shiftBins, 2.0 * static_cast<double>(m_lobeBins));
    // Only a keyed pair pulls the centre (a carrier beside the pair must not),
    // and none while the sender idles; the pair's own level as it comes
    // tells whether it is still there.
    double keyedScore = 0.0;
    const double nearBin = BestCentre(here - reach, here + reach, floor, keyedScore);
    m_score = PairScore(m_plain, here, floor);
    if (m_score >= kHoldScore) {
        if (keyedScore > 0.0) m_centreHz += (nearBin * m_binHz - m_centreHz) * kAfcWeight;
        m_weakSeconds = 0.0;
    } else if ((m_weakSeconds += UpdateSeconds()) > kLossSeconds) {
        m_locked = false;
        return;
    }
    // A pair the listener fixed is held whatever else is stronger; a rival
    // that shares a tone with the pair is that tone with noise or a carrier.
    const double apart = std::abs(global - here);
    const bool sharesTone = std::abs(apart - m_shiftBins) < static_cast<double>(m_lobeBins);
    m_rivalUpdates =
        !m_fixed && !sharesTone && globalScore > kRivalFactor * m_score && globalScore >= kLockScore
            ? m_rivalUpdates + 1
            : 0;
    if (m_rivalUpdates >= kRivalUpdates) {
        m_centreHz = global * m_binHz;
        m_score = globalScore;
        m_rivalUpdates = 0;
    }
}

// Power in the bins of a tone's main lobe around centreBin.
double Tuner::BoxSum(const View& view, double centreBin) const {
    const auto last = static_cast<double>(m_size / 2 - 1);
    const auto a = static_cast<std::size_t>(
        std::lround(std::clamp(centreBin - static_cast<double>(m_lobeBins), 0.0, last)));
    const auto b = static_cast<std::size_t>(
        std::lround(std::clamp(centreBin + static_cast<double>(m_lobeBins), 0.0, last)));
    return view.prefix[b + 1] - view.prefix[a];
}

double Tuner::SnrDb() const {
    const double c = m_centreHz / m_binHz;
    const View& view = ViewAt(c);
    const double bins = 2.0 * (2.0 * static_cast<double>(m_lobeBins) + 1.0);
    const double tones = BoxSum(view, c - 0.5 * m_shiftBins) + BoxSum(view, c + 0.5 * m_shiftBins);
    const double signal = std::max(1e-30, tones - bins * m_floor);
    return 10.0 * std::log10(signal / (m_floor * kNoiseBandHz / m_binHz));
}

void Tuner::Carriers(double widthHz, std::vector<double>& hz) const {
    hz.clear();
    for (const double f : m_carriers)
        if (std::abs(f - m_centreHz) <= widthHz) hz.push_back(f);
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
        for (std::size_t k = a; k <= b; ++k) sum += m_plain.power[k];
        const double mean = sum / static_cast<double>(b - a + 1);
        bins[static_cast<std::size_t>(i)] = static_cast<float>(10.0 * std::log10(mean + 1e-12));
    }
}

}  // namespace modem
