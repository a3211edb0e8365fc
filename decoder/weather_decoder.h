// WeatherDecoder: the decoder component object behind IWeatherDecoder. It
// owns the splitter, the parser, the station catalogue and the connected
// event sinks, and holds the options and log names.
#pragma once

#include <atomic>
#include <string>

#include "decoder_log_status.h"
#include "event_fanout.h"
#include "message_splitter.h"
#include "observation_fanout.h"
#include "raw_log.h"
#include "report_parser.h"
#include "station_catalogue.h"
#include "text_log.h"
#include "weather_decoder_interface.h"

namespace nimbo {

class WeatherDecoder final : public IWeatherDecoder {
  public:
    // Uses the station catalogue found by StationCatalogue::FindFolder().
    WeatherDecoder();
    // Uses the catalogue in `catalogueFolder` (for tests and embedding).
    explicit WeatherDecoder(const std::string& catalogueFolder);

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    HRESULT Parse(const char* data) override;
    HRESULT get_MessageLock(std::int32_t* value) override;
    HRESULT put_MessageLock(std::int32_t value) override;
    HRESULT get_DecoderLock(std::int32_t* value) override;
    HRESULT put_DecoderLock(std::int32_t value) override;
    HRESULT get_DecoderRelax(std::int32_t* value) override;
    HRESULT put_DecoderRelax(std::int32_t value) override;
    HRESULT get_DecoderResyn(std::int32_t* value) override;
    HRESULT put_DecoderResyn(std::int32_t value) override;
    HRESULT get_DecoderQuiet(std::int32_t* value) override;
    HRESULT put_DecoderQuiet(std::int32_t value) override;
    HRESULT get_LogPathName(std::string* value) override;
    HRESULT put_LogPathName(const std::string& value) override;
    HRESULT get_LogFileName(std::string* value) override;
    HRESULT put_LogFileName(const std::string& value) override;
    HRESULT get_NodeName(std::string* value) override;
    HRESULT put_NodeName(const std::string& value) override;
    HRESULT get_LogRaw(std::int32_t* value) override;
    HRESULT put_LogRaw(std::int32_t value) override;
    HRESULT get_LogText(std::int32_t* value) override;
    HRESULT put_LogText(std::int32_t value) override;
    HRESULT get_ReferenceDate(std::string* value) override;
    HRESULT put_ReferenceDate(const std::string& value) override;
    HRESULT Advise(_IWeatherDecoderEvents* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;
    // Serves IWeatherDecoder, IWeatherObservationSource (the observation
    // connection point) and IDecoderLogStatus, which share the decoder's
    // reference count.
    HRESULT QueryInterface(std::string_view iid, void** object) override;

    // Destroying the object ends an open bulletin in the raw log with "NNNN"
    // and closes both logs.
    ~WeatherDecoder() override;

  private:
    void Initialise();

    // The log-status interface inside its decoder.
    class LogStatus final : public IDecoderLogStatus {
      public:
        explicit LogStatus(WeatherDecoder& owner) : m_owner(owner) {}
        std::uint32_t AddRef() override { return m_owner.AddRef(); }
        std::uint32_t Release() override { return m_owner.Release(); }
        HRESULT TakeLogFailures(std::string* text) override;

      private:
        WeatherDecoder& m_owner;
    };

    std::atomic<std::uint32_t> m_references{1};
    EventFanout m_sinks;
    ObservationFanout m_observationSinks;
    ObservationPoint m_observationPoint{*this, m_observationSinks};
    LogStatus m_logStatus{*this};
    StationCatalogue m_catalogue;
    DecoderOptions m_options;
    TextLog m_textLog;
    std::uint32_t m_textLogCookie = 0;  // its connection while open
    RawLog m_rawLog;
    ReportParser m_parser;
    MessageSplitter m_splitter;
    std::string m_startDirectory;
    std::string m_logFolder;
    std::string m_logFileName;
    std::string m_nodeName;
    std::string m_logBase;
};

}  // namespace nimbo
