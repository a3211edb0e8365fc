// A sound input for tests: hands out the samples it is given, and can be
// made to vanish like an unplugged device. The opener counts its opens and
// knows one input name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio_input.h"

namespace dovrel::test {

struct ScriptedAudioState {
    std::vector<float> pending;
    double rate = 8000;
    bool lost = false;
    bool ended = false;  // a recording played to its end
    int opens = 0;
};

class ScriptedAudioInput : public AudioInput {
  public:
    explicit ScriptedAudioInput(ScriptedAudioState& state) : m_state(state) {}
    double SampleRate() const override { return m_state.rate; }
    bool Read(std::vector<float>& samples) override {
        if (m_state.lost) return false;
        samples.insert(samples.end(), m_state.pending.begin(), m_state.pending.end());
        m_state.pending.clear();
        return true;
    }
    std::string Error() const override { return m_state.lost ? "Sound input test lost" : ""; }
    bool Ended() const override { return m_state.ended; }

  private:
    ScriptedAudioState& m_state;
};

class ScriptedAudioOpener : public AudioInputOpener {
  public:
    explicit ScriptedAudioOpener(std::string name = "test") : m_name(std::move(name)) {}
    std::unique_ptr<AudioInput> Open(const std::string& name, std::string& error) override {
        if (name != m_name) {
            error = "Sound input not found: " + name;
            return nullptr;
        }
        ++state.opens;
        state.lost = false;
        return std::make_unique<ScriptedAudioInput>(state);
    }
    ScriptedAudioState state;

  private:
    std::string m_name;
};

}  // namespace dovrel::test
