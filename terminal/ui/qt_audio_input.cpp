// Sound card inputs through Qt Multimedia.
#include "qt_audio_input.h"

#include <QAudioSource>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstring>

#include "audio_port.h"
#include "file_audio_input.h"

namespace dovrel {
namespace {

// The sound server may answer the first device query late: wait this long
// for a list that is still empty.
constexpr int kDeviceListWaitMs = 1000;
constexpr int kPreferredRateHz = 8000;
// How often a reading input checks that its device is still there.
constexpr int kListCheckMs = 1000;

QList<QAudioDevice> Inputs() {
    QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    QElapsedTimer waited;
    waited.start();
    while (inputs.isEmpty() && waited.elapsed() < kDeviceListWaitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        inputs = QMediaDevices::audioInputs();
    }
    return inputs;
}

std::string NameOf(const QAudioDevice& device) { return device.description().toStdString(); }

QAudioDevice FindInput(const std::string& name) {
    if (name == kDefaultAudioInput) {
        Inputs();
        return QMediaDevices::defaultAudioInput();
    }
    for (const QAudioDevice& device : Inputs())
        if (NameOf(device) == name || device.id().toStdString() == name) return device;
    return {};
}

QAudioFormat FormatFor(const QAudioDevice& device) {
    QAudioFormat format;
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(kPreferredRateHz);
    // Any other rate the device offers is resampled by the line.
    if (!device.isFormatSupported(format))
        format.setSampleRate(device.preferredFormat().sampleRate());
    return format;
}

}  // namespace

std::vector<std::string> QtAudioInputNames() {
    std::vector<std::string> names;
    for (const QAudioDevice& device : Inputs()) names.push_back(NameOf(device));
    return names;
}

QtAudioInput::QtAudioInput(const QAudioDevice& device) : m_device(device) {
    connect(&m_devices, &QMediaDevices::audioInputsChanged, this, [this] { CheckStillListed(); });
}

QtAudioInput::~QtAudioInput() {
    if (m_source) m_source->stop();
}

bool QtAudioInput::Start(std::string& error) {
    const QAudioFormat format = FormatFor(m_device);
    m_rate = format.sampleRate();
    m_source = std::make_unique<QAudioSource>(m_device, format);
    m_io = m_source->start();
    if (m_io == nullptr || m_source->error() != QAudio::NoError) {
        error = "Cannot open sound input " + NameOf(m_device);
        return false;
    }
    m_sinceListCheck.start();
    return true;
}

void QtAudioInput::CheckStillListed() {
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    for (const QAudioDevice& device : inputs)
        if (device.id() == m_device.id()) return;
    m_lost = true;
}

bool QtAudioInput::Read(std::vector<float>& samples) {
    // The sound server moves a stream whose source went away to another
    // source, so the stream alone does not tell: the device list does.
    if (m_sinceListCheck.isValid() && m_sinceListCheck.elapsed() >= kListCheckMs) {
        m_sinceListCheck.restart();
        CheckStillListed();
    }
    const bool failed =
        m_source->state() == QAudio::StoppedState && m_source->error() != QAudio::NoError;
    if (m_lost || failed) {
        m_error = "Sound input " + NameOf(m_device) + " lost";
        return false;
    }
    // A sample split between two reads waits for its second byte.
    m_partial += m_io->readAll();
    const qsizetype count = m_partial.size() / qsizetype(sizeof(qint16));
    for (qsizetype i = 0; i < count; ++i) {
        qint16 value;
        std::memcpy(&value, m_partial.constData() + i * qsizetype(sizeof value), sizeof value);
        samples.push_back(static_cast<float>(value) / 32768.0f);
    }
    m_partial.remove(0, count * qsizetype(sizeof(qint16)));
    return true;
}

std::unique_ptr<AudioInput> QtAudioInputOpener::Open(const std::string& name, std::string& error) {
    const std::string file = AudioFileOf(name);
    if (!file.empty()) return FileAudioInput::Open(file, m_fileSecondsPerRead, error);
    const QAudioDevice device = FindInput(name);
    if (device.isNull()) {
        error = "Sound input not found: " + name;
        return nullptr;
    }
    auto input = std::make_unique<QtAudioInput>(device);
    if (!input->Start(error)) return nullptr;
    return input;
}

}  // namespace dovrel
