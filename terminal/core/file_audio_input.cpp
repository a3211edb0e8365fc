// Sound files as inputs.
#include "file_audio_input.h"

#include <algorithm>

namespace dovrel {

std::unique_ptr<FileAudioInput> FileAudioInput::Open(const std::string& path, double secondsPerRead,
                                                     std::string& error) {
    std::unique_ptr<FileAudioInput> input(new FileAudioInput(path));
    if (!input->m_source.Error().empty()) {
        error = input->m_source.Error();
        return nullptr;
    }
    const double samples = input->m_source.SampleRate() * secondsPerRead;
    input->m_block.resize(static_cast<std::size_t>(std::max(1.0, samples)));
    return input;
}

bool FileAudioInput::Read(std::vector<float>& samples) {
    const std::size_t n = m_source.Read(m_block);
    samples.insert(samples.end(), m_block.begin(),
                   m_block.begin() + static_cast<std::ptrdiff_t>(n));
    if (n == 0 && m_source.Error().empty()) m_ended = true;
    return n > 0 || m_source.Error().empty();
}

}  // namespace dovrel
