// What every group decoder sees of the report parser: the emit operations,
// the options, the decoding state shared between groups, and the few parser
// controls that section 0 and the later sections need.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

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
    // Text that starts no report (a switch stamp, a trailer) was read where a
    // report should begin; tokens are ignored until an indicator or a message
    // start, and the line before the next indicator is taken as its heading.
    kOutsideBulletin = 28,
};

// Kind of the report being decoded, from its indicator.
enum class ReportKind : int { kShip = 0, kLand = 1, kMobile = 2 };

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

// Decoding state that lives across groups (and, for units, temperatures and
// pressures, across reports until overwritten).
struct DecodingState {
    ReportKind reportKind = ReportKind::kLand;
    std::string_view windUnit = kUnitUnknown;
    bool weatherGroupAnnounced = false;
    CodeTable presentWeather = CodeTable::T4677_ww;
    CodeTable pastWeather = CodeTable::T4561_W;
    bool windGroupSeen = false;
    float lastTemperature = kNoValue;
    float lastPressure = kNoValue;
    float latitude = kUnknownPosition;
    float longitude = kUnknownPosition;
    std::string callSign;
    // Section 3 follow-up state: highest j1 of the 5-groups seen in the section
    // and the radiation follow-up state (0 to 6).
    int highestJ1 = 0;
    int radiationState = 0;
};

class DecodingContext {
  public:
    virtual ~DecodingContext() = default;

    // Writes the text log, then raises Result; an empty text does neither.
    virtual void EmitLine(std::string_view text, int level, int slevel) = 0;
    // Writes the rule line to the text log, then raises Separator.
    virtual void EmitSeparator(SeparatorLevel level) = 0;
    // "DATA ERROR:        " + token + line feed to the text log and as Error.
    virtual void EmitError(std::string_view token) = 0;
    // EmitError, then, unless relaxed, skip the rest of the report.
    virtual void ApplyErrorRule(std::string_view token) = 0;
    // The client's sinks, for Position, Temperature and Pressure.
    virtual _IWeatherDecoderEvents& Events() = 0;
    // The record of the report being decoded (a scratch record between
    // reports); decoders put the values they decode into it.
    virtual WeatherObservation& Observation() = 0;

    virtual bool Quiet() const = 0;
    virtual const StationCatalogue& Catalogue() const = 0;
    // Local date and time, for the month and year of the time lines.
    virtual std::tm LocalNow() const = 0;

    virtual DecodingState& State() = 0;
    virtual ParserState CurrentState() const = 0;
    virtual void SetState(ParserState state) = 0;
    // One more than the number of the last group decoded in the section.
    virtual int GroupOrder() const = 0;
    virtual void SetGroupOrder(int order) = 0;
    // Hands a token to the parser as if it had been received next (used when
    // two groups arrive run together). The raw log is not written for it.
    virtual void HandOnToken(std::string_view token) = 0;
};

// The one shape of every group decoder: the group in, accepted (true) or
// malformed (false) out; output through the context.
using GroupDecoder = bool (*)(std::string_view group, DecodingContext& context);

}  // namespace nimbo
