// Names of sound-input lines.
#include "audio_port.h"

namespace dovrel {

bool IsAudioPort(const LineSettings& line) {
    return line.PortName.size() > kAudioPortPrefix.size() &&
           std::string_view(line.PortName).substr(0, kAudioPortPrefix.size()) == kAudioPortPrefix;
}

std::string AudioInputOf(const LineSettings& line) {
    return IsAudioPort(line) ? line.PortName.substr(kAudioPortPrefix.size()) : std::string();
}

std::string AudioPortName(std::string_view input) {
    return std::string(kAudioPortPrefix) + std::string(input);
}

std::string AudioFileOf(std::string_view input) {
    if (input.substr(0, kAudioFilePrefix.size()) != kAudioFilePrefix) return {};
    return std::string(input.substr(kAudioFilePrefix.size()));
}

std::string AudioPanelText(std::string_view input) {
    const std::string file = AudioFileOf(input);
    if (file.empty()) return std::string(input);
    const std::size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

}  // namespace dovrel
