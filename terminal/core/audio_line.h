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
#include "resampler.h"

namespace dovrel {

class AudioLine : public LineDevice {
  public:
    // `opener` must outlive the line.
    explicit AudioLine(AudioInputOpener& opener) : m_opener(opener) {}
    ~AudioLine() override;

    // Opens the input that "PortName" names ("audio:<input>") with the
    // demodulator set from the line settings. The input already open is
    // kept and only the demodulator is set again (it keeps following the
    // signal). Settings the demodulator cannot take close the line. Any
    // sample rate is taken: one the demodulator does not decode directly is
    // resampled.
    std::string Open(const LineSettings& line) override;
    void Close() override;
    bool IsOpen() const override { return m_input != nullptr; }
    // Demodulates what the input delivered. A lost input closes the line. At
    // the end of a recording a moment of silence is fed after the last
    // samples, so the last character leaves the demodulator's filters, and
    // what the demodulator holds back is passed on.
    std::string ReadAvailable() override;
    // Nothing is sent over a sound input.
    bool Write(std::string_view) override { return false; }
    const std::string& LastError() const override { return m_error; }
    std::string OpenName() const override;
    bool Ended() const override { return m_ended; }

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
    std::unique_ptr<modem::Resampler> m_resampler;
    std::unique_ptr<modem::Demodulator> m_demod;
    std::string m_name;  // input name after "audio:"
    std::string m_error;
    std::vector<float> m_samples, m_resampled;
    bool m_ended = false;
    std::vector<std::uint8_t> m_codes;
};

}  // namespace dovrel
