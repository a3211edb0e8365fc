// Serial line panel texts and click steps.
#include "line_panels.h"

#include <array>
#include <string_view>

#include "audio_port.h"
#include "serial_line.h"

namespace dovrel {
namespace {

constexpr std::array<std::string_view, 5> kParityTexts = {"N", "O", "E", "M", "S"};
constexpr std::array<std::string_view, 3> kStopTexts = {"1", "1.5", "2"};

// Speed steps of the "Bauds" panel: current speed, next speed for a left
// click without and with the non-standard speeds, for a right click
// without and with them.
struct BaudStep {
    std::int32_t current;
    std::int32_t leftStd;
    std::int32_t leftNstd;
    std::int32_t rightStd;
    std::int32_t rightNstd;
};
constexpr std::array<BaudStep, 11> kBaudSteps = {{
    //  current  left off  left on  right off  right on
    {45, 50, 50, 300, 300},
    {50, 75, 75, 45, 45},
    {75, 100, 100, 50, 50},
    {100, 110, 110, 75, 75},
    {110, 300, 135, 100, 100},
    {135, 300, 150, 110, 110},
    {150, 300, 200, 110, 135},
    {200, 300, 300, 110, 150},
    {300, 45, 600, 110, 200},
    {600, 45, 1200, 300, 300},
    {1200, 45, 45, 300, 600},
}};

// Shifts of the teleprinter services, in Hz.
constexpr std::array<std::int32_t, 7> kShifts = {85, 170, 200, 340, 425, 450, 850};

}  // namespace

std::string ParityText(int parity) {
    if (parity < 0 || parity >= static_cast<int>(kParityTexts.size())) return {};
    return std::string(kParityTexts[static_cast<std::size_t>(parity)]);
}

std::string StopText(int stop) {
    if (stop < 0 || stop >= static_cast<int>(kStopTexts.size())) return {};
    return std::string(kStopTexts[static_cast<std::size_t>(stop)]);
}

std::string CodeText(int dataBits) {
    switch (dataBits) {
        case 5:
            return "TELEX";
        case 7:
            return "ASCII7";
        case 8:
            return "ASCII8";
        default:
            return {};
    }
}

std::string PortPanelText(const LineSettings& line) {
    if (IsAudioPort(line)) return AudioPanelText(AudioInputOf(line));
    const std::string path = LineDevicePath(line);
    const std::string prefix = "/dev/";
    if (path.rfind(prefix, 0) == 0) return path.substr(prefix.size());
    return path;
}

std::int32_t NextBaud(std::int32_t baud, PanelButton button, bool nstdBauds) {
    for (const BaudStep& step : kBaudSteps) {
        if (step.current != baud) continue;
        if (button == PanelButton::Left) return nstdBauds ? step.leftNstd : step.leftStd;
        if (button == PanelButton::Right) return nstdBauds ? step.rightNstd : step.rightStd;
        return baud;
    }
    return baud;
}

std::uint8_t NextDataBits(std::uint8_t data) {
    switch (data) {
        case 5:
            return 7;
        case 7:
            return 8;
        case 8:
            return 5;
        default:
            return data;
    }
}

std::uint8_t NextParity(std::uint8_t parity) {
    return parity < 4 ? static_cast<std::uint8_t>(parity + 1) : parity == 4 ? 0 : parity;
}

std::int32_t NextShift(std::int32_t shiftHz) {
    for (std::int32_t shift : kShifts) {
        if (shift > shiftHz) return shift;
    }
    return kShifts.front();
}

std::uint8_t NextStop(std::uint8_t stop) {
    return stop < 2 ? static_cast<std::uint8_t>(stop + 1) : stop == 2 ? 0 : stop;
}

}  // namespace dovrel
