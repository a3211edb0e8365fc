// Sound inputs as lines: a line whose "PortName" is "audio:<input>" is read
// from that sound input through the demodulator instead of a serial device.
// "audio:default" is the system's default input; "audio:file:<path>" plays a
// recording (WAV, FLAC, ...) as if it came from an input.
#pragma once

#include <string>
#include <string_view>

#include "terminal_settings.h"

namespace dovrel {

inline constexpr std::string_view kAudioPortPrefix = "audio:";
inline constexpr std::string_view kAudioFilePrefix = "file:";
inline constexpr std::string_view kDefaultAudioInput = "default";

// True when the line names a sound input.
bool IsAudioPort(const LineSettings& line);
// The input's name after "audio:" ("default", a device name, "file:<path>");
// empty when the line names no sound input.
std::string AudioInputOf(const LineSettings& line);
// "audio:" + input.
std::string AudioPortName(std::string_view input);
// The path of a "file:<path>" input; empty for any other input.
std::string AudioFileOf(std::string_view input);
// What the "Port" panel shows for a sound input: its name, or the file's
// name without its folders.
std::string AudioPanelText(std::string_view input);

}  // namespace dovrel
