// A recording played back as a sound input ("audio:file:<path>"): any file
// the modem's sound-file source reads (WAV, FLAC, ...), handed out in pieces
// faster than real time so that a recording is received quickly.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio_input.h"
#include "sound_file_source.h"

namespace dovrel {

class FileAudioInput : public AudioInput {
  public:
    // Null, with the reason in `error`, when the file cannot be read as
    // sound. Each Read() hands out `secondsPerRead` of the recording.
    static std::unique_ptr<FileAudioInput> Open(const std::string& path, double secondsPerRead,
                                                std::string& error);

    double SampleRate() const override { return m_source.SampleRate(); }
    // After the end of the recording: no more samples, still alive (the
    // line falls silent, as a receiver does when the station stops). A read
    // error is a lost input.
    bool Read(std::vector<float>& samples) override;
    std::string Error() const override { return m_source.Error(); }
    bool Ended() const override { return m_ended; }

  private:
    explicit FileAudioInput(const std::string& path) : m_source(path) {}

    modem::SoundFileSource m_source;
    std::vector<float> m_block;
    bool m_ended = false;
};

}  // namespace dovrel
