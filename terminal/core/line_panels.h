// Texts of the status panels that show the serial line ("Mode", "Bauds",
// "Parity", "Stops", "Port") and the steps a click on each panel takes.
#pragma once

#include <cstdint>
#include <string>

#include "terminal_settings.h"

namespace dovrel {

// "N", "O", "E", "M", "S" for parity 0..4; empty otherwise.
std::string ParityText(int parity);
// "1", "1.5", "2" for stop codes 0..2; empty otherwise.
std::string StopText(int stop);
// "TELEX", "ASCII7", "ASCII8" for 5, 7, 8 data bits; empty otherwise.
std::string CodeText(int dataBits);
// "Port" panel: the device without its "/dev/" ("ttyS0", "ttyUSB0",
// "pts/3"), the sound input's name for "audio:<input>"; empty when the
// settings name no device.
std::string PortPanelText(const LineSettings& line);

// Mouse buttons as the status bar reports them.
enum class PanelButton { Left = 1, Right = 2 };

// The "Bauds" panel's next speed: one step up (left button) or down (right
// button) through the standard speeds, or with `nstdBauds` also through
// 135, 150, 200, 600 and 1200. A speed not in the table is kept.
std::int32_t NextBaud(std::int32_t baud, PanelButton button, bool nstdBauds);
// "Mode": 5 -> 7 -> 8 -> 5; other values kept.
std::uint8_t NextDataBits(std::uint8_t data);
// "Parity": 0 -> 1 -> 2 -> 3 -> 4 -> 0; other values kept.
std::uint8_t NextParity(std::uint8_t parity);
// "Stops": 0 -> 1 -> 2 -> 0; other values kept.
std::uint8_t NextStop(std::uint8_t stop);
// The sound input's shift, stepped by a right click in the tuning strip:
// 85 -> 170 -> 200 -> 340 -> 425 -> 450 -> 850 -> 85 Hz; any other shift
// goes to the next one above it (85 above 850).
std::int32_t NextShift(std::int32_t shiftHz);

}  // namespace dovrel
