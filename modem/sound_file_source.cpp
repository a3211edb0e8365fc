// Audio files through libsndfile.
#include "sound_file_source.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace modem {

SoundFileSource::SoundFileSource(const std::string& path) {
    SF_INFO info{};
    m_file = path == "-" ? sf_open_fd(STDIN_FILENO, SFM_READ, &info, 0)
                         : sf_open(path.c_str(), SFM_READ, &info);
    if (!m_file) {
        m_error = "cannot open " + path + ": " + sf_strerror(nullptr);
        return;
    }
    m_channels = std::max(1, info.channels);
    m_rate = info.samplerate;
    if (info.frames > 0 && info.samplerate > 0)
        m_seconds = static_cast<double>(info.frames) / info.samplerate;
}

SoundFileSource::~SoundFileSource() {
    if (m_file) sf_close(m_file);
}

std::size_t SoundFileSource::Read(std::span<float> samples) {
    if (!m_file || samples.empty()) return 0;
    if (m_channels == 1)
        return static_cast<std::size_t>(
            sf_readf_float(m_file, samples.data(), static_cast<sf_count_t>(samples.size())));
    m_frames.resize(samples.size() * static_cast<std::size_t>(m_channels));
    const auto frames = static_cast<std::size_t>(
        sf_readf_float(m_file, m_frames.data(), static_cast<sf_count_t>(samples.size())));
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < m_channels; ++c)
            sum += m_frames[i * static_cast<std::size_t>(m_channels) + static_cast<std::size_t>(c)];
        samples[i] = sum / static_cast<float>(m_channels);
    }
    return frames;
}

namespace {

// A WAV file is made in memory first: stdout may be a pipe, where the header
// cannot be finished by seeking back.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    sf_count_t at = 0;
};

SF_VIRTUAL_IO MemoryIo() {
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* m) {
        return static_cast<sf_count_t>(static_cast<MemoryFile*>(m)->bytes.size());
    };
    io.seek = [](sf_count_t offset, int whence, void* m) {
        auto* f = static_cast<MemoryFile*>(m);
        const sf_count_t base = whence == SEEK_SET   ? 0
                                : whence == SEEK_CUR ? f->at
                                                     : static_cast<sf_count_t>(f->bytes.size());
        f->at = std::max<sf_count_t>(0, base + offset);
        return f->at;
    };
    io.read = [](void* ptr, sf_count_t count, void* m) {
        auto* f = static_cast<MemoryFile*>(m);
        const sf_count_t n =
            std::clamp<sf_count_t>(static_cast<sf_count_t>(f->bytes.size()) - f->at, 0, count);
        std::memcpy(ptr, f->bytes.data() + f->at, static_cast<std::size_t>(n));
        f->at += n;
        return n;
    };
    io.write = [](const void* ptr, sf_count_t count, void* m) {
        auto* f = static_cast<MemoryFile*>(m);
        const auto end = static_cast<std::size_t>(f->at + count);
        if (f->bytes.size() < end) f->bytes.resize(end);
        std::memcpy(f->bytes.data() + f->at, ptr, static_cast<std::size_t>(count));
        f->at += count;
        return count;
    };
    io.tell = [](void* m) { return static_cast<MemoryFile*>(m)->at; };
    return io;
}

}  // namespace

std::string WriteWav(const std::string& path, double sampleRateHz, std::span<const float> samples) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(sampleRateHz);
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    MemoryFile memory;
    SF_VIRTUAL_IO io = MemoryIo();
    SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
    if (!file) return std::string("cannot make the WAV data: ") + sf_strerror(nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);

    FILE* out = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
    if (!out) return "cannot write " + path + ": " + std::strerror(errno);
    const bool written =
        std::fwrite(memory.bytes.data(), 1, memory.bytes.size(), out) == memory.bytes.size();
    const bool closed = out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0;
    if (!written || !closed) return "cannot write " + path + ": " + std::strerror(errno);
    return {};
}

}  // namespace modem
