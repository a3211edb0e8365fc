// The display control's component object: owns the decoder window, the
// station list and the one decoder object, and forwards text and settings
// to the decoder.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "decoded_reports.h"
#include "pause_buffer.h"
#include "report_keeper.h"
#include "sink_list.h"
#include "station_list.h"
#include "station_models.h"
#include "weather_decoder_interface.h"
#include "weather_dialog_interface.h"
#include "weather_observation_interface.h"

namespace nimboview {

class DecoderEventRenderer;
class DecoderWindow;
class ObservationCollector;
class UserPrompts;

// The decoder's modes as the control shows them in its status panes.
enum class DecoderMode { kMessageLock, kDecoderLock, kDecoderRelax, kDecoderResyn, kDecoderQuiet };
// The window measures the control reads and sets in twips.
enum class WindowMeasure { kTop, kLeft, kWidth, kHeight };

class WeatherDialog final : public nimbo::IWeatherDialog {
  public:
    using DecoderRef = nimbo::ComponentRef<nimbo::IWeatherDecoder>;
    // Makes the decoder; null with a reason in *error when it cannot.
    using DecoderFactory = std::function<DecoderRef(std::string* error)>;

    // The decoder through the component loader, Qt's dialogs.
    WeatherDialog();
    WeatherDialog(DecoderFactory factory, std::shared_ptr<UserPrompts> prompts);
    ~WeatherDialog() override;

    static DecoderRef LoadDecoder(std::string* error);

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    nimbo::HRESULT Create(std::int32_t show, std::int32_t* status) override;
    nimbo::HRESULT Destroy(std::int32_t info) override;
    nimbo::HRESULT get_Show(std::int32_t* value) override;
    nimbo::HRESULT put_Show(std::int32_t value) override;
    nimbo::HRESULT get_Caption(std::string* value) override;
    nimbo::HRESULT put_Caption(const std::string& value) override;
    nimbo::HRESULT get_BackColor(nimbo::OleColor* value) override;
    nimbo::HRESULT put_BackColor(nimbo::OleColor value) override;
    nimbo::HRESULT get_Top(std::int32_t* value) override;
    nimbo::HRESULT put_Top(std::int32_t value) override;
    nimbo::HRESULT get_Left(std::int32_t* value) override;
    nimbo::HRESULT put_Left(std::int32_t value) override;
    nimbo::HRESULT get_Width(std::int32_t* value) override;
    nimbo::HRESULT put_Width(std::int32_t value) override;
    nimbo::HRESULT get_Height(std::int32_t* value) override;
    nimbo::HRESULT put_Height(std::int32_t value) override;
    nimbo::HRESULT get_FontSize(std::int32_t* value) override;
    nimbo::HRESULT put_FontSize(std::int32_t value) override;
    nimbo::HRESULT get_Font(std::string* value) override;
    nimbo::HRESULT put_Font(const std::string& value) override;
    nimbo::HRESULT Parse(const char* data) override;
    nimbo::HRESULT get_MessageLock(std::int32_t* value) override;
    nimbo::HRESULT put_MessageLock(std::int32_t value) override;
    nimbo::HRESULT get_DecoderLock(std::int32_t* value) override;
    nimbo::HRESULT put_DecoderLock(std::int32_t value) override;
    nimbo::HRESULT get_DecoderRelax(std::int32_t* value) override;
    nimbo::HRESULT put_DecoderRelax(std::int32_t value) override;
    nimbo::HRESULT get_DecoderResyn(std::int32_t* value) override;
    nimbo::HRESULT put_DecoderResyn(std::int32_t value) override;
    nimbo::HRESULT get_DecoderQuiet(std::int32_t* value) override;
    nimbo::HRESULT put_DecoderQuiet(std::int32_t value) override;
    nimbo::HRESULT get_LogPathName(std::string* value) override;
    nimbo::HRESULT put_LogPathName(const std::string& value) override;
    nimbo::HRESULT get_LogFileName(std::string* value) override;
    nimbo::HRESULT put_LogFileName(const std::string& value) override;
    nimbo::HRESULT get_NodeName(std::string* value) override;
    nimbo::HRESULT put_NodeName(const std::string& value) override;
    nimbo::HRESULT get_LogStart(std::int32_t* value) override;
    nimbo::HRESULT put_LogStart(std::int32_t value) override;
    nimbo::HRESULT get_ArchiveFile(std::string* value) override;
    nimbo::HRESULT put_ArchiveFile(const std::string& value) override;
    nimbo::HRESULT get_FontZoom(std::int32_t* value) override;
    nimbo::HRESULT put_FontZoom(std::int32_t value) override;
    nimbo::HRESULT Advise(nimbo::_IWeatherDialogEvents* sink, std::uint32_t* cookie) override;
    nimbo::HRESULT Unadvise(std::uint32_t cookie) override;

    // Used by the decoder window.
    bool Paused() const { return m_paused; }
    void StartPause();
    // Hands the held text to the decoder and clears the pause.
    void EndPause();
    // A zoom key: one step in (+1) or out (-1), or back to FontSize (0);
    // the sinks hear the new zoom when it changed.
    void StepFontZoom(int step);
    // A click on status pane 2 to 5 toggles the mode it shows.
    void ToggleModeOfPane(int pane);
    // LogStart without reporting the failures of the logs, which the caller
    // takes with TakeLogFailures (the window's "Open a log file").
    nimbo::HRESULT StartLogging(std::int32_t value);
    // What went wrong with the decoder's logs since the last call, one line
    // each; empty when nothing did or the decoder cannot tell.
    std::string TakeLogFailures();
    StationList& Stations() { return m_stations; }
    // The newest observation of each station, for the station models.
    const synoptic::StationModels& Models() const { return m_models; }
    // The reports decoded since the window was last cleared, as data.
    DecodedReports& Reports() { return m_reports; }
    UserPrompts& Prompts() { return *m_prompts; }
    // The window while it exists (after Create, before Destroy).
    DecoderWindow* Window() const { return m_window.get(); }
    bool DecoderMissing() const { return !m_decoder; }
    // The archive file reports are stored in; empty while none is kept.
    const std::string& ArchivePath() const { return m_keeper.ArchivePath(); }

  private:
    bool CreateWindow();
    void ConnectDecoder();
    void ConnectObservations();
    void UpdateTitle();
    void ReadLogNames();
    // Shows the log failures in a box from the event loop and makes the
    // logging commands and the title follow the logs still open.
    void ReportLogFailures();
    nimbo::HRESULT GetMode(DecoderMode mode, std::int32_t* value);
    nimbo::HRESULT PutMode(DecoderMode mode, std::int32_t value);
    nimbo::HRESULT GetGeometry(WindowMeasure measure, std::int32_t* value);
    nimbo::HRESULT PutGeometry(WindowMeasure measure, std::int32_t value);
    std::int64_t DotsPerInch(WindowMeasure measure) const;
    void ApplyFont();
    // Hands text to the decoder, then stores the reports it gave.
    void Decode(const char* text);

    std::atomic<std::uint32_t> m_references{1};
    DecoderFactory m_factory;
    std::shared_ptr<UserPrompts> m_prompts;
    std::unique_ptr<DecoderWindow> m_window;
    bool m_destroyed = false;
    DecoderRef m_decoder;
    std::unique_ptr<DecoderEventRenderer> m_renderer;
    std::uint32_t m_cookie = 0;
    std::unique_ptr<ObservationCollector> m_collector;
    DecodedReports m_reports;
    nimbo::ComponentRef<nimbo::IWeatherObservationSource> m_observationSource;
    // The observation sinks: the station models, the archive's keeper and
    // the reports kept for the export.
    std::array<std::uint32_t, 3> m_observationCookies{};
    std::int32_t m_shown = 0;
    std::string m_caption = "Weather Decoder";
    nimbo::OleColor m_backColor = 0;
    std::string m_fontName = "Lucida Console";
    std::int32_t m_fontSize = 8;
    std::int32_t m_fontZoom = 0;
    nimbo::SinkList<nimbo::_IWeatherDialogEvents> m_events;
    std::string m_logPath;
    std::string m_logFileName;
    std::string m_nodeName;
    bool m_logging = false;
    bool m_paused = false;
    PauseBuffer m_pauseBuffer;
    // The last value put for each window measure, in twips and in the pixels
    // it gave, by WindowMeasure.
    struct PutMeasure {
        std::int32_t twips;
        int pixels;
    };
    std::array<std::optional<PutMeasure>, 4> m_putMeasures;
    StationList m_stations;
    synoptic::StationModels m_models;
    ReportKeeper m_keeper;
};

}  // namespace nimboview
