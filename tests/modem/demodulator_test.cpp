// The demodulator end to end: signals from the modulator through the test
// channel (noise, carriers, fading, a second station), noise alone, and the
// real recording of a 50-baud broadcast.
#include "demodulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "hf_channel.h"
#include "line_text_decoder.h"
#include "line_text_encoder.h"
#include "modulator.h"
#include "signal_quality.h"
#include "sound_file_source.h"

namespace {

using modem::Parity;
using modem::Polarity;

// Starts with figures, as a transmission may: the first line must come back too.
constexpr const char* kText =
    "10875 26/45 /1201\nZCZC 123\nAAXX 27034\n01028 41470 40319 10012 21002 39996=\nNNNN\n";

std::string Codes(const std::string& text, int dataBits = 5) {
    dovrel::TelexOptions o;
    if (dataBits != 5) o.code = dataBits == 7 ? dovrel::LineCode::Ascii7 : dovrel::LineCode::Ascii8;
    dovrel::TelexState state;
    std::vector<dovrel::UnsendableChar> unsendable;
    return dovrel::EncodeLineText(text, o, state, unsendable);
}

// Signal of `codes` with a second of idle mark before and after.
std::vector<float> Signal(double rate, const modem::ModSettings& m, const std::string& codes) {
    modem::Modulator mod(rate, m);
    std::vector<float> out;
    mod.Idle(m.line.baud, out);
    mod.Send({reinterpret_cast<const std::uint8_t*>(codes.data()), codes.size()}, out);
    mod.Idle(m.line.baud, out);
    return out;
}

// Feeds in uneven blocks, as a sound card would (or all at once).
std::string Demodulate(double rate, const modem::DemodSettings& s,
                       const std::vector<float>& samples, bool uneven = true) {
    modem::Demodulator demod(rate, s);
    std::vector<std::uint8_t> out;
    const std::size_t blocks[] = {uneven ? 1 : samples.size(), 333, 4096, 77, 10000};
    for (std::size_t i = 0, k = 0; i < samples.size(); ++k) {
        const std::size_t n = std::min(blocks[k % 5], samples.size() - i);
        demod.Process(std::span<const float>(samples).subspan(i, n), out);
        i += n;
    }
    return {out.begin(), out.end()};
}

struct RoundTrip {
    const char* name;
    double rate, baud, shift, stopBits;
    int dataBits;
    Parity parity;
    Polarity sent, told;  // the signal's sense, and what the demodulator is told
    double centreHz;
};

void PrintTo(const RoundTrip& r, std::ostream* os) { *os << r.name; }

class RoundTripTest : public testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTripTest, GivesBackEveryCharacter) {
    const RoundTrip& r = GetParam();
    modem::ModSettings m;
    m.line = {r.baud, r.shift, r.stopBits, r.dataBits, r.parity, r.sent};
    m.centreHz = r.centreHz;
    const std::string codes = Codes(kText, r.dataBits);
    modem::DemodSettings told = m.line;
    told.polarity = r.told;
    const std::string got = Demodulate(r.rate, told, Signal(r.rate, m, codes));
    EXPECT_EQ(modem::ReaderText(got, r.dataBits), kText);
}

INSTANTIATE_TEST_SUITE_P(
    Modem, RoundTripTest,
    testing::Values(RoundTrip{"Weather50Bd450HzReverseAuto", 8000, 50, 450, 1.5, 5, Parity::None,
                              Polarity::Reverse, Polarity::Automatic, 2000},
                    RoundTrip{"Weather50Bd450HzNormalAuto48k", 48000, 50, 450, 1.5, 5, Parity::None,
                              Polarity::Normal, Polarity::Automatic, 1000},
                    RoundTrip{"Amateur45Bd170HzOneStopTold", 11025, 45.45, 170, 1, 5, Parity::None,
                              Polarity::Normal, Polarity::Normal, 2210},
                    RoundTrip{"Navtex100Bd170HzTwoStop", 8000, 100, 170, 2, 5, Parity::None,
                              Polarity::Reverse, Polarity::Reverse, 1700},
                    RoundTrip{"Wide75Bd850HzAt44k", 44100, 75, 850, 1.5, 5, Parity::None,
                              Polarity::Normal, Polarity::Automatic, 1800},
                    RoundTrip{"Ascii300Bd850HzEvenParity", 48000, 300, 850, 1, 7, Parity::Even,
                              Polarity::Normal, Polarity::Automatic, 1700},
                    RoundTrip{"Ascii110Bd200HzEightBits", 16000, 110, 200, 2, 8, Parity::None,
                              Polarity::Reverse, Polarity::Automatic, 800},
                    RoundTrip{"Narrow57Bd85HzLowEdge", 8000, 56.88, 85, 1.5, 5, Parity::None,
                              Polarity::Normal, Polarity::Automatic, 400}),
    [](const testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

modem::ModSettings Weather() {
    modem::ModSettings m;
    m.line.polarity = Polarity::Reverse;
    m.centreHz = 1500;
    return m;
}

TEST(Modem, NoiseAloneAndSilenceGiveNoCharacters) {
    std::vector<float> noise(8000 * 30, 0.0f);
    EXPECT_EQ(Demodulate(8000, {}, noise), "");
    modem::AddWhiteNoise(noise, 8000, 0.0, 3);
    EXPECT_EQ(Demodulate(8000, {}, noise), "");
}

// Short-wave channels: the share of the text (as a reader sees it) that may
// be wrong. The signal is mark 1725 Hz above space 1275 Hz.
struct Channel {
    const char* name;
    std::function<void(std::vector<float>&)> spoil;
    double maxErrorPercent;
};

void PrintTo(const Channel& c, std::ostream* os) { *os << c.name; }

class ChannelTest : public testing::TestWithParam<Channel> {};

TEST_P(ChannelTest, KeepsTheTextReadable) {
    const std::string sent = std::string(kText) + kText + kText + kText;
    std::vector<float> s = Signal(8000, Weather(), Codes(sent));
    GetParam().spoil(s);
    const std::string got = modem::ReaderText(Demodulate(8000, {}, s));
    // The whole text counts, its first line (figures) included.
    EXPECT_LE(100.0 * static_cast<double>(modem::CharacterErrors(sent, got)),
              GetParam().maxErrorPercent * static_cast<double>(sent.size()))
        << got;
}

void Noise(std::vector<float>& s, double snrDb) { modem::AddWhiteNoise(s, 8000, snrDb, 7); }

INSTANTIATE_TEST_SUITE_P(
    Modem, ChannelTest,
    testing::Values(
        Channel{"WhiteNoiseMinus5Db", [](auto& s) { Noise(s, -5); }, 2},
        // A steady carrier 10 dB above the signal must not be taken for a
        // tone, paired with noise or with one tone; on a tone or beside the
        // pair it is notched out.
        Channel{"CarrierOnTheMarkTone",
                [](auto& s) { modem::AddCarrier(s, 8000, 1725, 10), Noise(s, 0); }, 1},
        Channel{"CarrierOnTheSpaceTone",
                [](auto& s) { modem::AddCarrier(s, 8000, 1275, 10), Noise(s, 0); }, 1},
        Channel{"CarrierOneShiftBelowSpace",
                [](auto& s) { modem::AddCarrier(s, 8000, 825, 10), Noise(s, 0); }, 1},
        Channel{"CarrierBesideTheSpaceTone",
                [](auto& s) { modem::AddCarrier(s, 8000, 1375, 10), Noise(s, 0); }, 1},
        Channel{"NoiselessFlatFading",
                [](auto& s) { modem::ApplyFading(s, 8000, modem::kFlatRayleigh, 5); }, 0.5},
        // One tone fades while the other stays: the decision rests on the other.
        Channel{"SpaceToneFadingAlone",
                [](auto& s) { modem::FadeOneSide(s, 8000, 1500, false, 1.0, 9); }, 1},
        // Deep fades must not turn the polarity over.
        Channel{"CcirPoorKeepsPolarity",
                [](auto& s) { modem::ApplyFading(s, 8000, modem::kCcirPoor, 3), Noise(s, 20); },
                2}),
    [](const testing::TestParamInfo<Channel>& info) { return std::string(info.param.name); });

// A FIGS received as LTRS in a figure run (here the second copy's first
// line) costs nothing: the figures are read as figures.
TEST(Modem, MendsALostFigs) {
    const std::string sent = std::string(kText) + kText;
    std::string codes = Codes(sent);
    std::size_t at = 0;
    for (int k = 0; k < 4; ++k) at = codes.find('\x1b', at) + 1;
    codes[at - 1] = '\x1f';
    EXPECT_EQ(modem::ReaderText(Demodulate(8000, {}, Signal(8000, Weather(), codes))), sent);
}

// Two stations start together; the stronger is taken first. A click on the
// other, 6 dB weaker and 1,400 Hz away, moves there and holds it: from the
// click on only its text comes out.
TEST(Modem, ClickOnAWeakerStationHoldsIt) {
    const std::string strong = Codes(std::string(kText) + kText + kText + kText);
    const std::string weakText =
        "RYRYRY THE QUICK BROWN FOX 1234567890\n" + std::string(kText) + kText + kText;
    const std::string weak = Codes(weakText);
    std::vector<float> s = Signal(8000, Weather(), strong);
    modem::ModSettings other = Weather();
    other.centreHz = 2900;
    other.amplitude = 0.25f;
    const std::vector<float> w = Signal(8000, other, weak);
    for (std::size_t i = 0; i < std::min(s.size(), w.size()); ++i) s[i] += w[i];
    Noise(s, 10);
    modem::Demodulator demod(8000, {});
    std::vector<std::uint8_t> out;
    const std::size_t click = 8000 * 4;
    demod.Process(std::span<const float>(s).first(click), out);
    EXPECT_NEAR(demod.Tuning().markHz, 1725, 10);
    demod.TuneTo(2900);
    out.clear();
    demod.Process(std::span<const float>(s).subspan(click, click), out);
    EXPECT_TRUE(demod.Tuning().fixed);
    EXPECT_NEAR(demod.Tuning().markHz, 3125, 10);
    demod.Process(std::span<const float>(s).subspan(2 * click), out);
    const std::string got =
        modem::ReaderText({reinterpret_cast<const char*>(out.data()), out.size()});
    EXPECT_LE(modem::CharacterErrors(weakText, got, true), got.size() / 100) << got;
    EXPECT_GT(got.size(), weakText.size() / 2);
}

// The transmitter drifts 150 Hz up over the text in 10 Hz steps; the AFC
// follows it and the tuning ends on the last tones.
TEST(Modem, AfcFollowsDrift) {
    const std::string codes = Codes(std::string(kText) + kText + kText + kText);
    modem::ModSettings m = Weather();
    m.announceShift = false;  // one transmission cut in pieces: codes as they are
    std::vector<float> s;
    const std::size_t step = codes.size() / 15 + 1;
    for (std::size_t i = 0; i < codes.size(); i += step, m.centreHz += 10) {
        modem::Modulator mod(8000, m);
        const std::string part = codes.substr(i, step);
        mod.Send({reinterpret_cast<const std::uint8_t*>(part.data()), part.size()}, s);
    }
    modem::Demodulator demod(8000, {});
    std::vector<std::uint8_t> out;
    demod.Process(s, out);
    EXPECT_LE(modem::CharacterErrors(codes, std::string(out.begin(), out.end())),
              codes.size() / 100);
    EXPECT_NEAR(demod.Tuning().markHz, m.centreHz - 10 + 225, 10.0);
}

TEST(Modem, TuningReportsTheTonesFound) {
    modem::Demodulator demod(8000, {});
    std::vector<std::uint8_t> out;
    demod.Process(Signal(8000, Weather(), Codes(kText)), out);
    const modem::TuningState t = demod.Tuning();
    EXPECT_TRUE(t.locked);
    EXPECT_TRUE(t.reversed);
    EXPECT_NEAR(t.markHz, 1725.0, 8.0);
    EXPECT_NEAR(t.spaceHz, 1275.0, 8.0);
    std::vector<float> bins;
    demod.Spectrum(bins);
    ASSERT_EQ(bins.size(), static_cast<std::size_t>(modem::kSpectrumBins));
    const auto peak = std::max_element(bins.begin(), bins.end()) - bins.begin();
    const double peakHz = modem::kSearchLowHz + (peak + 0.5) *
                                                    (modem::kSearchHighHz - modem::kSearchLowHz) /
                                                    modem::kSpectrumBins;
    EXPECT_TRUE(std::abs(peakHz - 1725.0) < 40.0 || std::abs(peakHz - 1275.0) < 40.0) << peakHz;

    // New settings of the same shift: the signal is found again and decoded.
    demod.Configure({});
    out.clear();
    demod.Process(Signal(8000, Weather(), Codes(kText)), out);
    EXPECT_TRUE(std::string(out.begin(), out.end()).ends_with(Codes(kText).substr(5)));
    EXPECT_TRUE(demod.Tuning().receiving);
}

// The recording of the 50-baud broadcast's idle loop, given only baud and shift.
TEST(Modem, RealRecordingDecodesToItsLoop) {
    modem::SoundFileSource file(DOVREL_SOURCE_DIR
                                "/tests/data/rtty/librttywx_dwd_ddk_testloop_8k.wav");
    ASSERT_EQ(file.Error(), "");
    std::vector<float> samples(1 << 20);
    samples.resize(file.Read(samples));
    modem::DemodSettings s;
    s.baud = 50;
    s.shiftHz = 450;
    const std::string codes = Demodulate(file.SampleRate(), s, samples);
    EXPECT_EQ(Demodulate(file.SampleRate(), s, samples, false), codes)
        << "blocks change the result";
    std::string text;
    dovrel::LineTextDecoder(dovrel::TelexOptions{})
        .Feed(std::vector<std::uint8_t>(codes.begin(), codes.end()), text);
    EXPECT_EQ(text,
              "RYRYRY\n"
              "CQ CQ CQ DE DDK2 DDH7 DDK9\n"
              "FREQUENCIES   4583 KHZ   7646 KHZ   10100.8 KHZ\n"
              "RYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRY\n"
              "CQ CQ CQ DE DDK2 DDH7 DDK9\n"
              "FREQUENCIES   4583 KHZ   7646 KHZ   10100.8 KHZ\n"
              "RYRYRYRYRYRYRYRYRYRYRYRY");
}

}  // namespace
