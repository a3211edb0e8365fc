// The terminal's program-wide settings and line settings, loaded once at
// start-up from the settings store with their defaults.
#pragma once

#include <cstdint>
#include <string>

#include "settings_store.h"

namespace dovrel {

// Decoding and display settings. Switches are read as on when non-zero.
struct TerminalSettings {
    std::uint8_t TelexUOS = 0;   // letters/figures processing mode, 0..4
    bool TelexCrl = false;       // true: CR and LF pass unprocessed
    std::uint8_t TelexCod = 0;   // figure alphabet, 0..4
    std::int32_t WaitTime = 10;  // no-signal time-out in seconds, 0 = none
    bool AutoLogst = false;
    bool AutoSynop = false;
    bool MesgBeeps = false;
    bool NstdBauds = false;
    bool AllowSend = false;
    bool BellBeeps = false;
    bool LookWords = false;
    std::string ApplNames;
    bool STimeStamp = false;
    std::int32_t SMesgBlocs = 0;  // 0 none, 1 "ZCZC" starts a line, 2 anywhere
    bool FTimeStamp = false;
    std::int32_t FMesgBlocs = 0;
    double FontSize = 8.25;            // points
    std::int32_t FontZoom = 0;         // points the zoom keys add to FontSize
    std::int32_t DecoderFontZoom = 0;  // points the decoder window's zoom keys add
    std::int32_t PrinterId = 0;        // 0 none, 1 LPT1, 2 LPT2
    bool ObsArchive = true;            // keep decoded reports in Data/<instance>.sqlite
};

// Reads "FontSize", "FontZoom", "DecoderFontZoom" (both within
// kMaxZoomSteps of 0) and the values of TerminalSettings in the start-up order:
// TelexUOS, TelexCrl, TelexCod, WaitTime, AutoLogst, AutoSynop, MesgBeeps,
// NstdBauds, AllowSend, BellBeeps, LookWords, ApplNames, STimeStamp,
// SMesgBlocs, FTimeStamp, FMesgBlocs, PrinterId, then ObsArchive (on unless
// stored off). A byte-sized value out
// of its range keeps its default.
TerminalSettings LoadTerminalSettings(const SettingsContext& store);

// Parses a font size written with "." as the decimal separator, whatever the
// locale; `def` when the text is not a positive number.
double ParseFontSize(const std::string& text, double def = 8.25);
// Formats a font size with "." ("8.25", "11.25", "18.75").
std::string FormatFontSize(double points);

// The pane's font size: FontSize with the zoom's points added.
double ZoomedFontSize(double fontSize, std::int32_t zoom);
// The zoom after one step in (+1) or out (-1): one point a step, never below
// kMinFontPoints in all nor more than kMaxZoomSteps; 0 resets it.
inline constexpr double kMinFontPoints = 4.0;
inline constexpr std::int32_t kMaxZoomSteps = 40;
std::int32_t StepZoom(std::int32_t zoom, int step, double fontSize);
// A stored zoom kept within kMaxZoomSteps of 0.
std::int32_t ClampZoom(std::int32_t zoom);

// Serial line settings; the data bits double as the line code.
struct LineSettings {
    std::int16_t Port = 0;    // 0 no port; n the n-th conventional serial device
    std::int32_t Baud = 50;   // bits per second; 45 stands for 45.45
    std::uint8_t Parity = 0;  // 0 N, 1 O, 2 E, 3 M, 4 S
    std::uint8_t Data = 5;    // 5 TELEX, 7 ASCII7, 8 ASCII8
    std::uint8_t Stop = 1;    // 0 one, 1 one and a half, 2 two stop bits
    bool DTR = false;
    bool RTS = false;
    // A device path that, when not empty, names the line instead of Port;
    // "audio:<input>" names a sound input.
    std::string PortName;
    std::int32_t Shift = 450;   // Hz between the two tones on a sound input
    std::uint8_t Polarity = 0;  // sound input: 0 found by itself, 1 normal, 2 reverse
    bool MendShifts = true;     // sound input: lost FIGS/LTRS mended from context
};

// Reads "Parity", "Stop", "Data", "Baud", "Port", "DTR", "RTS", "PortName",
// "Shift", "Polarity" and "MendShifts"; a stored Baud of 0 is taken as 45 and a stored
// Data of 0 as 5.
LineSettings LoadLineSettings(const SettingsContext& store);
// Stores them in the order Parity, Stop, Data, Baud, Port, DTR, RTS, PortName,
// Shift, Polarity, MendShifts.
// True when every value was stored.
bool SaveLineSettings(const SettingsContext& store, const LineSettings& line);

}  // namespace dovrel
