// Choosing between the serial line and the sound input.
#include "line_switch.h"

#include "audio_port.h"

namespace dovrel {

std::string LineSwitch::Open(const LineSettings& line) {
    const bool audio = IsAudioPort(line);
    if (audio != m_audioActive) {
        Active().Close();
        m_audioActive = audio;
    }
    return Active().Open(line);
}

}  // namespace dovrel
