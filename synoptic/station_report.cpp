// Plain-language lines of an observation record.
#include "station_report.h"

#include <cmath>
#include <cstdio>

#include "code_tables.h"
#include "cp1252.h"
#include "station_model.h"

namespace synoptic {
namespace {

std::string Number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A temperature in degrees Celsius to a tenth, with its unit.
std::string Celsius(double value) {
    return Number(value, 1) +
           " \xC2\xB0"
           "C";
}

void Line(std::string& out, const char* label, const std::string& value) {
    out.append(label).append(": ").append(value).push_back('\n');
}

std::string Wind(const nimbo::WeatherObservation& o) {
    if (o.windCalm) return "calm";
    std::string text = o.windVariable ? "variable" : "";
    if (o.windDirection) text = std::to_string(*o.windDirection) + "\xC2\xB0";
    if (o.windSpeed) {
        const BarbWind wind = WindOf(o);
        text += (text.empty() ? "" : " ") + Number(*o.windSpeed, 0) + " " + o.windSpeedUnit;
        if (o.windSpeedUnit != "kt") text += " (" + Number(*wind.speedKnots, 0) + " kt)";
    }
    return text;
}

// A code figure with its table's text: "Slight rain (ww 61)"; the figure
// alone where the table has no text for it.
std::string Coded(nimbo::CodeTable table, const char* symbol, int figure) {
    const std::string figureText = std::string(symbol) + " " + std::to_string(figure);
    const std::string_view text = nimbo::CodeText(table, figure);
    if (text.empty()) return figureText;
    return nimbo::Cp1252ToUtf8(text) + " (" + figureText + ")";
}

// Present and past weather in the tables of the station's kind: 4677 and
// 4561 for a manned station, 4680 and 4531 for an automatic one.
void Weather(std::string& out, const nimbo::WeatherObservation& o) {
    const bool automatic = o.automaticWeatherCodes;
    if (o.presentWeatherCode) {
        Line(out, "Present weather",
             automatic ? Coded(nimbo::CodeTable::T4680_wawa, "wawa", *o.presentWeatherCode)
                       : Coded(nimbo::CodeTable::T4677_ww, "ww", *o.presentWeatherCode));
    }
    const nimbo::CodeTable past =
        automatic ? nimbo::CodeTable::T4531_Wa : nimbo::CodeTable::T4561_W;
    if (o.pastWeather1Code)
        Line(out, "Past weather", Coded(past, automatic ? "Wa1" : "W1", *o.pastWeather1Code));
    if (o.pastWeather2Code)
        Line(out, "Past weather", Coded(past, automatic ? "Wa2" : "W2", *o.pastWeather2Code));
}

// The three cloud types, each where it is reported.
void CloudTypes(std::string& out, const nimbo::WeatherObservation& o) {
    if (o.lowCloudCode)
        Line(out, "Low clouds", Coded(nimbo::CodeTable::T0513_CL, "CL", *o.lowCloudCode));
    if (o.middleCloudCode)
        Line(out, "Middle clouds", Coded(nimbo::CodeTable::T0515_CM, "CM", *o.middleCloudCode));
    if (o.highCloudCode)
        Line(out, "High clouds", Coded(nimbo::CodeTable::T0509_CH, "CH", *o.highCloudCode));
}

std::string Time(const nimbo::WeatherObservation& o) {
    char text[48];
    std::snprintf(text, sizeof text, "day %02d, %02d UTC", o.day.value_or(0), o.hour.value_or(0));
    return text;
}

}  // namespace

std::string ReportText(const nimbo::WeatherObservation& o) {
    std::string out;
    std::string name = nimbo::Cp1252ToUtf8(o.name);
    Line(out, "Station", o.station + (name.empty() ? "" : " " + name));
    if (!o.country.empty()) Line(out, "Country", nimbo::Cp1252ToUtf8(o.country));
    if (o.latitude && o.longitude)
        Line(out, "Position", Number(*o.latitude, 2) + ", " + Number(*o.longitude, 2));
    if (o.day && o.hour) Line(out, "Observed", Time(o));
    if (o.nil) Line(out, "Report", "NIL (no data)");
    const std::string wind = Wind(o);
    if (!wind.empty()) Line(out, "Wind", wind);
    if (o.gust) Line(out, "Gust", Number(*o.gust, 0) + " " + o.windSpeedUnit);
    if (o.visibilityM) Line(out, "Visibility", std::to_string(*o.visibilityM) + " m");
    if (o.cloudCoverOktas) Line(out, "Cloud cover", std::to_string(*o.cloudCoverOktas) + "/8");
    if (o.cloudCoverCode == 9) Line(out, "Cloud cover", "sky obscured");
    if (o.airTemperature) Line(out, "Temperature", Celsius(*o.airTemperature));
    if (o.dewPoint) Line(out, "Dew point", Celsius(*o.dewPoint));
    if (o.relativeHumidity) Line(out, "Humidity", Number(*o.relativeHumidity, 0) + " %");
    if (o.seaLevelPressure)
        Line(out, "Sea-level pressure", Number(*o.seaLevelPressure, 1) + " hPa");
    if (o.stationPressure) Line(out, "Station pressure", Number(*o.stationPressure, 1) + " hPa");
    if (o.pressureChange)
        Line(out, "Tendency",
             Number(*o.pressureChange, 1) + " hPa in 3 h" +
                 (o.tendencyCode ? " (a=" + std::to_string(*o.tendencyCode) + ")" : ""));
    Weather(out, o);
    CloudTypes(out, o);
    if (o.precipitation && o.precipitation->amountMm)
        Line(out, "Precipitation", Number(*o.precipitation->amountMm, 1) + " mm");
    if (o.maxTemperature) Line(out, "Maximum", Celsius(*o.maxTemperature));
    if (o.minTemperature) Line(out, "Minimum", Celsius(*o.minTemperature));
    if (o.seaTemperature) Line(out, "Sea temperature", Celsius(*o.seaTemperature));
    if (!o.errors.empty()) {
        std::string groups;
        for (const std::string& group : o.errors) groups += (groups.empty() ? "" : " ") + group;
        Line(out, "Malformed groups", nimbo::Cp1252ToUtf8(groups));
    }
    return out;
}

}  // namespace synoptic
