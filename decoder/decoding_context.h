// What every group decoder sees of the report parser: the emit operations,
// the options, the record of the report and the decoding state shared
// between groups. The parser's own state (its state machine, the order of
// the groups, the error rule) is not among them.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "group_fields.h"
#include "observation_date.h"
#include "report_record.h"
#include "tables/code_tables.h"
#include "weather_decoder_interface.h"
#include "weather_observation.h"

namespace nimbo {

class StationCatalogue;

// States of the report parser, by number.
enum class ParserState : int {
    kIdle = 0,
    kHeading = 1,
    kAfterHeading = 2,
    kShipCallSign = 3,
    kShipTime = 4,
    kShipLatitude = 5,
    kShipLongitude = 6,
    kLandTime = 7,
    kLandStation = 8,
    kMobileSquare = 9,
    kMobileAltitude = 10,
    kSection1Start = 11,
    kSection1Wind = 12,
    kSection1 = 13,
    kSection1Done = 14,
    kSection2 = 15,
    kSection2Icing = 16,
    kSection2Ice = 17,
    kSection2Done = 18,
    kSection3 = 19,
    kSection3Done = 20,
    kSection4 = 21,
    kSection4Done = 22,
    kSection5 = 23,
    kSection5Done = 24,
    kResyncWait = 25,
    kResyncGuess = 26,
    kResyncSkip = 27,
    // Text that starts no report (an orphan fragment, a switch stamp, a
    // trailer) was read where a report should begin. It is skipped to its
    // report end, where one error names it; when a message start or an
    // indicator comes first it was a trailer, and the line before the
    // indicator is taken as the next bulletin's heading.
    kSkipReport = 28,
    // A heading line in skipped text: the bulletin has ended. Tokens are
    // ignored until an indicator or a message start or end.
    kOutsideBulletin = 29,
};

// Output levels of Result lines.
inline constexpr int kLevelHeader = 0;
inline constexpr int kLevelSender = 1;
inline constexpr int kLevelStation = 2;
inline constexpr int kLevelGroup = 4;

// Separator levels, as the Separator event reports them (0, 1, 2). Their own
// type: the splitter's token separators use the same numbers for another meaning.
enum class SeparatorLevel { kHeading, kReport, kSection };
inline constexpr SeparatorLevel kSeparatorHeading = SeparatorLevel::kHeading;
inline constexpr SeparatorLevel kSeparatorReport = SeparatorLevel::kReport;
inline constexpr SeparatorLevel kSeparatorSection = SeparatorLevel::kSection;

// Values meaning "not known".
inline constexpr float kUnknownPosition = 800.0f;
inline constexpr float kNoValue = 9999.0f;

// Date and hour of a YYYYMMDDHHMM stamp that starts a line of the Internet
// format ("202005022300 AAXX 02231 ...").
struct ReportStamp {
    CalendarDate date;
    int hour = 0;
};

// Decoding state that lives across groups (and, for units, temperatures and
// pressures, across reports until overwritten).
struct DecodingState {
    ReportKind reportKind = ReportKind::kLand;
    std::string_view windUnit = kUnitUnknown;
    bool weatherGroupAnnounced = false;
    bool weatherGroupOmitted = false;  // ix 2, 3, 5 or 6
    CodeTable presentWeather = CodeTable::T4677_ww;
    CodeTable pastWeather = CodeTable::T4561_W;
    bool windGroupSeen = false;
    float lastTemperature = kNoValue;
    float lastPressure = kNoValue;
    float latitude = kUnknownPosition;
    float longitude = kUnknownPosition;
    std::string callSign;
    // What the bulletin gives beside section 0: the heading's YYGGgg
    // (repaired; empty without a heading), the date and hour stamped on a line
    // of the Internet format, and the heading's BBB when it marks a delayed,
    // corrected or amended bulletin.
    std::string headingTime;
    std::optional<ReportStamp> stamp;
    std::string correction;
    // Section 3 follow-up state: highest j1 of the 5-groups seen in the section
    // and the radiation follow-up state (0 to 6).
    int highestJ1 = 0;
    int radiationState = 0;
};

class DecodingContext {
  public:
    virtual ~DecodingContext() = default;

    // Raises Result (the text log, while open, hears it first); an empty
    // text raises nothing.
    virtual void EmitLine(std::string_view text, int level, int slevel) = 0;
    // The same for a line given in parts, joined straight into the event's text.
    virtual void EmitLine(std::initializer_list<std::string_view> parts, int level, int slevel) = 0;
    // Raises Separator (the text log writes its rule line).
    virtual void EmitSeparator(SeparatorLevel level) = 0;
    // The client's sinks, for Position, Temperature and Pressure.
    virtual _IWeatherDecoderEvents& Events() = 0;
    // The record of the report being decoded (a scratch record between
    // reports); decoders put the values they decode into it.
    virtual WeatherObservation& Observation() = 0;
    // The decoder's own record of the report: the code figures the text
    // lines are rendered from (emptied where the observation starts).
    virtual ReportRecord& Record() = 0;
    // Whether an observation sink hears the report being decoded; when none
    // does, the observation's texts need not be written.
    virtual bool ObservationHeard() const = 0;

    virtual bool Quiet() const = 0;
    virtual const StationCatalogue& Catalogue() const = 0;
    // The date observations are placed before (today in UTC unless set).
    virtual CalendarDate ReferenceDate() const = 0;

    virtual DecodingState& State() = 0;
};

// The one shape of every group decoder: the (repaired) group in, its figures
// into the record (Record()) and the values into the observation, the lines
// written from the record by the renderer (report_renderer.h), what it found
// out back. The parser alone decides what follows: the next state, the order
// of the groups, the error rule.
using GroupDecoder = Outcome (*)(std::string_view group, DecodingContext& context);

}  // namespace nimbo
