// Section 0 decoders.
#include "station_decoders.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "group_fields.h"
#include "heading_decoders.h"
#include "station_catalogue.h"
#include "tables/code_tables.h"
#include "tables/country_tables.h"

namespace nimbo {
namespace {

constexpr std::string_view kDegree = "\xB0";

// Whole figures and tenth of a coordinate (LaLa La or LoLoLo Lo).
struct CoordinateText {
    std::string whole;
    std::string tenth;
    bool missing = false;
};

CoordinateText DecodeCoordinate(std::string_view whole, std::string_view tenth, float* value) {
    CoordinateText text;
    if (whole.find_first_not_of('/') == std::string_view::npos && tenth == "/") {
        text.whole = "Unknown";
        text.tenth = " ";
        text.missing = true;
        return text;
    }
    if (IsAllFigures(whole)) {
        *value = static_cast<float>(FieldValue(whole));
        text.whole = std::string(whole);
    } else {
        text.whole = std::string(whole.size(), '?');
    }
    if (IsAllFigures(tenth)) {
        *value += static_cast<float>(FieldValue(tenth)) / 10.0f;
        text.tenth = "." + std::string(tenth);
    } else {
        text.tenth = ".?";
    }
    return text;
}

std::string_view ReportTypeFor(ReportKind kind) {
    switch (kind) {
        case ReportKind::kLand:
            return kReportTypeLand;
        case ReportKind::kShip:
            return kReportTypeShip;
        case ReportKind::kMobile:
            return kReportTypeMobile;
    }
    return {};
}

void EmitCatalogueLines(std::string_view number, DecodingContext& context) {
    DecodingState& state = context.State();
    state.latitude = kUnknownPosition;
    state.longitude = kUnknownPosition;
    const StationRecord& record = context.Catalogue().LookUp(number);
    if (record.name.empty()) return;
    state.latitude = record.latitude;
    state.longitude = record.longitude;
    WeatherObservation& observation = context.Observation();
    observation.name = record.name;
    if (PositionKnown(record.latitude, record.longitude)) {
        // The catalogue gives hundredths of a degree.
        observation.latitude = std::round(record.latitude * 100.0) / 100.0;
        observation.longitude = std::round(record.longitude * 100.0) / 100.0;
    }
    context.EmitLine({"Station Reference: ", record.name, " [", record.country, "]\n"},
                     kLevelStation, 0);
    if (PositionKnown(record.latitude, record.longitude)) {
        const std::string ident =
            record.locationIndicator.empty() ? std::string(number) : record.locationIndicator;
        context.Events().Position(record.latitude, record.longitude, ident, record.name,
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

struct ObservationTime {
    std::optional<int> day;
    std::optional<int> hour;
    CalendarDate date;
};

// The stamp of an Internet-format line gives all; otherwise YYGG, where a
// field cannot be read the heading's, and the month and year of that day.
ObservationTime ObservationTimeOf(std::string_view yyggiw, DecodingContext& context) {
    const DecodingState& state = context.State();
    if (state.stamp) return {state.stamp->date.day, state.stamp->hour, state.stamp->date};
    const std::string_view heading = state.headingTime;
    ObservationTime time;
    time.day = TimeFieldValue(yyggiw.substr(0, 2), Field(heading, 0, 2), 1, 31);
    time.hour = TimeFieldValue(yyggiw.substr(2, 2), Field(heading, 2, 2), 0, 23);
    time.date = DateOfReportDay(time.day.value_or(0), context);
    return time;
}

std::string TwoFigures(const std::optional<int>& value) {
    if (!value) return "??";
    return {static_cast<char>('0' + *value / 10), static_cast<char>('0' + *value % 10)};
}

// Date, hour and wind-speed unit (iw, code table 1855) into the record.
void RecordTimeAndUnit(const ObservationTime& time, char iw, WeatherObservation& record) {
    record.year = time.date.year;
    record.month = time.date.month;
    record.day = time.day;
    record.hour = time.hour;
    if (iw != '0' && iw != '1' && iw != '3' && iw != '4') return;
    record.windUnitCode = iw - '0';
    record.windSpeedUnit = iw < '3' ? "m/s" : "kt";
    record.windSpeedSource = iw == '0' || iw == '3' ? "estimated" : "anemometer";
}

}  // namespace

std::string FiveFigureDayHour(std::string_view token) {
    std::string group(token.substr(0, 4));
    group.resize(4, '/');
    group.push_back(token.size() == 5 ? token[4] : '/');
    return group;
}

Outcome DecodeTimeAndUnit(std::string_view yyggiw, DecodingContext& context) {
    if (yyggiw.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    context.EmitLine({"Reporting station: ", ReportTypeFor(state.reportKind), "\n"}, kLevelHeader,
                     0);
    const ObservationTime time = ObservationTimeOf(yyggiw, context);
    context.EmitLine({"Observation time:  ", TwoFigures(time.day), MonthYearText(time.date),
                      TwoFigures(time.hour), ":xx UTC\n"},
                     kLevelHeader, 0);
    state.windUnit = WindSpeedUnitText(yyggiw[4]);
    RecordTimeAndUnit(time, yyggiw[4], context.Observation());
    return Outcome::kAccepted;
}

Outcome DecodeLandStation(std::string_view iiiii, DecodingContext& context) {
    const bool figures = IsAllFigures(iiiii);
    if (figures && iiiii.size() != 5) return Outcome::kMalformed;
    const int number = figures ? FieldValue(iiiii) : -1;
    const std::string_view region = figures ? RegionText(number) : std::string_view();

    // The identity left-aligned in 11 characters, then a blank.
    const std::string_view shown = iiiii.substr(0, 15);
    constexpr std::string_view kBlanks = "            ";
    context.EmitLine("Station Identity:  ", kLevelStation, 0);
    context.EmitLine({shown, kBlanks.substr(0, shown.size() < 11 ? 12 - shown.size() : 1)},
                     kLevelStation, 1);
    context.EmitLine({region, "\n"}, kLevelStation, 0);

    EmitCatalogueLines(iiiii, context);
    const std::string_view country = CountryName(number);
    WeatherObservation& observation = context.Observation();
    observation.station = std::string(iiiii);
    observation.country = std::string(country);
    // "(Region VI: Europe)" is kept as "VI: Europe".
    const auto open = region.find("Region ");
    if (open != std::string_view::npos) {
        observation.region = std::string(region.substr(open + 7, region.find(')') - open - 7));
    }
    if (!country.empty()) {
        context.EmitLine({"Country Reference: ", country, "\n"}, kLevelStation, 0);
    }
    return Outcome::kAccepted;
}

Outcome DecodeShipStation(std::string_view callSign, DecodingContext& context) {
    context.Observation().station = std::string(callSign);
    // The call sign left-aligned in 5 characters, then a line feed.
    std::string text(callSign.substr(0, 40));
    if (text.size() < 5) text.resize(5, ' ');
    text.push_back('\n');
    context.EmitLine("Station Identity:  ", kLevelStation, 0);
    context.EmitLine(text, kLevelStation, 1);
    return Outcome::kAccepted;
}

Outcome DecodeLatitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group.substr(0, 2) != "99") return UnexpectedGroup(group);
    DecodingState& state = context.State();
    state.latitude = kUnknownPosition;
    const CoordinateText text =
        DecodeCoordinate(group.substr(2, 2), group.substr(4, 1), &state.latitude);
    if (context.Quiet() && text.missing) return Outcome::kAccepted;
    if (!text.whole.empty()) {
        context.EmitLine("Position:          Lt=" + text.whole + text.tenth + std::string(kDegree),
                         kLevelHeader, 0);
    }
    return Outcome::kAccepted;
}

Outcome DecodeLongitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    state.longitude = kUnknownPosition;
    const CoordinateText text =
        DecodeCoordinate(group.substr(1, 3), group.substr(4, 1), &state.longitude);
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
    if (!(context.Quiet() && text.missing) && !text.whole.empty()) {
        context.EmitLine(" Lg=" + text.whole + text.tenth + std::string(kDegree) + "\n",
                         kLevelHeader, 0);
    }
    return !quadrantKnown && IsFigure(group[0]) ? Outcome::kFlagged : Outcome::kAccepted;
}

Outcome DecodeMarsdenSquare(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    // Positions counted from one: MMM the first three, ULa the fourth, ULo the fifth.
    context.EmitLine("Marsden square:    " + std::string(group.substr(0, 3)) + " " +
                         std::string(1, group[3]) + "Lt " + std::string(1, group[4]) + "Lg\n",
                     kLevelGroup, 0);
    return Outcome::kAccepted;
}

Outcome DecodeMobileAltitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    const std::string_view figures = group.substr(0, 4);
    // im (code table 1845): 1 to 4 metres, 5 to 8 feet, by confidence class.
    std::string unit = " ";
    if (group[4] >= '1' && group[4] <= '4') unit = "m";
    if (group[4] >= '5' && group[4] <= '8') unit = "f";
    context.EmitLine("Mobile altitude:   " + std::to_string(FieldValue(figures)) + unit + "\n",
                     kLevelGroup, 0);
    return Outcome::kAccepted;
}

}  // namespace nimbo
