// modem_bench: the demodulator's character error rate against white noise
// and its speed against real time.
//
// Signal: real bulletin text as ITA2 line codes, 50 Bd, 450 Hz shift,
// 1.5 stop bits, mark above space; the demodulator is given only baud and
// shift (automatic polarity) and is first tuned 100 Hz off. SNR is the
// signal power over the noise power in a 3 kHz bandwidth. The error rate is
// the edit distance between the codes sent and received over the codes sent.
//
// Usage: modem_bench [--chars N] [--snr LOW HIGH] [--seed S]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "demodulator.h"
#include "line_text_encoder.h"
#include "modulator.h"
#include "signal_quality.h"

namespace {

constexpr double kCentreHz = 1500.0;
constexpr double kTuneOffHz = 100.0;
constexpr double kLeadSeconds = 1.0;  // noise before the signal starts

struct Options {
    std::size_t chars = 4000;
    int snrLow = -10, snrHigh = 0;
    unsigned seed = 1;
};

std::string BulletinCodes(std::size_t limit) {
    std::ifstream in(DOVREL_SOURCE_DIR "/data/samples/bulletins.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    dovrel::TelexOptions options;
    dovrel::TelexState state;
    std::vector<dovrel::UnsendableChar> unsendable;
    std::string codes = dovrel::EncodeLineText(text.str(), options, state, unsendable);
    if (codes.size() > limit) codes.resize(limit);
    return codes;
}

modem::DemodSettings LineSettings() {
    modem::DemodSettings s;
    s.baud = 50.0;
    s.shiftHz = 450.0;
    s.stopBits = 1.5;
    return s;
}

std::vector<float> Signal(double rate, const std::string& codes) {
    modem::ModSettings m;
    m.line = LineSettings();
    m.line.polarity = modem::Polarity::Reverse;
    m.centreHz = kCentreHz;
    modem::Modulator mod(rate, m);
    std::vector<float> out(static_cast<std::size_t>(kLeadSeconds * rate), 0.0f);
    mod.Idle(5, out);
    mod.Send({reinterpret_cast<const std::uint8_t*>(codes.data()), codes.size()}, out);
    mod.Idle(20, out);
    return out;
}

std::string Demodulate(double rate, const std::vector<float>& samples, double* seconds) {
    modem::Demodulator demod(rate, LineSettings());
    demod.TuneTo(kCentreHz - kTuneOffHz);
    std::vector<std::uint8_t> out;
    out.reserve(samples.size() / 100);
    // Processor time of this thread: other work on the machine does not count.
    const auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
    };
    const double start = cpu();
    constexpr std::size_t kBlock = 1024;
    for (std::size_t i = 0; i < samples.size(); i += kBlock)
        demod.Process(
            std::span<const float>(samples).subspan(i, std::min(kBlock, samples.size() - i)), out);
    if (seconds) *seconds = cpu() - start;
    return std::string(out.begin(), out.end());
}

Options ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--chars") && i + 1 < argc)
            o.chars = std::strtoul(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            o.seed = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--snr") && i + 2 < argc) {
            o.snrLow = std::atoi(argv[++i]);
            o.snrHigh = std::atoi(argv[++i]);
        }
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = ParseArgs(argc, argv);
    const std::string codes = BulletinCodes(o.chars);
    std::printf(
        "character error rate, %zu codes of bulletin text, 50 Bd, 450 Hz, 1.5 stop bits,\n"
        "mark above space, automatic polarity, tuned %g Hz off\n",
        codes.size(), kTuneOffHz);
    std::printf("%8s %10s %8s\n", "SNR dB", "CER %", "codes");
    for (int snr = o.snrLow; snr <= o.snrHigh; ++snr) {
        std::vector<float> samples = Signal(8000.0, codes);
        modem::AddWhiteNoise(samples, 8000.0, snr, o.seed + static_cast<unsigned>(snr + 100));
        const std::string got = Demodulate(8000.0, samples, nullptr);
        const double cer = 100.0 * static_cast<double>(modem::CharacterErrors(codes, got)) /
                           static_cast<double>(codes.size());
        std::printf("%8d %10.2f %8zu\n", snr, cer, got.size());
        std::fflush(stdout);
    }
    std::printf("speed (processor time on one core, 0 dB SNR signal)\n");
    for (const double rate : {8000.0, 48000.0}) {
        std::vector<float> samples =
            Signal(rate, codes.substr(0, std::min<std::size_t>(codes.size(), 2000)));
        modem::AddWhiteNoise(samples, rate, 0.0, o.seed);
        double seconds = 0.0;
        Demodulate(rate, samples, &seconds);
        const double audio = static_cast<double>(samples.size()) / rate;
        std::printf("%6.0f Hz: %7.0f x real time (%.1f s of audio in %.3f s)\n", rate,
                    audio / seconds, audio, seconds);
    }
    return 0;
}
