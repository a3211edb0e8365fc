// The demodulator's pipeline: Tuner (search, AFC, squelch, carriers) ->
// Downconverter -> CarrierNotch -> two ToneFilters -> Envelope (threshold
// correction) -> BitSlicer -> one CharacterFramer per polarity -> the
// polarity whose frames pass. At lock the remembered audio is decoded
// twice, the second time with what the first learnt.
#include "demodulator.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "bit_slicer.h"
#include "carrier_notch.h"
#include "character_framer.h"
#include "downconverter.h"
#include "envelope.h"
#include "frame_layout.h"
#include "shift_recovery.h"
#include "tone_filter.h"
#include "tuner.h"

namespace modem {

namespace {
constexpr std::size_t kBlockSamples =
    Downconverter::kMaxBlock;               // input handled per pass through the chain
constexpr double kReplaySeconds = 4.0;      // audio kept to decode again once locked
constexpr double kMinSamplesPerBit = 16.0;  // working rate, at least
constexpr double kSidebandBauds = 2.0;      // keying sidebands kept beside each tone
constexpr int kMinFrames = 6;               // frames seen before a polarity is chosen
constexpr double kOpenScore = 0.75;         // valid-frame share that opens the output
constexpr double kCloseScore = 0.5;         // ... and below which it closes again
constexpr double kPolarityMargin = 0.15;    // lead one polarity needs over the other
constexpr float kWeakShare = 0.5f;          // held frames this much weaker than the rest are noise
constexpr std::size_t kPendingChars = 32;   // characters held while undecided
}  // namespace

// Characters held back, with the strength of their frames and where the
// sender paused among them.
struct Pending {
    std::vector<SoftCode> codes;
    std::vector<float> strengths;
    std::size_t pause = 0;  // codes before this came before the last pause
};

// The part of the pipeline rebuilt whenever the settings change.
struct Chain {
    Chain(double rate, const DemodSettings& s, const FrameLayout& layout)
        : down(rate, 0.5 * s.shiftHz + kSidebandBauds * s.baud,
               std::max(kMinSamplesPerBit * s.baud,
                        2.0 * (s.shiftHz + 2.0 * kSidebandBauds * s.baud))),
          bit(down.WorkingRateHz() / s.baud),
          taps(std::max(1, static_cast<int>(std::lround(bit)))),
          low(-0.5 * s.shiftHz, down.WorkingRateHz(), taps),
          high(0.5 * s.shiftHz, down.WorkingRateHz(), taps),
          notch(down.WorkingRateHz(), bit),
          envelope(bit),
          mend(s.mendShifts && layout.dataBits == 5) {
        if (s.polarity != Polarity::Reverse) framers.emplace_back(layout, bit, taps, 1.0f);
        if (s.polarity != Polarity::Normal) framers.emplace_back(layout, bit, taps, -1.0f);
        waiting.resize(framers.size());
        pending.resize(framers.size());
        baseband.reserve(kBlockSamples + 1);
    }

    // Passes on one received character, through the shift recovery for 5-bit codes.
    void Put(const SoftCode& code, std::vector<std::uint8_t>& out) {
        if (mend)
            shifts.Push(code, out);
        else
            out.push_back(code.code);
    }

    // Takes over what `learnt` learnt over the samples it has seen: tone
    // levels, and carrier cancellers learnt back to its first sample.
    void Adopt(const Chain& learnt) {
        envelope = learnt.envelope;
        notch = learnt.notch;
        notch.Keep(nullptr);
        notch.LearnBackwards(learnt.record);
    }

    Downconverter down;
    double bit;
    int taps;
    ToneFilter low, high;
    CarrierNotch notch;
    Envelope envelope;
    BitSlicer slicer;
    std::vector<CharacterFramer> framers;
    std::vector<Pending> pending;  // held while no polarity is chosen or muted
    std::vector<bool> waiting;     // framer needs more samples
    std::vector<std::complex<float>> baseband;
    std::vector<CarrierNotch::Carrier> carriers;
    CarrierNotch::Record record;  // what the cancellers saw while learning
    bool mend;
    ShiftRecovery shifts;
    int chosen = -1;
    bool muted = false;
};

struct Demodulator::Impl {
    Impl(double rateHz, const DemodSettings& s)
        : rate(rateHz),
          settings(s),
          tuner(rateHz, s.baud, s.shiftHz),
          history(static_cast<std::size_t>(kReplaySeconds * rateHz) + 1, 0.0f) {
        Rebuild();
    }

    // A new chain; what the old one held back goes out with the next output.
    void Rebuild() {
        if (chain) chain->shifts.Flush(leftover);
        chain = std::make_unique<Chain>(rate, settings, FrameLayout::From(settings));
        running = false;
    }
    void Run(std::span<const float> samples, std::vector<std::uint8_t>& out);
    void Deliver(int index, const CharacterFramer::Frame& frame, std::vector<std::uint8_t>& out);
    void Choose(std::vector<std::uint8_t>& out);
    void Release(std::vector<std::uint8_t>& out);
    void Remember(std::span<const float> samples);
    void Replay(std::vector<std::uint8_t>& out);
    void Start(std::vector<std::uint8_t>& out);
    void Chunk(std::span<const float> samples, std::vector<std::uint8_t>& out);
    void Notch();

    double rate;
    DemodSettings settings;
    Tuner tuner;
    std::unique_ptr<Chain> chain;
    bool running = false;        // the chain follows a locked signal
    std::vector<float> history;  // ring of the most recent input
    std::size_t historyWrite = 0;
    std::size_t sinceUnlock = 0;  // samples the chain has not seen
    std::size_t received = 0;
    std::vector<double> carriers;
    std::vector<std::uint8_t> leftover;  // codes to put out first
};

void Demodulator::Impl::Remember(std::span<const float> samples) {
    for (float x : samples) {
        history[historyWrite] = x;
        historyWrite = (historyWrite + 1) % history.size();
    }
    received += samples.size();
    sinceUnlock = std::min(sinceUnlock + samples.size(), history.size());
}

// Decodes the remembered audio the chain has not seen: the characters sent
// while the tuner was still settling are not lost.
void Demodulator::Impl::Replay(std::vector<std::uint8_t>& out) {
    const std::size_t size = history.size();
    std::size_t at = (historyWrite + size - sinceUnlock) % size;
    std::size_t left = sinceUnlock;
    while (left > 0) {
        const std::size_t n = std::min({left, size - at, kBlockSamples});
        Run(std::span<const float>(history.data() + at, n), out);
        at = (at + n) % size;
        left -= n;
    }
}

void Demodulator::Impl::Run(std::span<const float> samples, std::vector<std::uint8_t>& out) {
    Chain& c = *chain;
    c.baseband.clear();
    c.down.Process(samples, c.baseband);
    for (const auto x : c.baseband) {
        const auto z = c.notch.Step(x, c.envelope.LowKeyed(), c.envelope.HighKeyed());
        c.slicer.Push(c.envelope.Step(c.low.Step(z), c.high.Step(z)));
    }
    // Frames of both polarities are taken in time order, so what goes out
    // does not depend on how the samples were cut into blocks.
    std::fill(c.waiting.begin(), c.waiting.end(), false);
    for (;;) {
        int next = -1;
        for (int i = 0; i < static_cast<int>(c.framers.size()); ++i)
            if (!c.waiting[static_cast<std::size_t>(i)] &&
                (next < 0 || c.framers[static_cast<std::size_t>(i)].NextTime() <
                                 c.framers[static_cast<std::size_t>(next)].NextTime()))
                next = i;
        if (next < 0) return;
        CharacterFramer::Frame frame;
        if (c.framers[static_cast<std::size_t>(next)].Next(c.slicer, frame))
            Deliver(next, frame, out);
        else
            c.waiting[static_cast<std::size_t>(next)] = true;
    }
}

// Passes on the characters of the chosen polarity. Until one polarity's
// frames are clearly valid, characters are held (the last kPendingChars of
// each, from its last failed frame on: noise before the signal makes a few
// frames that pass by chance) and nothing goes out, which is also the
// squelch. The polarity, once chosen, is kept until the signal is lost: a
// fade only mutes the output (holding again) until frames pass once more.
void Demodulator::Impl::Deliver(int index, const CharacterFramer::Frame& frame,
                                std::vector<std::uint8_t>& out) {
    Chain& c = *chain;
    const auto i = static_cast<std::size_t>(index);
    const bool open = index == c.chosen && !c.muted;
    Pending& held = c.pending[i];
    if (!open && frame.kind == CharacterFramer::FrameKind::Failed) held = {};
    if (!open && frame.kind == CharacterFramer::FrameKind::Pause) held.pause = held.codes.size();
    if (open && !frame.carries) c.shifts.Flush(out);
    if (frame.carries) {
        const SoftCode soft{frame.code, frame.alternative, frame.margin};
        if (open) {
            c.Put(soft, out);
        } else {
            if (held.codes.size() >= kPendingChars) {
                held.codes.erase(held.codes.begin());
                held.strengths.erase(held.strengths.begin());
                held.pause -= held.pause > 0 ? 1 : 0;
            }
            held.codes.push_back(soft);
            held.strengths.push_back(frame.strength);
        }
    }
    Choose(out);
}

float Median(std::vector<float> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Passes on the held characters of the chosen polarity. Frames held before
// the sender's last pause that are much weaker than those after it began
// in the noise before the signal and happened to pass: they are dropped.
// (Strength alone cannot tell them, a signal may start in a fade.)
void Demodulator::Impl::Release(std::vector<std::uint8_t>& out) {
    Chain& c = *chain;
    Pending& held = c.pending[static_cast<std::size_t>(c.chosen)];
    const auto& s = held.strengths;
    std::size_t first = 0;
    if (held.pause > 0 && held.pause < s.size()) {
        const auto pause = s.begin() + static_cast<std::ptrdiff_t>(held.pause);
        if (Median({s.begin(), pause}) < kWeakShare * Median({pause, s.end()})) first = held.pause;
    }
    for (std::size_t i = first; i < held.codes.size(); ++i) c.Put(held.codes[i], out);
    for (auto& p : c.pending) p = {};
}

void Demodulator::Impl::Choose(std::vector<std::uint8_t>& out) {
    Chain& c = *chain;
    const auto score = [&](int i) { return c.framers[static_cast<std::size_t>(i)].Score(); };
    if (c.chosen >= 0) {
        if (!c.muted && score(c.chosen) < kCloseScore) {
            c.muted = true;
            c.shifts.Flush(out);
        } else if (c.muted && score(c.chosen) >= kOpenScore) {
            c.muted = false;
            Release(out);
        }
        return;
    }
    const int count = static_cast<int>(c.framers.size());
    const int best = count > 1 && score(1) > score(0) ? 1 : 0;
    const double otherScore = count > 1 ? score(1 - best) : 0.0;
    if (c.framers[static_cast<std::size_t>(best)].Frames() < kMinFrames ||
        score(best) < kOpenScore || score(best) - otherScore < kPolarityMargin)
        return;
    c.chosen = best;
    Release(out);
}

void Demodulator::Impl::Chunk(std::span<const float> samples, std::vector<std::uint8_t>& out) {
    Remember(samples);
    if (running) {
        Run(samples, out);
        sinceUnlock = 0;
    }
    const double before = tuner.Centre();
    if (!tuner.Push(samples)) return;
    if (!tuner.Locked()) {
        if (running) {
            chain->shifts.Flush(out);
            Rebuild();
        }
        return;
    }
    const bool jumped = running && std::abs(tuner.Centre() - before) > 0.25 * settings.shiftHz;
    if (!running || jumped) {
        if (jumped) sinceUnlock = std::min(received, history.size());
        Start(out);
        return;
    }
    chain->down.SetCentre(tuner.Centre());
    Notch();
}

// Decodes the remembered audio twice: once to learn the tone levels and
// the carriers on the tones, then again from its start with what was
// learnt, so the first characters of a transmission are read as well as
// the rest.
void Demodulator::Impl::Start(std::vector<std::uint8_t>& out) {
    const std::size_t unseen = sinceUnlock;
    chain->shifts.Flush(out);
    Rebuild();
    chain->down.SetCentre(tuner.Centre());
    Notch();
    running = true;
    std::vector<std::uint8_t> learning;
    chain->notch.Keep(&chain->record);
    Replay(learning);
    chain->shifts = {};  // what the learning pass held is not put out
    const std::unique_ptr<Chain> learnt = std::move(chain);
    Rebuild();
    running = true;
    chain->down.SetCentre(tuner.Centre());
    chain->Adopt(*learnt);
    sinceUnlock = unseen;
    Replay(out);
    sinceUnlock = 0;
}

// Notches the steady carriers inside the band the tone filters see; one
// within a baud of a tone is learnt only while the other tone is keyed.
void Demodulator::Impl::Notch() {
    const double half = 0.5 * settings.shiftHz;
    tuner.Carriers(half + kSidebandBauds * settings.baud, carriers);
    auto& list = chain->carriers;
    list.clear();
    for (const double hz : carriers) {
        const double offset = hz - tuner.Centre();
        auto learn = CarrierNotch::Learn::Always;
        if (std::abs(offset + half) < settings.baud) learn = CarrierNotch::Learn::WhileHighKeyed;
        if (std::abs(offset - half) < settings.baud) learn = CarrierNotch::Learn::WhileLowKeyed;
        list.push_back({offset, learn});
    }
    chain->notch.Set(list);
}

Demodulator::Demodulator(double sampleRateHz, const DemodSettings& settings)
    : m_impl(std::make_unique<Impl>(sampleRateHz, settings)) {}

Demodulator::~Demodulator() = default;

void Demodulator::Configure(const DemodSettings& settings) {
    m_impl->settings = settings;
    m_impl->tuner.SetPair(settings.baud, settings.shiftHz);
    m_impl->Rebuild();
}

const DemodSettings& Demodulator::Settings() const { return m_impl->settings; }

void Demodulator::TuneTo(double centreHz) {
    m_impl->tuner.Fix(centreHz);
    m_impl->Rebuild();
}

void Demodulator::Release() { m_impl->tuner.Release(); }

void Demodulator::Process(std::span<const float> samples, std::vector<std::uint8_t>& out) {
    auto& leftover = m_impl->leftover;
    out.insert(out.end(), leftover.begin(), leftover.end());
    leftover.clear();
    std::size_t pos = 0;
    while (pos < samples.size()) {
        const std::size_t n = std::min({samples.size() - pos, m_impl->tuner.Room(), kBlockSamples});
        m_impl->Chunk(samples.subspan(pos, n), out);
        pos += n;
    }
}

void Demodulator::Flush(std::vector<std::uint8_t>& out) {
    m_impl->chain->shifts.Flush(m_impl->leftover);
    out.insert(out.end(), m_impl->leftover.begin(), m_impl->leftover.end());
    m_impl->leftover.clear();
}

TuningState Demodulator::Tuning() const {
    TuningState t;
    const Impl& d = *m_impl;
    t.locked = d.running;
    t.fixed = d.tuner.Fixed();
    if (!t.locked) return t;
    t.snrDb = d.tuner.SnrDb();
    const Chain& c = *d.chain;
    t.receiving = c.chosen >= 0 && !c.muted;
    t.reversed = c.chosen >= 0 ? c.framers[static_cast<std::size_t>(c.chosen)].Sign() < 0
                               : d.settings.polarity == Polarity::Reverse;
    const double low = d.tuner.Centre() - 0.5 * d.settings.shiftHz;
    const double high = d.tuner.Centre() + 0.5 * d.settings.shiftHz;
    t.markHz = t.reversed ? high : low;
    t.spaceHz = t.reversed ? low : high;
    return t;
}

void Demodulator::Spectrum(std::vector<float>& bins) const {
    m_impl->tuner.Spectrum(bins, kSpectrumBins);
}

}  // namespace modem
