// Section 0 decoders.
#include "station_decoders.h"

#include <cmath>
#include <cstdio>
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

std::string ReportTypeFor(ReportKind kind) {
    switch (kind) {
        case ReportKind::kLand:
            return std::string(kReportTypeLand);
        case ReportKind::kShip:
            return std::string(kReportTypeShip);
        case ReportKind::kMobile:
            return std::string(kReportTypeMobile);
    }
    return {};
}

void EmitCatalogueLines(std::string_view number, DecodingContext& context) {
    DecodingState& state = context.State();
    state.latitude = kUnknownPosition;
    state.longitude = kUnknownPosition;
    const StationRecord record = context.Catalogue().LookUp(number);
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
    context.EmitLine("Station Reference: " + record.name + " [" + record.country + "]\n",
                     kLevelStation, 0);
    if (PositionKnown(record.latitude, record.longitude)) {
        const std::string ident =
            record.locationIndicator.empty() ? std::string(number) : record.locationIndicator;
        context.Events().Position(record.latitude, record.longitude, ident, record.name,
                                  record.country);
    }
}

// Day, hour and wind-speed unit of YYGGiw (code table 1855) into the record.
void RecordTimeAndUnit(std::string_view yyggiw, const std::tm& now, WeatherObservation& record) {
    record.year = now.tm_year + 1900;
    record.month = now.tm_mon + 1;
    if (IsAllFigures(yyggiw.substr(0, 2))) record.day = FieldValue(yyggiw.substr(0, 2));
    if (IsAllFigures(yyggiw.substr(2, 2))) record.hour = FieldValue(yyggiw.substr(2, 2));
    const char iw = yyggiw[4];
    if (iw != '0' && iw != '1' && iw != '3' && iw != '4') return;
    record.windUnitCode = iw - '0';
    record.windSpeedUnit = iw < '3' ? "m/s" : "kt";
    record.windSpeedSource = iw == '0' || iw == '3' ? "estimated" : "anemometer";
}

}  // namespace

bool DecodeTimeAndUnit(std::string_view yyggiw, DecodingContext& context) {
    if (yyggiw.size() != 5) return false;
    DecodingState& state = context.State();
    context.EmitLine("Reporting station: " + ReportTypeFor(state.reportKind) + "\n", kLevelHeader,
                     0);
    const std::tm now = context.LocalNow();
    char date[32];
    std::snprintf(date, sizeof date, "/%02d/%04d ", now.tm_mon + 1, now.tm_year + 1900);
    context.EmitLine("Observation time:  " + TimeField(yyggiw.substr(0, 2), 31) + date +
                         TimeField(yyggiw.substr(2, 2), 23) + ":xx UTC\n",
                     kLevelHeader, 0);
    state.windUnit = WindSpeedUnitText(yyggiw[4]);
    RecordTimeAndUnit(yyggiw, now, context.Observation());
    return true;
}

bool DecodeLandStation(std::string_view iiiii, DecodingContext& context) {
    const bool figures = IsAllFigures(iiiii);
    if (figures && iiiii.size() == 10) {
        DecodeLandStation(iiiii.substr(0, 5), context);
        context.SetState(ParserState::kSection1Start);
        context.HandOnToken(iiiii.substr(5));
        return true;
    }
    if (figures && iiiii.size() != 5) return false;
    const int number = figures ? FieldValue(iiiii) : -1;
    const std::string_view region = figures ? RegionText(number) : std::string_view();

    // The identity left-aligned in 11 characters, then a blank.
    std::string ident(iiiii.substr(0, 15));
    if (ident.size() < 11) ident.resize(11, ' ');
    ident.push_back(' ');
    context.EmitLine("Station Identity:  ", kLevelStation, 0);
    context.EmitLine(ident, kLevelStation, 1);
    context.EmitLine(std::string(region) + "\n", kLevelStation, 0);

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
        context.EmitLine("Country Reference: " + std::string(country) + "\n", kLevelStation, 0);
    }
    return true;
}

bool DecodeShipStation(std::string_view callSign, DecodingContext& context) {
    context.Observation().station = std::string(callSign);
    // The call sign left-aligned in 5 characters, then a line feed.
    std::string text(callSign.substr(0, 40));
    if (text.size() < 5) text.resize(5, ' ');
    text.push_back('\n');
    context.EmitLine("Station Identity:  ", kLevelStation, 0);
    context.EmitLine(text, kLevelStation, 1);
    return true;
}

bool DecodeLatitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return false;
    if (group.substr(0, 2) != "99") return UnexpectedGroup(group);
    DecodingState& state = context.State();
    state.latitude = kUnknownPosition;
    const CoordinateText text =
        DecodeCoordinate(group.substr(2, 2), group.substr(4, 1), &state.latitude);
    if (context.Quiet() && text.missing) return true;
    if (!text.whole.empty()) {
        context.EmitLine("Position:          Lt=" + text.whole + text.tenth + std::string(kDegree),
                         kLevelHeader, 0);
    }
    return true;
}

bool DecodeLongitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return false;
    DecodingState& state = context.State();
    state.longitude = kUnknownPosition;
    const CoordinateText text =
        DecodeCoordinate(group.substr(1, 3), group.substr(4, 1), &state.longitude);
    if (state.latitude <= 90.0f && state.longitude <= 180.0f) {
        // Quadrant of the globe: 1 north-east, 3 south-east, 5 south-west, 7 north-west.
        if (group[0] == '3' || group[0] == '5') state.latitude = -state.latitude;
        if (group[0] == '5' || group[0] == '7') state.longitude = -state.longitude;
        context.Events().Position(state.latitude, state.longitude, state.callSign, "", "");
        context.Observation().latitude = RoundedTenths(state.latitude);
        context.Observation().longitude = RoundedTenths(state.longitude);
    }
    if (context.Quiet() && text.missing) return true;
    if (!text.whole.empty()) {
        context.EmitLine(" Lg=" + text.whole + text.tenth + std::string(kDegree) + "\n",
                         kLevelHeader, 0);
    }
    return true;
}

bool DecodeMarsdenSquare(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return false;
    // Positions counted from one: MMM the first three, ULa the fourth, ULo the fifth.
    context.EmitLine("Marsden square:    " + std::string(group.substr(0, 3)) + " " +
                         std::string(1, group[3]) + "Lt " + std::string(1, group[4]) + "Lg\n",
                     kLevelGroup, 0);
    return true;
}

bool DecodeMobileAltitude(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return false;
    const std::string_view figures = group.substr(0, 4);
    // im (code table 1845): 1 to 4 metres, 5 to 8 feet, by confidence class.
    std::string unit = " ";
    if (group[4] >= '1' && group[4] <= '4') unit = "m";
    if (group[4] >= '5' && group[4] <= '8') unit = "f";
    context.EmitLine("Mobile altitude:   " + std::to_string(FieldValue(figures)) + unit + "\n",
                     kLevelGroup, 0);
    return true;
}

}  // namespace nimbo
