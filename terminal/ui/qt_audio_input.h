// Sound inputs through Qt Multimedia: the machine's inputs by name, and the
// opener that the sound-input line uses ("default", a device's name, or
// "file:<path>" for a recording).
#pragma once

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "audio_input.h"

class QAudioSource;
class QIODevice;

namespace dovrel {

// Names of the machine's sound inputs as the port dialog lists them.
std::vector<std::string> QtAudioInputNames();

// One sound card input read with QAudioSource at 8000 Hz mono where the
// device takes it (its preferred rate otherwise). The input counts as lost
// when the source stops with an error or the device leaves the list.
class QtAudioInput : public QObject, public AudioInput {
  public:
    explicit QtAudioInput(const QAudioDevice& device);
    ~QtAudioInput() override;
    // False, with the reason in `error`, when the source cannot start.
    bool Start(std::string& error);

    double SampleRate() const override { return m_rate; }
    bool Read(std::vector<float>& samples) override;
    std::string Error() const override { return m_error; }

  private:
    void CheckStillListed();

    QAudioDevice m_device;
    QMediaDevices m_devices;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_io = nullptr;
    QByteArray m_partial;
    double m_rate = 8000;
    QElapsedTimer m_sinceListCheck;
    bool m_lost = false;
    std::string m_error;
};

class QtAudioInputOpener : public AudioInputOpener {
  public:
    // A recording is handed out `fileSecondsPerRead` at a time.
    explicit QtAudioInputOpener(double fileSecondsPerRead = 1.0)
        : m_fileSecondsPerRead(fileSecondsPerRead) {}
    std::unique_ptr<AudioInput> Open(const std::string& name, std::string& error) override;

  private:
    double m_fileSecondsPerRead;
};

}  // namespace dovrel
