// Raw s16le PCM from a pipe or file descriptor.
#include "raw_pcm_source.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace modem {

RawPcmSource::RawPcmSource(int fd, double sampleRateHz) : m_fd(fd), m_rate(sampleRateHz) {}

std::size_t RawPcmSource::Read(std::span<float> samples) {
    if (samples.empty() || !m_error.empty()) return 0;
    m_bytes.resize(samples.size() * 2);
    for (;;) {
        const ssize_t n = ::read(m_fd, m_bytes.data() + m_held, m_bytes.size() - m_held);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            m_error = std::string("cannot read the samples: ") + std::strerror(errno);
            return 0;
        }
        if (n == 0) return 0;  // an odd byte left at the end is no sample
        const std::size_t bytes = m_held + static_cast<std::size_t>(n);
        const std::size_t count = bytes / 2;
        if (count == 0) {
            m_held = bytes;
            continue;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const auto v = static_cast<std::int16_t>(m_bytes[2 * i] | (m_bytes[2 * i + 1] << 8));
            samples[i] = static_cast<float>(v) / 32768.0f;
        }
        m_held = bytes % 2;
        if (m_held) m_bytes[0] = m_bytes[bytes - 1];
        return count;
    }
}

}  // namespace modem
