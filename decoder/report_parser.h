// ReportParser: the state machine over tokens that reads bulletin headings,
// section 0 of SYNOP, SHIP and SYNOP MOBIL reports, the groups of sections 1
// to 5 and the report end, and calls one group decoder per group. Decoded
// lines leave as events; where bulletins begin and end leaves as bulletin
// text events (for the raw log).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoding_context.h"
#include "message_splitter.h"
#include "observation_fanout.h"
#include "raw_log.h"
#include "report_start.h"
#include "station_catalogue.h"
#include "weather_observation_interface.h"

namespace nimbo {

class ReportParser : public TokenParser, public DecodingContext {
  public:
    // The sinks, the catalogue and the options are borrowed and must outlive
    // the parser; the options are read at every token.
    ReportParser(_IWeatherDecoderEvents& events, ObservationFanout& observations,
                 BulletinTextEvents& bulletinText, const StationCatalogue& catalogue,
                 const DecoderOptions& options);
    ~ReportParser() override;

    // TokenParser
    void ProcessToken(std::string_view token, int keywordCode,
                      TokenSeparator separatorCode) override;
    void ClearResyn() override { m_resyn = false; }
    bool OutsideBulletin() const override;
    void RepairedIndicator(std::string_view received) override { EmitError(received); }

    // The one-shot resynchronisation request, taken at the next token.
    void SetResyn(bool resyn) { m_resyn = resyn; }
    bool Resyn() const { return m_resyn; }

    // Ends an open bulletin (used when the decoder goes away).
    void FinishRawBulletin();
    // Raises the observation of a report still open (when the decoder goes away).
    void FinishObservation();
    // Decodes the groups still held for a decision, as if the input ended
    // there (when the decoder goes away).
    void FinishHeldGroups() { SettleHeldGroups(); }
    // The date observations are placed before; nothing: today in UTC.
    void SetReferenceDate(std::optional<CalendarDate> date) { m_referenceDate = date; }
    const std::optional<CalendarDate>& ReferenceDateSet() const { return m_referenceDate; }

    // DecodingContext
    void EmitLine(std::string_view text, int level, int slevel) override;
    void EmitLine(std::initializer_list<std::string_view> parts, int level, int slevel) override;
    void EmitSeparator(SeparatorLevel level) override;
    _IWeatherDecoderEvents& Events() override { return m_events; }
    WeatherObservation& Observation() override { return m_observation; }
    ReportRecord& Record() override { return m_record; }
    bool ObservationHeard() const override { return m_observationHeard; }
    bool Quiet() const override { return m_options.quiet; }
    const StationCatalogue& Catalogue() const override { return m_catalogue; }
    CalendarDate ReferenceDate() const override;
    DecodingState& State() override { return m_decoding; }

  private:
    // One group as received. Its texts are views: of the token being
    // processed, or of a held group's own copy.
    struct Group {
        std::string_view text;      // without the report end
        std::string_view repaired;  // the text through figure repair, once
        TokenSeparator separator = kSeparatorBlank;
        bool reportEnd = false;
        bool lineStart = false;
        bool onIndicatorLine = false;  // on the AAXX line, after YYGGiw
    };

    // A group kept while the parser decides what it begins, with its own
    // copy of the texts.
    struct HeldGroup {
        explicit HeldGroup(const Group& group)
            : text(group.text), repaired(group.repaired), facts(group) {
            facts.text = facts.repaired = {};
        }
        // The group, viewing the texts here: valid while this stays in place.
        Group View() const {
            Group group = facts;
            group.text = text;
            group.repaired = repaired;
            return group;
        }
        std::string text;
        std::string repaired;
        Group facts;  // all but the texts, which View() points here
    };

    // Views of the held groups' texts from one on (at most four are ever held).
    struct HeldTexts {
        std::array<GroupText, 4> items;
        std::size_t count = 0;
        std::span<const GroupText> View() const { return {items.data(), count}; }
    };

    HeldTexts TextsOfHeld(std::size_t first) const;
    void FrameMessage(int keywordCode, TokenSeparator separatorCode);
    // Takes "AAXX", "BBXX" or "OOXX".
    void TakeIndicator(std::string_view token, TokenSeparator separatorCode);
    std::size_t ReportEndLength(std::string_view token) const;
    bool Resynchronising() const {
        return m_state == ParserState::kResyncWait || m_state == ParserState::kResyncGuess ||
               m_state == ParserState::kResyncSkip;
    }
    // Takes the group while resynchronising; false when not doing so.
    bool HandleResync(std::string_view token, bool reportEnd);
    void TakeGroup(const Group& group);
    bool StartsHold(const Group& group) const;
    void DecideHeld(bool complete);
    void DecideDayHour(bool complete);
    void DecideReportStart(bool complete);
    void DecideSkippedStart(bool complete);
    void DecideReportEnd(bool complete);
    void SettleHeldGroups();
    // The held groups, handed over; none is held afterwards.
    std::vector<HeldGroup> TakeHeld();
    // Takes the groups from `first` on, in order, as if they came now; keeps
    // the vector's room for the next groups held.
    void Release(std::vector<HeldGroup> groups, std::size_t first);
    void StartReport(ReportKind kind, std::vector<HeldGroup> groups);
    void SkipGroup(const Group& group);
    void FinishSkip();
    void ProcessGroup(const Group& group);
    bool LandStream() const { return m_resumeState == ParserState::kLandStation; }
    bool Skipping() const {
        return m_state == ParserState::kSkipReport || m_state == ParserState::kOutsideBulletin;
    }
    bool SectionTwoMayStand(std::string_view group) const;
    bool HandleSectionMarker(std::string_view token);
    void HandleState(const Group& group);
    void HandleHeading(std::string_view token, TokenSeparator separatorCode);
    void EmitHeadingLines();
    void HandleShipState(const Group& group);
    void HandleLandStation(std::string_view token);
    void HandleSection1Start(std::string_view group);
    void HandleSection1Group(std::string_view group);
    // Sections 2 to 5 (later_sections.cpp).
    void RouteLaterSection(const Group& group);
    void RouteSection2(const Group& group);
    void RouteSection2Ice(const Group& group);
    void RouteSection3(const Group& group);
    // Decodes the group; next state unless malformed (error rule then).
    void Decode(GroupDecoder decoder, std::string_view group, ParserState next);
    // Applies what a decoder found: the error rule for a malformed group
    // (false), an error line for a flagged one.
    bool TakeOutcome(Outcome outcome, std::string_view group);
    // Takes a token as if it had been received next (two groups run
    // together); the raw log does not hear it again.
    void HandOnToken(std::string_view token);
    void ApplyErrorRule(std::string_view token);
    void EmitError(std::string_view token);
    void StartObservation();
    void AppendReportText(std::string_view token);
    void AppendReportEnd();

    _IWeatherDecoderEvents& m_events;
    ObservationFanout& m_observations;
    BulletinTextEvents& m_bulletinText;
    WeatherObservation m_observation;
    // The report's text as received, built here in place and handed to the
    // observation when it is raised: a report ends in one "=" at most, after
    // at most kMaxReportText - 1 characters.
    static constexpr std::size_t kMaxReportText = 1024;
    std::array<char, kMaxReportText + 1> m_reportText{};
    std::size_t m_reportLength = 0;
    ReportRecord m_record;
    bool m_observationOpen = false;
    // Whether the open report's observation has a sink to hear it, as at its
    // start: only then are its texts built and the observation raised.
    bool m_observationHeard = false;
    const StationCatalogue& m_catalogue;
    const DecoderOptions& m_options;
    DecodingState m_decoding;
    ParserState m_state = ParserState::kIdle;
    ParserState m_resumeState = ParserState::kIdle;
    int m_reportTokens = 0;
    bool m_resyn = false;
    bool m_sectionsAllowed = false;
    bool m_atLineStart = true;
    bool m_handingOn = false;
    int m_groupOrder = 0;
    std::array<std::string, 4> m_heading;
    std::size_t m_headingCount = 0;
    std::string m_landTime;
    std::vector<HeldGroup> m_held;       // groups waiting for a decision
    std::vector<HeldGroup> m_spareHeld;  // empty, with room: what a decision released
    std::string m_skipped;               // text of the report being skipped
    bool m_indicatorLine = false;
    std::optional<CalendarDate> m_referenceDate;
    mutable std::time_t m_todayNumber = -1;  // the UTC day m_today was worked out for
    mutable CalendarDate m_today;
    std::string m_eventText;  // text of the Result or Error being raised
};

}  // namespace nimbo
