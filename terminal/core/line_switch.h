// The line that the settings name: the serial device, or a sound input when
// "PortName" is "audio:<input>". Opening one closes the other, so at most
// one of them is open.
#pragma once

#include "audio_line.h"
#include "line_device.h"
#include "serial_line.h"

namespace dovrel {

class LineSwitch : public LineDevice {
  public:
    // Both lines must outlive the switch. The serial line is the one in use
    // until a sound input is opened.
    LineSwitch(SerialLine& serial, AudioLine& audio) : m_serial(serial), m_audio(audio) {}

    std::string Open(const LineSettings& line) override;
    void Close() override { Active().Close(); }
    bool IsOpen() const override { return Active().IsOpen(); }
    std::string ReadAvailable() override { return Active().ReadAvailable(); }
    // Sending goes to the serial line only: a sound input refuses it.
    bool Write(std::string_view bytes) override { return Active().Write(bytes); }
    const std::string& LastError() const override { return Active().LastError(); }
    std::string OpenName() const override { return Active().OpenName(); }
    bool Ended() const override { return Active().Ended(); }

    // True while the sound input is the line in use.
    bool IsAudio() const { return m_audioActive; }

  private:
    LineDevice& Active() { return m_audioActive ? static_cast<LineDevice&>(m_audio) : m_serial; }
    const LineDevice& Active() const {
        return m_audioActive ? static_cast<const LineDevice&>(m_audio) : m_serial;
    }

    SerialLine& m_serial;
    AudioLine& m_audio;
    bool m_audioActive = false;
};

}  // namespace dovrel
