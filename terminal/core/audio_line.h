// A sound input as the line: its samples go through the demodulator, whose
// line characters are what a terminal unit would have put on a serial line.
// Receive only: nothing can be sent.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio_input.h"
#include "demodulator.h"
#include "line_device.h"

namespace dovrel {

// Sample rates the demodulator takes.
inline constexpr double kMinAudioRateHz = 8000.0;
inline constexpr double kMaxAudioRateHz = 48000.0;

class AudioLine : public LineDevice {
  public:
    // `opener` must outlive the line.
    explicit AudioLine(AudioInputOpener& opener) : m_opener(opener) {}
    ~AudioLine() override;

    // Opens the input that "PortName" names ("audio:<input>") with the
    // demodulator set from the line settings. The input already open is
    // kept and only the demodulator is set again (it keeps following the
    // signal). Settings the demodulator cannot take, and an input whose
    // sample rate it cannot take, close the line.
    std::string Open(const LineSettings& line) override;
    void Close() override;
    bool IsOpen() const override { return m_input != nullptr; }
    // Demodulates what the input delivered. A lost input closes the line.
    std::string ReadAvailable() override;
    // Nothing is sent over a sound input.
    bool Write(std::string_view) override { return false; }
    const std::string& LastError() const override { return m_error; }
    std::string OpenName() const override;

    // The demodulator of the open line (spectrum, tones found); null while
    // closed.
    const modem::Demodulator* Demodulator() const { return m_demod.get(); }
    // Moves the tone pair's centre there (a click in the tuning strip);
    // nothing while closed.
    void TuneTo(double centreHz);

  private:
    std::string Fail(const std::string& reason);

    AudioInputOpener& m_opener;
    std::unique_ptr<AudioInput> m_input;
    std::unique_ptr<modem::Demodulator> m_demod;
    std::string m_name;  // input name after "audio:"
    std::string m_error;
    std::vector<float> m_samples;
    std::vector<std::uint8_t> m_codes;
};

}  // namespace dovrel
