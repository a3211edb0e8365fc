// Samples from an audio file in any format libsndfile reads (WAV, FLAC, Ogg,
// AIFF, ...); several channels are mixed to one.
#pragma once

#include <vector>

#include "sample_source.h"

struct sf_private_tag;

namespace modem {

class SoundFileSource : public SampleSource {
  public:
    // Opens `path`; "-" reads the file from stdin. On failure Error() says
    // why and Read() returns 0.
    explicit SoundFileSource(const std::string& path);
    ~SoundFileSource() override;
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    std::size_t Read(std::span<float> samples) override;
    double SampleRate() const override { return m_rate; }
    const std::string& Error() const override { return m_error; }
    // Length in seconds, 0 when unknown.
    double Seconds() const { return m_seconds; }

  private:
    sf_private_tag* m_file = nullptr;
    int m_channels = 1;
    double m_rate = 0.0;
    double m_seconds = 0.0;
    std::vector<float> m_frames;
    std::string m_error;
};

// Writes mono samples as a 16-bit PCM WAV file; "-" writes to stdout.
// Returns the empty text, or why it failed.
std::string WriteWav(const std::string& path, double sampleRateHz, std::span<const float> samples);

}  // namespace modem
