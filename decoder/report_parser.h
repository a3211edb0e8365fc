// ReportParser: the state machine over tokens that reads bulletin headings,
// section 0 of SYNOP, SHIP and SYNOP MOBIL reports, the groups of sections 1
// to 5 and the report end, calls one group decoder per group, and writes the
// raw and text logs.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "decoder_logs.h"
#include "decoding_context.h"
#include "message_splitter.h"
#include "station_catalogue.h"
#include "weather_observation_interface.h"

namespace nimbo {

class ReportParser : public TokenParser, public DecodingContext {
  public:
    // The sinks and the catalogue are borrowed and must outlive the parser.
    ReportParser(_IWeatherDecoderEvents& events, _IWeatherObservationEvents& observations,
                 const StationCatalogue& catalogue);
    ~ReportParser() override;

    // TokenParser
    void ProcessToken(std::string_view token, int keywordCode,
                      TokenSeparator separatorCode) override;
    void ClearResyn() override { m_resyn = false; }
    bool OutsideBulletin() const override { return m_state == ParserState::kOutsideBulletin; }

    // Options copied from the decoder object.
    bool relax = false;
    bool quiet = false;
    void SetResyn(bool resyn) { m_resyn = resyn; }
    bool Resyn() const { return m_resyn; }

    // Logs: open (true) or close (false); the result says whether it is open.
    bool OpenRawLog(bool enable);
    bool OpenTextLog(bool enable);
    bool RawLogOpen() const { return m_rawLog.IsOpen(); }
    bool TextLogOpen() const { return m_textLog.IsOpen(); }
    // The failures of both logs since the last call (LogFile::TakeFailure).
    std::string TakeLogFailures();
    void SetLogBase(const std::string& folder, const std::string& name);
    const std::string& LogBase() const { return m_logBase; }
    // Ends an open bulletin in the raw log (used when the decoder goes away).
    void FinishRawBulletin();
    // Raises the observation of a report still open (when the decoder goes away).
    void FinishObservation();

    // DecodingContext
    void EmitLine(std::string_view text, int level, int slevel) override;
    void EmitSeparator(SeparatorLevel level) override;
    void EmitError(std::string_view token) override;
    void ApplyErrorRule(std::string_view token) override;
    _IWeatherDecoderEvents& Events() override { return m_events; }
    WeatherObservation& Observation() override { return m_observation; }
    bool Quiet() const override { return quiet; }
    const StationCatalogue& Catalogue() const override { return m_catalogue; }
    std::tm LocalNow() const override { return LocalTimeNow(); }
    DecodingState& State() override { return m_decoding; }
    ParserState CurrentState() const override { return m_state; }
    void SetState(ParserState state) override { m_state = state; }
    int GroupOrder() const override { return m_groupOrder; }
    void SetGroupOrder(int order) override { m_groupOrder = order; }
    void HandOnToken(std::string_view token) override;

  private:
    void WriteRawToken(std::string_view token, int keywordCode, TokenSeparator separatorCode);
    void FrameMessage(int keywordCode, TokenSeparator separatorCode);
    bool TakeIndicator(std::string_view token, TokenSeparator separatorCode);
    std::size_t ReportEndLength(std::string_view token) const;
    std::string_view WithoutReportEnd(std::string_view token) const;
    bool StartsReport(std::string_view token) const;
    bool HandleResync(std::string_view token, bool reportEnd);
    bool HandleSectionMarker(std::string_view token);
    void HandleState(std::string_view token, TokenSeparator separatorCode);
    void HandleHeading(std::string_view token, TokenSeparator separatorCode);
    void EmitHeadingLines();
    void HandleShipState(std::string_view token);
    void HandleLandStation(std::string_view token);
    void HandleSection1Start(std::string_view token);
    void HandleSection1Group(std::string_view token);
    void Decode(GroupDecoder decoder, std::string_view group, ParserState next);
    void StartObservation();

    _IWeatherDecoderEvents& m_events;
    _IWeatherObservationEvents& m_observations;
    WeatherObservation m_observation;
    bool m_observationOpen = false;
    const StationCatalogue& m_catalogue;
    DecodingState m_decoding;
    ParserState m_state = ParserState::kIdle;
    ParserState m_resumeState = ParserState::kIdle;
    int m_reportTokens = 0;
    bool m_resyn = false;
    bool m_reportOpen = false;
    bool m_sectionsAllowed = false;
    bool m_atLineStart = true;
    bool m_handingOn = false;
    int m_groupOrder = 0;
    std::array<std::string, 4> m_heading;
    std::size_t m_headingCount = 0;
    std::string m_landTime;
    int m_bulletinCounter = 0;
    std::string m_logBase;
    std::string m_eventText;  // text of the Result or Error being raised
    LogFile m_rawLog{".syn"};
    LogFile m_textLog{".wmo"};
};

}  // namespace nimbo
