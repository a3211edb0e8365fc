// Line settings to demodulator settings.
#include "line_demod_settings.h"

#include <array>

namespace dovrel {
namespace {

// Parity codes of the line settings (N, O, E, M, S) in the demodulator's terms.
constexpr std::array<modem::Parity, 5> kParities = {modem::Parity::None, modem::Parity::Odd,
                                                    modem::Parity::Even, modem::Parity::Mark,
                                                    modem::Parity::Space};
// Stop codes 0, 1, 2 as stop bits.
constexpr std::array<double, 3> kStopBits = {1.0, 1.5, 2.0};

double AudioBaud(std::int32_t baud) {
    // 45 is how the serial settings store 45.45 baud.
    return baud == 45 ? kAudioMinBaud : static_cast<double>(baud);
}

}  // namespace

modem::DemodSettings DemodSettingsOf(const LineSettings& line) {
    modem::DemodSettings s;
    s.baud = AudioBaud(line.Baud);
    s.shiftHz = line.Shift;
    if (line.Stop < kStopBits.size()) s.stopBits = kStopBits[line.Stop];
    s.dataBits = line.Data == 7 || line.Data == 8 ? line.Data : 5;
    if (s.dataBits != 5 && line.Parity < kParities.size()) s.parity = kParities[line.Parity];
    s.polarity = line.Polarity == 1   ? modem::Polarity::Normal
                 : line.Polarity == 2 ? modem::Polarity::Reverse
                                      : modem::Polarity::Automatic;
    s.mendShifts = line.MendShifts;
    return s;
}

std::string AudioSettingsProblem(const LineSettings& line) {
    const double baud = AudioBaud(line.Baud);
    if (baud < kAudioMinBaud || baud > kAudioMaxBaud)
        return "Sound input cannot receive " + std::to_string(line.Baud) + " bauds (45 to 300)";
    if (line.Shift <= 0) return "Sound input needs a shift above 0 Hz";
    return {};
}

}  // namespace dovrel
