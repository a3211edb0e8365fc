// The sound-input line.
#include "audio_line.h"

#include "audio_port.h"
#include "line_demod_settings.h"

namespace dovrel {
namespace {

// Silence fed after the end of a recording: a few character times.
constexpr double kEndSilenceSeconds = 0.5;

}  // namespace

AudioLine::~AudioLine() { Close(); }

std::string AudioLine::Fail(const std::string& reason) {
    Close();
    m_error = reason;
    return m_error;
}

std::string AudioLine::Open(const LineSettings& line) {
    const std::string name = AudioInputOf(line);
    if (name.empty()) return Fail("No sound input selected");
    const std::string problem = AudioSettingsProblem(line);
    if (!problem.empty()) return Fail(problem);
    if (IsOpen() && name == m_name) {
        m_demod->Configure(DemodSettingsOf(line));
        return {};
    }
    Close();
    std::string error;
    std::unique_ptr<AudioInput> input = m_opener.Open(name, error);
    if (!input) return Fail(error.empty() ? "Cannot open sound input " + name : error);
    const double rate = input->SampleRate();
    if (!(rate > 0.0)) return Fail("Sound input " + name + " gives no sample rate");
    m_resampler = std::make_unique<modem::Resampler>(rate);
    m_demod =
        std::make_unique<modem::Demodulator>(m_resampler->OutputRateHz(), DemodSettingsOf(line));
    m_input = std::move(input);
    m_name = name;
    return {};
}

void AudioLine::Close() {
    m_input.reset();
    m_demod.reset();
    m_resampler.reset();
    m_ended = false;
    m_name.clear();
    m_error.clear();
}

std::string AudioLine::ReadAvailable() {
    if (!IsOpen()) return {};
    m_samples.clear();
    const bool alive = m_input->Read(m_samples);
    if (alive && !m_ended && m_input->Ended()) {
        m_ended = true;
        m_samples.resize(m_samples.size() +
                         static_cast<std::size_t>(kEndSilenceSeconds * m_input->SampleRate()));
    }
    m_resampled.clear();
    m_resampler->Process(m_samples, m_resampled);
    m_codes.clear();
    if (!m_resampled.empty()) m_demod->Process(m_resampled, m_codes);
    if (m_ended) m_demod->Flush(m_codes);
    std::string bytes(m_codes.begin(), m_codes.end());
    if (!alive)
        Fail(m_input->Error().empty() ? "Sound input " + m_name + " lost" : m_input->Error());
    return bytes;
}

std::string AudioLine::OpenName() const { return IsOpen() ? AudioPortName(m_name) : std::string(); }

void AudioLine::TuneTo(double centreHz) {
    if (m_demod) m_demod->TuneTo(centreHz);
}

}  // namespace dovrel
