// Test doubles for the display control: a decoder that records what the
// control asks of it and lets a test raise its events, and user prompts
// that answer without showing anything, and a fixture with both.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "decoder_log_status.h"
#include "decoder_window.h"
#include "status_panes.h"
#include "user_prompts.h"
#include "weather_decoder_interface.h"
#include "weather_dialog.h"

namespace nimboview::testing {

class FakeDecoder final : public nimbo::IWeatherDecoder {
  public:
    // Log puts of true fail (the decoder cannot open its files).
    bool failRawLog = false;
    bool failTextLog = false;

    std::vector<std::string> parsed;  // every Parse text in order
    std::vector<std::string> calls;   // "put_LogRaw 1", "put_NodeName x", ...
    std::int32_t messageLock = 0, decoderLock = 1, decoderRelax = 0, decoderResyn = 0,
                 decoderQuiet = 0;
    std::int32_t logRaw = 0, logText = 0;
    std::string logPath = "/var/tmp/Data", logFile = "261206-2200", node;
    nimbo::_IWeatherDecoderEvents* sink = nullptr;
    std::string logFailures;  // handed out once through IDecoderLogStatus

    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override {
        const std::uint32_t left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    nimbo::HRESULT Parse(const char* data) override {
        parsed.emplace_back(data);
        return nimbo::S_OK;
    }
#define FAKE_DECODER_MODE(name, field)                                            \
    nimbo::HRESULT get_##name(std::int32_t* v) override { return Get(field, v); } \
    nimbo::HRESULT put_##name(std::int32_t v) override { return Put(#name, field, v); }
    FAKE_DECODER_MODE(MessageLock, messageLock)
    FAKE_DECODER_MODE(DecoderLock, decoderLock)
    FAKE_DECODER_MODE(DecoderRelax, decoderRelax)
    FAKE_DECODER_MODE(DecoderResyn, decoderResyn)
    FAKE_DECODER_MODE(DecoderQuiet, decoderQuiet)
#undef FAKE_DECODER_MODE
#define FAKE_DECODER_TEXT(name, field)                                           \
    nimbo::HRESULT get_##name(std::string* v) override { return Get(field, v); } \
    nimbo::HRESULT put_##name(const std::string& v) override { return PutText(#name, field, v); }
    FAKE_DECODER_TEXT(LogPathName, logPath)
    FAKE_DECODER_TEXT(LogFileName, logFile)
    FAKE_DECODER_TEXT(NodeName, node)
#undef FAKE_DECODER_TEXT
#define FAKE_DECODER_LOG(name, field, fail)                                       \
    nimbo::HRESULT get_##name(std::int32_t* v) override { return Get(field, v); } \
    nimbo::HRESULT put_##name(std::int32_t v) override { return PutLog(#name, field, v, fail); }
    FAKE_DECODER_LOG(LogRaw, logRaw, failRawLog)
    FAKE_DECODER_LOG(LogText, logText, failTextLog)
#undef FAKE_DECODER_LOG

    nimbo::HRESULT Advise(nimbo::_IWeatherDecoderEvents* s, std::uint32_t* cookie) override {
        sink = s;
        *cookie = 7;
        calls.push_back("Advise");
        return nimbo::S_OK;
    }
    nimbo::HRESULT Unadvise(std::uint32_t cookie) override {
        if (cookie != 7) return nimbo::CONNECT_E_NOCONNECTION;
        sink = nullptr;
        calls.push_back("Unadvise");
        return nimbo::S_OK;
    }

    nimbo::HRESULT QueryInterface(std::string_view iid, void** object) override {
        if (iid != nimbo::IDecoderLogStatus::kIid)
            return IWeatherDecoder::QueryInterface(iid, object);
        AddRef();
        *object = static_cast<nimbo::IDecoderLogStatus*>(&m_logStatus);
        return nimbo::S_OK;
    }

  private:
    struct LogStatus final : nimbo::IDecoderLogStatus {
        explicit LogStatus(FakeDecoder& owner) : decoder(owner) {}
        std::uint32_t AddRef() override { return decoder.AddRef(); }
        std::uint32_t Release() override { return decoder.Release(); }
        nimbo::HRESULT TakeLogFailures(std::string* text) override {
            *text = std::exchange(decoder.logFailures, {});
            return nimbo::S_OK;
        }
        FakeDecoder& decoder;
    };
    LogStatus m_logStatus{*this};

    template <typename T>
    static nimbo::HRESULT Get(const T& value, T* out) {
        *out = value;
        return nimbo::S_OK;
    }
    nimbo::HRESULT Put(const char* name, std::int32_t& field, std::int32_t value) {
        field = value != 0 ? 1 : 0;
        calls.push_back(std::string("put_") + name + " " + std::to_string(field));
        return nimbo::S_OK;
    }
    nimbo::HRESULT PutText(const char* name, std::string& field, const std::string& value) {
        field = value;
        calls.push_back(std::string("put_") + name + " " + value);
        return nimbo::S_OK;
    }
    nimbo::HRESULT PutLog(const char* name, std::int32_t& field, std::int32_t value, bool fail) {
        field = value != 0 && !fail ? 1 : 0;
        calls.push_back(std::string("put_") + name + " " + std::to_string(value != 0 ? 1 : 0));
        return field != 0 ? nimbo::S_OK : nimbo::E_ACCESSDENIED;
    }

    std::uint32_t m_references = 1;
};

class RecordingPrompts final : public UserPrompts {
  public:
    struct Box {
        QString title, text;
    };
    std::vector<Box> boxes;
    std::vector<LogFileRequest> fileRequests;
    std::optional<QString> chosenFile;  // what the file dialog answers

    void Warning(QWidget*, const QString& title, const QString& text) override {
        boxes.push_back({title, text});
    }
    std::optional<QString> ChooseLogFile(QWidget*, const LogFileRequest& request) override {
        fileRequests.push_back(request);
        return chosenFile;
    }
    std::optional<QString> ChooseExportFile(QWidget*, const QString&) override {
        return chosenFile;
    }
};

// A control with a fake decoder (or none) and recording prompts.
struct FakeControl {
    explicit FakeControl(bool withDecoder = true)
        : prompts(std::make_shared<RecordingPrompts>()),
          dialog(new WeatherDialog(
              [this, withDecoder](std::string* error) {
                  if (!withDecoder) {
                      *error = "Component library libNimbolib.so not found";
                      return WeatherDialog::DecoderRef();
                  }
                  decoder = new FakeDecoder();
                  decoder->AddRef();  // the fixture keeps one reference too
                  return WeatherDialog::DecoderRef(decoder);
              },
              prompts)) {}
    ~FakeControl() {
        dialog.Reset();
        if (decoder != nullptr) decoder->Release();
    }

    std::shared_ptr<RecordingPrompts> prompts;
    FakeDecoder* decoder = nullptr;
    nimbo::ComponentRef<WeatherDialog> dialog;
};

// Tests of a control with a fake decoder; Create makes its window.
class ControlTest : public ::testing::Test {
  protected:
    void Create(std::int32_t show = 0) {
        std::int32_t status = -1;
        ASSERT_EQ(m_control.dialog->Create(show, &status), nimbo::S_OK);
        ASSERT_EQ(status, 1);
        m_control.decoder->calls.clear();
    }
    WeatherDialog& Dialog() { return *m_control.dialog; }
    FakeDecoder& Decoder() { return *m_control.decoder; }
    DecoderWindow& Window() { return *Dialog().Window(); }
    QAction* Action(ToolCommand command) { return Window().Action(command); }
    QString Pane(int pane) { return Window().Panes()->Text(pane); }

    FakeControl m_control;
};

}  // namespace nimboview::testing
