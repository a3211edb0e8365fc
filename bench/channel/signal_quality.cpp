// White noise by the normal distribution of the standard library; errors by
// the edit distance, so a lost character counts once, not for every
// character after it.
#include "signal_quality.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "line_text_decoder.h"

namespace modem {
namespace {

constexpr double kNoiseBandHz = 3000.0;

}  // namespace

void AddWhiteNoise(std::vector<float>& samples, double rateHz, double snrDb, unsigned seed,
                   double amplitude) {
    const double signalPower = 0.5 * amplitude * amplitude;
    const double bandNoise = signalPower / std::pow(10.0, snrDb / 10.0);
    const double sigma = std::sqrt(bandNoise * (0.5 * rateHz) / kNoiseBandHz);
    std::mt19937 rng(seed);
    std::normal_distribution<float> noise(0.0f, static_cast<float>(sigma));
    for (float& x : samples) x += noise(rng);
}

std::size_t CharacterErrors(std::string_view sent, std::string_view received, bool joinedLate) {
    // row[j]: cost of the first i sent characters against the first j received.
    std::vector<std::size_t> row(received.size() + 1);
    for (std::size_t j = 0; j <= received.size(); ++j) row[j] = j;
    std::size_t best = row[received.size()];
    for (std::size_t i = 1; i <= sent.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = joinedLate ? 0 : i;
        for (std::size_t j = 1; j <= received.size(); ++j) {
            const std::size_t up = row[j];
            const std::size_t change = diagonal + (sent[i - 1] == received[j - 1] ? 0 : 1);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, change});
            diagonal = up;
        }
        best = std::min(best, row[received.size()]);
    }
    // Joined late, the received text may also end before the sent one does.
    return joinedLate ? best : row[received.size()];
}

std::string ReaderText(std::string_view codes, int dataBits) {
    dovrel::TelexOptions options;
    if (dataBits != 5)
        options.code = dataBits == 7 ? dovrel::LineCode::Ascii7 : dovrel::LineCode::Ascii8;
    dovrel::LineTextDecoder decoder(options);
    std::string text;
    decoder.Feed(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(codes.data()),
                                               codes.size()),
                 text);
    decoder.Finish(text);
    return text;
}

}  // namespace modem
