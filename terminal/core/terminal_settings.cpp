// Loading and storing the terminal's settings.
#include "terminal_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace dovrel {
namespace {

std::uint8_t ReadByte(const SettingsContext& store, const char* name, std::uint8_t def) {
    const std::int32_t v = store.ReadInt(name, def);
    return (v >= 0 && v <= 255) ? static_cast<std::uint8_t>(v) : def;
}

}  // namespace

double ParseFontSize(const std::string& text, double def) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !(value > 0) || value > 1000) return def;
    return value;
}

std::string FormatFontSize(double points) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", points);
    std::string s = buf;
    // "%.2f" follows the C locale, which is never changed by this program.
    while (s.size() > 1 && s.back() == '0' && s.find('.') != std::string::npos) s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

double ZoomedFontSize(double fontSize, std::int32_t zoom) {
    return std::max(kMinFontPoints, fontSize + zoom);
}

std::int32_t StepZoom(std::int32_t zoom, int step, double fontSize) {
    if (step == 0) return 0;
    const auto lowest = static_cast<std::int32_t>(std::ceil(kMinFontPoints - fontSize));
    return std::clamp(zoom + step, std::min(lowest, zoom), kMaxZoomSteps);
}

std::int32_t ClampZoom(std::int32_t zoom) {
    return std::clamp(zoom, -kMaxZoomSteps, kMaxZoomSteps);
}

TerminalSettings LoadTerminalSettings(const SettingsContext& store) {
    TerminalSettings s;
    s.FontSize = ParseFontSize(store.ReadText("FontSize", "8.25"));
    s.FontZoom = ClampZoom(store.ReadInt("FontZoom", 0));
    s.DecoderFontZoom = ClampZoom(store.ReadInt("DecoderFontZoom", 0));
    s.TelexUOS = ReadByte(store, "TelexUOS", 0);
    s.TelexCrl = store.ReadSwitch("TelexCrl");
    s.TelexCod = ReadByte(store, "TelexCod", 0);
    s.WaitTime = store.ReadInt("WaitTime", 10);
    s.AutoLogst = store.ReadSwitch("AutoLogst");
    s.AutoSynop = store.ReadSwitch("AutoSynop");
    s.MesgBeeps = store.ReadSwitch("MesgBeeps");
    s.NstdBauds = store.ReadSwitch("NstdBauds");
    s.AllowSend = store.ReadSwitch("AllowSend");
    s.BellBeeps = store.ReadSwitch("BellBeeps");
    s.LookWords = store.ReadSwitch("LookWords");
    s.ApplNames = store.ReadText("ApplNames");
    s.STimeStamp = store.ReadSwitch("STimeStamp");
    s.SMesgBlocs = store.ReadInt("SMesgBlocs", 0);
    s.FTimeStamp = store.ReadSwitch("FTimeStamp");
    s.FMesgBlocs = store.ReadInt("FMesgBlocs", 0);
    s.PrinterId = store.ReadInt("PrinterId", 0);
    s.ObsArchive = store.ReadSwitch("ObsArchive", true);
    return s;
}

LineSettings LoadLineSettings(const SettingsContext& store) {
    LineSettings line;
    line.Parity = ReadByte(store, "Parity", 0);
    line.Stop = ReadByte(store, "Stop", 1);
    line.Data = ReadByte(store, "Data", 5);
    if (line.Data == 0) line.Data = 5;
    line.Baud = store.ReadInt("Baud", 50);
    if (line.Baud == 0) line.Baud = 45;
    const std::int32_t port = store.ReadInt("Port", 0);
    line.Port = (port >= INT16_MIN && port <= INT16_MAX) ? static_cast<std::int16_t>(port) : 0;
    line.DTR = ReadByte(store, "DTR", 0) != 0;
    line.RTS = ReadByte(store, "RTS", 0) != 0;
    line.PortName = store.ReadText("PortName");
    line.Shift = store.ReadInt("Shift", line.Shift);
    line.Polarity = ReadByte(store, "Polarity", 0);
    if (line.Polarity > 2) line.Polarity = 0;
    line.MendShifts = store.ReadSwitch("MendShifts", true);
    return line;
}

bool SaveLineSettings(const SettingsContext& store, const LineSettings& line) {
    bool ok = store.WriteInt("Parity", line.Parity);
    ok = store.WriteInt("Stop", line.Stop) && ok;
    ok = store.WriteInt("Data", line.Data) && ok;
    ok = store.WriteInt("Baud", line.Baud == 0 ? 45 : line.Baud) && ok;
    ok = store.WriteInt("Port", line.Port) && ok;
    ok = store.WriteInt("DTR", line.DTR ? 1 : 0) && ok;
    ok = store.WriteInt("RTS", line.RTS ? 1 : 0) && ok;
    ok = store.WriteText("PortName", line.PortName) && ok;
    ok = store.WriteInt("Shift", line.Shift) && ok;
    ok = store.WriteInt("Polarity", line.Polarity) && ok;
    ok = store.WriteInt("MendShifts", line.MendShifts ? 1 : 0) && ok;
    return ok;
}

}  // namespace dovrel
