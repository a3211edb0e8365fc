// Plain-language lines of an observation record.
#include "station_report.h"

#include <cmath>
#include <cstdio>

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
    if (o.presentWeatherCode)
        Line(out, "Present weather", "ww " + std::to_string(*o.presentWeatherCode));
    if (o.pastWeather1Code)
        Line(out, "Past weather",
             "W1 " + std::to_string(*o.pastWeather1Code) +
                 (o.pastWeather2Code ? " W2 " + std::to_string(*o.pastWeather2Code) : ""));
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
