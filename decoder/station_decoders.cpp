// Section 0 decoders.
#include "station_decoders.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "group_fields.h"
#include "heading_decoders.h"
#include "report_renderer.h"
#include "station_catalogue.h"
#include "tables/code_tables.h"
#include "tables/country_tables.h"

namespace nimbo {
namespace {

// Keeps the decoded part in the record and writes its lines.
void Take(Section0Part part, DecodingContext& context) {
    RenderLines(context.Record().section0.Add(std::move(part)), context);
}

// Whole figures and tenth of a coordinate (LaLa La or LoLoLo Lo); the value
// in degrees into `value` where the figures can be read.
Coordinate DecodeCoordinate(std::string_view whole, std::string_view tenth, float* value) {
    Coordinate coordinate;
    coordinate.width = whole.size();
    if (whole.find_first_not_of('/') == std::string_view::npos && tenth == "/") {
        coordinate.unreported = true;
        return coordinate;
    }
    coordinate.whole = ReadFigure(whole, 0, whole.size());
    coordinate.tenth = ReadFigure(tenth, 0, 1);
    if (coordinate.whole) *value = static_cast<float>(*coordinate.whole);
    if (coordinate.tenth) *value += static_cast<float>(*coordinate.tenth) / 10.0f;
    return coordinate;
}

void DecodeCatalogueEntry(std::string_view number, DecodingContext& context) {
    DecodingState& state = context.State();
    state.latitude = kUnknownPosition;
    state.longitude = kUnknownPosition;
    const StationRecord& record = context.Catalogue().LookUp(number);
    if (record.name.empty()) return;
    state.latitude = record.latitude;
    state.longitude = record.longitude;
    WeatherObservation& observation = context.Observation();
    if (context.ObservationHeard()) observation.name = record.name;
    const bool positionKnown = PositionKnown(record.latitude, record.longitude);
    if (positionKnown) {
        // The catalogue gives hundredths of a degree.
        observation.latitude = std::round(record.latitude * 100.0) / 100.0;
        observation.longitude = std::round(record.longitude * 100.0) / 100.0;
    }
    Take(StationReference{record.name, record.country}, context);
    if (!positionKnown) return;
    // The station is named by its ICAO indicator where it has one.
    _IWeatherDecoderEvents& events = context.Events();
    if (record.locationIndicator.empty()) {
        events.Position(record.latitude, record.longitude, std::string(number), record.name,
                        record.country);
    } else {
        events.Position(record.latitude, record.longitude, record.locationIndicator, record.name,
                        record.country);
    }
}

// A time field of YYGGiw within [lowest, highest], or else the same field of
// the heading's YYGGgg; nothing when neither can be read.
std::optional<int> TimeFieldValue(std::string_view field, std::string_view headingField, int lowest,
                                  int highest) {
    for (const std::string_view text : {field, headingField}) {
        if (text.size() != 2 || !IsAllFigures(text)) continue;
        const int value = FieldValue(text);
        if (value >= lowest && value <= highest) return value;
    }
    return std::nullopt;
}

// The stamp of an Internet-format line gives all; otherwise YYGG, where a
// field cannot be read the heading's, and the month and year of that day.
ReportTime ObservationTimeOf(std::string_view yyggiw, DecodingContext& context) {
    const DecodingState& state = context.State();
    if (state.stamp)
        return {state.reportKind, state.stamp->date.day, state.stamp->hour, state.stamp->date};
    const std::string_view heading = state.headingTime;
    ReportTime time;
    time.kind = state.reportKind;
    time.day = TimeFieldValue(yyggiw.substr(0, 2), Field(heading, 0, 2), 1, 31);
    time.hour = TimeFieldValue(yyggiw.substr(2, 2), Field(heading, 2, 2), 0, 23);
    time.date = DateOfReportDay(time.day.value_or(0), context);
    return time;
}

// Date, hour and wind-speed unit (iw, code table 1855) into the record; the
// unit's texts only where the observation is heard.
void RecordTimeAndUnit(const ReportTime& time, char iw, DecodingContext& context) {
    WeatherObservation& record = context.Observation();
    record.year = time.date.year;
    record.month = time.date.month;
    record.day = time.day;
    record.hour = time.hour;
    if (iw != '0' && iw != '1' && iw != '3' && iw != '4') return;
    record.windUnitCode = iw - '0';
    if (!context.ObservationHeard()) return;
    record.windSpeedUnit = iw < '3' ? "m/s" : "kt";
    record.windSpeedSource = iw == '0' || iw == '3' ? "estimated" : "anemometer";
}

// The station number, country and WMO region of a land station into the
// record ("(Region VI: Europe)" is kept as "VI: Europe").
void RecordStationTexts(std::string_view iiiii, std::string_view country, std::string_view region,
                        WeatherObservation& record) {
    record.station = iiiii;
    record.country = country;
    const auto open = region.find("Region ");
    if (open != std::string_view::npos) {
        record.region = region.substr(open + 7, region.find(')') - open - 7);
    }
}

}  // namespace

std::string FiveFigureDayHour(std::string_view token) {
    std::string group(5, '/');  // short enough to stay inside the string
    token.substr(0, 4).copy(group.data(), 4);
    if (token.size() == 5) group[4] = token[4];
    return group;
}

Outcome DecodeTimeAndUnit(std::string_view yyggiw, DecodingContext& context) {
    if (yyggiw.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    const ReportTime time = ObservationTimeOf(yyggiw, context);
    Take(time, context);
    state.windUnit = WindSpeedUnitText(yyggiw[4]);
    RecordTimeAndUnit(time, yyggiw[4], context);
    return Outcome::kAccepted;
}

Outcome DecodeLandStation(std::string_view iiiii, DecodingContext& context) {
    const bool figures = IsAllFigures(iiiii);
    if (figures && iiiii.size() != 5) return Outcome::kMalformed;
    const int number = figures ? FieldValue(iiiii) : -1;
    const std::string_view region = figures ? RegionText(number) : std::string_view();

    Take(StationIdentity{WrittenText<40>(iiiii), true, region}, context);
    DecodeCatalogueEntry(iiiii, context);
    const std::string_view country = CountryName(number);
    if (context.ObservationHeard())
        RecordStationTexts(iiiii, country, region, context.Observation());
    if (!country.empty()) Take(CountryReference{country}, context);
    return Outcome::kAccepted;
}

Outcome DecodeShipStation(std::string_view callSign, DecodingContext& context) {
    if (context.ObservationHeard()) context.Observation().station = callSign;
    Take(StationIdentity{WrittenText<40>(callSign), false, {}}, context);
    return Outcome::kAccepted;
}

Outcome DecodeLatitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group.substr(0, 2) != "99") return UnexpectedGroup(group);
    DecodingState& state = context.State();
    state.latitude = kUnknownPosition;
    Take(Latitude{DecodeCoordinate(group.substr(2, 2), group.substr(4, 1), &state.latitude)},
         context);
    return Outcome::kAccepted;
}

Outcome DecodeLongitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    state.longitude = kUnknownPosition;
    const Longitude longitude{
        DecodeCoordinate(group.substr(1, 3), group.substr(4, 1), &state.longitude)};
    // Qc (code table 3333) is 1, 3, 5 or 7; with any other figure the signs,
    // and so the position, are unknown.
    const bool quadrantKnown = std::string_view("1357").find(group[0]) != std::string_view::npos;
    if (!quadrantKnown) state.longitude = kUnknownPosition;
    if (state.latitude <= 90.0f && state.longitude <= 180.0f) {
        // Quadrant of the globe: 1 north-east, 3 south-east, 5 south-west, 7 north-west.
        if (group[0] == '3' || group[0] == '5') state.latitude = -state.latitude;
        if (group[0] == '5' || group[0] == '7') state.longitude = -state.longitude;
        context.Events().Position(state.latitude, state.longitude, state.callSign, "", "");
        context.Observation().latitude = RoundedTenths(state.latitude);
        context.Observation().longitude = RoundedTenths(state.longitude);
    }
    Take(longitude, context);
    return !quadrantKnown && IsFigure(group[0]) ? Outcome::kFlagged : Outcome::kAccepted;
}

Outcome DecodeMarsdenSquare(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    Take(MarsdenSquare{WrittenGroup(group)}, context);
    return Outcome::kAccepted;
}

Outcome DecodeMobileAltitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    Take(MobileAltitude{FieldValue(group.substr(0, 4)), group[4]}, context);
    return Outcome::kAccepted;
}

}  // namespace nimbo
