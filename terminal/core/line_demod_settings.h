// The line settings as the demodulator takes them: the panels that set a
// serial line ("Bauds", "Stops", "Mode", "Parity") set the demodulator of a
// sound input the same way.
#pragma once

#include <string>

#include "demodulator.h"
#include "terminal_settings.h"

namespace dovrel {

// Speeds the demodulator follows; a line speed outside them cannot be
// received from sound.
inline constexpr double kAudioMinBaud = 45.45;
inline constexpr double kAudioMaxBaud = 300.0;

// Baud 45 stands for 45.45; stop codes 0, 1, 2 are 1, 1.5 and 2 stop bits;
// 5 data bits are ITA2 without parity, 7 and 8 are ASCII with the line's
// parity; the polarity is the line's choice (0 found by the demodulator, 1
// normal, 2 reverse). Values out of range keep the demodulator's defaults
// (1.5 stop bits, no parity, polarity found by itself).
modem::DemodSettings DemodSettingsOf(const LineSettings& line);

// Why the demodulator cannot receive with these settings ("" when it can):
// a speed outside kAudioMinBaud..kAudioMaxBaud, or a shift not above zero.
std::string AudioSettingsProblem(const LineSettings& line);

}  // namespace dovrel
