// The sound that a sound-input line demodulates: samples from a sound card,
// or a recording played back. The program supplies the inputs (Qt
// Multimedia, a file reader); tests supply scripted ones.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace dovrel {

class AudioInput {
  public:
    virtual ~AudioInput() = default;
    // Samples per second of what Read() returns (any rate above 0).
    virtual double SampleRate() const = 0;
    // Appends the mono samples (about -1..1) that arrived since the last
    // call; none is fine. False when the input is gone (device removed,
    // sound server lost, read error): Error() then says why.
    virtual bool Read(std::vector<float>& samples) = 0;
    virtual std::string Error() const = 0;
    // Nothing more will come and nothing went wrong: a recording played to
    // its end. A sound card never ends.
    virtual bool Ended() const { return false; }
};

class AudioInputOpener {
  public:
    virtual ~AudioInputOpener() = default;
    // Opens the input of that name ("default", a device's name,
    // "file:<path>"). Null, with the reason in `error`, when it cannot.
    virtual std::unique_ptr<AudioInput> Open(const std::string& name, std::string& error) = 0;
};

}  // namespace dovrel
