// modem_bench: the demodulator's character error rate on the channels of
// short wave (white noise, steady carriers, flat and selective fading, a
// second station) and its speed against real time.
//
// Signal: real bulletin text as ITA2 line codes, 50 Bd, 450 Hz shift,
// 1.5 stop bits, mark above space (1725/1275 Hz); the demodulator is given
// only baud and shift (automatic polarity) and finds the tones itself. The
// sender repeats its shift at the start of every line, as the weather
// broadcasts do (--shifts: only where it changes, or also after every space
// before figures, as amateur programs do). A few points send plain language
// (this checkout's README) instead of bulletins.
// SNR is the signal power over the noise power in a 3 kHz bandwidth (the
// mean signal power on faded channels). Errors are the edit distance between
// the text sent and the text received, as a reader sees it (shifts applied,
// line ends cleaned up), over the text sent: a lost FIGS costs every figure
// it turns into a letter, up to the next shift the sender sends. One wrong
// code may so cost a line or more: each point is run with several seeds and
// shows their mean and median, and the errors on the line codes beside them.
// Every point has the same text and seeds.
//
// Usage: modem_bench [--chars N] [--seed S] [--seeds N] [--shifts encoder|line|group]
//                    [--raw-shifts] [--wav DIR] [--only TEXT]
// --raw-shifts turns the demodulator's lost shift recovery off.
// --wav writes each point's signal (8 kHz WAV, first seed, scaled to a
// peak of 0.9), the text sent and its line codes (.ita2, one byte per
// code) into DIR, to run other receivers on the same signals.
#include <getopt.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "demodulator.h"
#include "hf_channel.h"
#include "line_text_encoder.h"
#include "modulator.h"
#include "sender_shifts.h"
#include "signal_quality.h"
#include "sound_file_source.h"

namespace {

constexpr double kRate = 8000.0;
constexpr double kCentreHz = 1500.0;
constexpr double kShiftHz = 450.0;
constexpr double kLeadSeconds = 1.0;  // noise before the signal starts
constexpr double kCarrierDb = 10.0;   // carriers stand this far above the signal
constexpr double kWeakDb = -6.0;      // the second station, against the first
constexpr double kWeakOffsetHz = 1400.0;
constexpr double kClickSeconds = 6.0;  // the listener clicks on the second station

struct Options {
    std::size_t chars = 4000;
    unsigned seed = 1;
    unsigned seeds = 3;
    std::string wavDir;
    std::string only;
    modem::ShiftPractice shifts = modem::ShiftPractice::EachLine;
    bool rawShifts = false;  // the demodulator's shift recovery off
};

constexpr const char* kBulletins = DOVREL_SOURCE_DIR "/data/samples/bulletins.txt";
constexpr const char* kPlainText = DOVREL_SOURCE_DIR "/README.md";

// The first `limit` line codes of the file's text from character `skip` on,
// with the shifts the sender repeats.
std::string TextCodes(const char* path, const Options& o, std::size_t skip = 0) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    dovrel::TelexOptions options;
    dovrel::TelexState state;
    std::vector<dovrel::UnsendableChar> unsendable;
    std::string codes = modem::RepeatShifts(
        dovrel::EncodeLineText(text.str().substr(skip), options, state, unsendable), o.shifts);
    // The modulator sends FIGS first before text that begins without a
    // shift (the encoder takes the far end to be in figures): so does the
    // text sent, which a receiver that joins late must read in figures.
    const auto first = codes.empty() ? 0 : codes[0];
    if (first != dovrel::kCodeFigs && first != dovrel::kCodeLtrs)
        codes.insert(codes.begin(), static_cast<char>(dovrel::kCodeFigs));
    if (codes.size() > o.chars) codes.resize(o.chars);
    return codes;
}

modem::DemodSettings LineSettings() {
    modem::DemodSettings s;
    s.baud = 50.0;
    s.shiftHz = kShiftHz;
    s.stopBits = 1.5;
    return s;
}

std::vector<float> Signal(double rate, const std::string& codes, double centreHz = kCentreHz,
                          float amplitude = 0.5f) {
    modem::ModSettings m;
    m.line = LineSettings();
    m.line.polarity = modem::Polarity::Reverse;
    m.centreHz = centreHz;
    m.amplitude = amplitude;
    modem::Modulator mod(rate, m);
    std::vector<float> out(static_cast<std::size_t>(kLeadSeconds * rate), 0.0f);
    mod.Idle(5, out);
    mod.Send({reinterpret_cast<const std::uint8_t*>(codes.data()), codes.size()}, out);
    mod.Idle(20, out);
    return out;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Decodes `samples` in sound-card blocks. With clickHz > 0 the listener
// clicks there after kClickSeconds, and only what comes after counts.
std::string Demodulate(const Options& o, double rate, const std::vector<float>& samples,
                       double clickHz = 0.0, double* seconds = nullptr) {
    modem::DemodSettings settings = LineSettings();
    settings.mendShifts = !o.rawShifts;
    modem::Demodulator demod(rate, settings);
    std::vector<std::uint8_t> out;
    out.reserve(samples.size() / 100);
    const double start = CpuSeconds();
    constexpr std::size_t kBlock = 1024;
    const auto click = static_cast<std::size_t>(kClickSeconds * rate) / kBlock * kBlock;
    for (std::size_t i = 0; i < samples.size(); i += kBlock) {
        if (clickHz > 0.0 && i == click) {
            demod.TuneTo(clickHz);
            out.clear();
        }
        demod.Process(
            std::span<const float>(samples).subspan(i, std::min(kBlock, samples.size() - i)), out);
    }
    if (seconds) *seconds = CpuSeconds() - start;
    return std::string(out.begin(), out.end());
}

// One point of the table: how the channel spoils the signal.
struct Point {
    std::string name;
    std::function<void(std::vector<float>&, unsigned seed)> channel;
    bool plain = false;  // plain language instead of bulletins
};

std::vector<Point> Points() {
    std::vector<Point> p;
    for (const int snr : {-10, -9, -8, -7, -6, -5, -3, 0})
        p.push_back({"white noise " + std::to_string(snr) + " dB",
                     [snr](auto& s, unsigned seed) { modem::AddWhiteNoise(s, kRate, snr, seed); }});
    // Carriers 10 dB above the signal, SNR 0 dB: away from the pair, one
    // shift from a tone (a false pair with it), on a tone, 3 Hz and 25 Hz
    // from it, beside it, midway.
    for (const double hz : {400.0, 825.0, 1000.0, 1275.0, 1278.0, 1375.0, 1500.0, 1725.0, 1750.0,
                            2175.0, 2500.0, 3200.0})
        p.push_back({"carrier +10 dB at " + std::to_string(static_cast<int>(hz)) + " Hz, 0 dB",
                     [hz](auto& s, unsigned seed) {
                         modem::AddCarrier(s, kRate, hz, kCarrierDb);
                         modem::AddWhiteNoise(s, kRate, 0.0, seed);
                     }});
    p.push_back({"flat Rayleigh 1 Hz, no noise", [](auto& s, unsigned seed) {
                     modem::ApplyFading(s, kRate, modem::kFlatRayleigh, seed);
                 }});
    p.push_back({"mark tone Rayleigh 0.5 Hz, +10 dB", [](auto& s, unsigned seed) {
                     modem::FadeOneSide(s, kRate, kCentreHz, true, 0.5, seed);
                     modem::AddWhiteNoise(s, kRate, 10.0, seed);
                 }});
    for (const auto* ch : {&modem::kCcirGood, &modem::kCcirModerate, &modem::kCcirPoor})
        for (const int snr : {10, 20})
            p.push_back({std::string(ch->name) + " +" + std::to_string(snr) + " dB",
                         [ch, snr](auto& s, unsigned seed) {
                             modem::ApplyFading(s, kRate, *ch, seed);
                             modem::AddWhiteNoise(s, kRate, snr, seed + 1);
                         }});
    for (const int snr : {-8, -6})
        p.push_back({"plain: white noise " + std::to_string(snr) + " dB",
                     [snr](auto& s, unsigned seed) { modem::AddWhiteNoise(s, kRate, snr, seed); },
                     true});
    for (const auto* ch : {&modem::kCcirModerate, &modem::kCcirPoor})
        p.push_back({std::string("plain: ") + ch->name + " +20 dB",
                     [ch](auto& s, unsigned seed) {
                         modem::ApplyFading(s, kRate, *ch, seed);
                         modem::AddWhiteNoise(s, kRate, 20, seed + 1);
                     },
                     true});
    return p;
}

Options ParseArgs(int argc, char** argv) {
    static const option kLong[] = {
        {"chars", required_argument, nullptr, 'c'}, {"seed", required_argument, nullptr, 's'},
        {"seeds", required_argument, nullptr, 'n'}, {"wav", required_argument, nullptr, 'w'},
        {"only", required_argument, nullptr, 'o'},  {"shifts", required_argument, nullptr, 'h'},
        {"raw-shifts", no_argument, nullptr, 'r'},  {nullptr, 0, nullptr, 0}};
    Options o;
    for (int c; (c = getopt_long(argc, argv, "", kLong, nullptr)) != -1;) {
        if (c == 'c') o.chars = std::strtoul(optarg, nullptr, 10);
        if (c == 's') o.seed = static_cast<unsigned>(std::atoi(optarg));
        if (c == 'n') o.seeds = std::max(1u, static_cast<unsigned>(std::atoi(optarg)));
        if (c == 'w') o.wavDir = optarg;
        if (c == 'o') o.only = optarg;
        if (c == 'r') o.rawShifts = true;
        if (c == 'h' && std::string(optarg) == "encoder")
            o.shifts = modem::ShiftPractice::AsEncoded;
        if (c == 'h' && std::string(optarg) == "group") o.shifts = modem::ShiftPractice::EachGroup;
        if (c == '?') std::exit(2);
    }
    return o;
}

// The file's samples: scaled so that their peak is 0.9 (noise at low SNR
// and carriers reach past 1, which 16-bit PCM would clip).
void WriteScaledWav(const std::string& path, const std::vector<float>& samples) {
    float peak = 1e-9f;
    for (const float x : samples) peak = std::max(peak, std::abs(x));
    std::vector<float> scaled(samples);
    for (float& x : scaled) x *= 0.9f / peak;
    modem::WriteWav(path, kRate, scaled);
}

std::string FileName(std::string name) {
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '+') c = '_';
    return name;
}

// Errors of one run, in per cent: on the text as a reader sees it and on
// the line codes.
struct Errors {
    double text = 0.0, codes = 0.0;
    std::size_t chars = 0;
};

Errors Count(const std::string& sentCodes, const std::string& got, bool joinedLate = false) {
    const std::string sent = modem::ReaderText(sentCodes);
    const std::string text = modem::ReaderText(got);
    const auto share = [](std::size_t errors, std::size_t of) {
        return 100.0 * static_cast<double>(errors) /
               static_cast<double>(std::max<std::size_t>(of, 1));
    };
    return {share(modem::CharacterErrors(sent, text, joinedLate),
                  joinedLate ? text.size() : sent.size()),
            share(modem::CharacterErrors(sentCodes, got, joinedLate),
                  joinedLate ? got.size() : sentCodes.size()),
            text.size()};
}

void Report(const std::string& name, std::vector<Errors> runs) {
    double text = 0.0, codes = 0.0, chars = 0.0;
    for (const Errors& e : runs) {
        text += e.text;
        codes += e.codes;
        chars += static_cast<double>(e.chars);
    }
    const double n = static_cast<double>(runs.size());
    std::sort(runs.begin(), runs.end(),
              [](const Errors& a, const Errors& b) { return a.text < b.text; });
    const Errors& mid = runs[runs.size() / 2];
    std::printf("%-40s %8.2f %8.2f %8.2f %8.0f\n", name.c_str(), text / n, mid.text, codes / n,
                chars / n);
    std::fflush(stdout);
}

// The second station: the listener clicks on a station 6 dB weaker,
// 1,400 Hz above the one the demodulator found first; only the text after
// the click counts, against the weaker station's text (which it may join
// anywhere).
void TwoStations(const Options& o, const std::string& codes) {
    const std::string other = TextCodes(kBulletins, o, 5000);
    std::vector<Errors> runs;
    for (unsigned k = 0; k < o.seeds; ++k) {
        std::vector<float> s = Signal(kRate, codes);
        const float weak = static_cast<float>(0.5 * std::pow(10.0, kWeakDb / 20.0));
        const std::vector<float> w = Signal(kRate, other, kCentreHz + kWeakOffsetHz, weak);
        for (std::size_t i = 0; i < std::min(s.size(), w.size()); ++i) s[i] += w[i];
        modem::AddWhiteNoise(s, kRate, 10.0, o.seed + k);
        if (!o.wavDir.empty() && k == 0) WriteScaledWav(o.wavDir + "/two_stations.wav", s);
        runs.push_back(Count(other, Demodulate(o, kRate, s, kCentreHz + kWeakOffsetHz), true));
    }
    Report("weaker station (-6 dB) after a click", runs);
}

void Speed(const Options& o, const std::string& codes) {
    std::printf("speed (processor time on one core, 0 dB SNR signal)\n");
    for (const double rate : {8000.0, 48000.0}) {
        std::vector<float> samples =
            Signal(rate, codes.substr(0, std::min<std::size_t>(codes.size(), 2000)));
        modem::AddWhiteNoise(samples, rate, 0.0, o.seed);
        double seconds = 0.0;
        Demodulate(o, rate, samples, 0.0, &seconds);
        const double audio = static_cast<double>(samples.size()) / rate;
        std::printf("%6.0f Hz: %7.0f x real time (%.1f s of audio in %.3f s)\n", rate,
                    audio / seconds, audio, seconds);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = ParseArgs(argc, argv);
    const std::string codes = TextCodes(kBulletins, o);
    const std::string plain = TextCodes(kPlainText, o);
    const std::string sentText = modem::ReaderText(codes);
    static const char* const kPractice[] = {"only where it changes", "again at every line start",
                                            "again at every line start and before figure groups"};
    std::printf(
        "character errors, %zu codes (%zu characters) of bulletin text, 50 Bd, 450 Hz,\n"
        "1.5 stop bits, mark 1725 Hz above space 1275 Hz, automatic polarity, %u seeds from %u;\n"
        "the sender's shift %s; text %%: edit distance on the text as a reader sees it\n",
        codes.size(), sentText.size(), o.seeds, o.seed, kPractice[static_cast<int>(o.shifts)]);
    if (!o.wavDir.empty()) {
        std::ofstream(o.wavDir + "/text.txt", std::ios::binary) << sentText;
        std::ofstream(o.wavDir + "/codes.ita2", std::ios::binary) << codes;
        std::ofstream(o.wavDir + "/plain.txt", std::ios::binary) << modem::ReaderText(plain);
        std::ofstream(o.wavDir + "/plain.ita2", std::ios::binary) << plain;
    }
    std::printf("%-40s %8s %8s %8s %8s\n", "channel", "text %", "median", "codes %", "chars");
    for (const Point& p : Points()) {
        if (!o.only.empty() && p.name.find(o.only) == std::string::npos) continue;
        std::vector<Errors> runs;
        for (unsigned k = 0; k < o.seeds; ++k) {
            const std::string& sent = p.plain ? plain : codes;
            std::vector<float> s = Signal(kRate, sent);
            p.channel(s, o.seed + k);
            if (!o.wavDir.empty() && k == 0)
                WriteScaledWav(o.wavDir + "/" + FileName(p.name) + ".wav", s);
            runs.push_back(Count(sent, Demodulate(o, kRate, s)));
        }
        Report(p.name, runs);
    }
    if (o.only.empty() || std::string("weaker station").find(o.only) != std::string::npos)
        TwoStations(o, codes);
    if (o.only.empty() || o.only == "speed") Speed(o, codes);
    return 0;
}
