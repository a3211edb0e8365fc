// WeatherObservation: the values of one decoded report as data, beside the
// text lines of the event interface. A value that the report does not give is
// absent (never zero); a value read through a WMO code table keeps its code
// figure next to it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nimbo {

// Precipitation of a 6RRRtR or 7R24R24R24R24 group.
struct PrecipitationAmount {
    std::optional<double> amountMm;  // 0 for a trace
    bool trace = false;
    std::optional<int> amountCode;   // RRR (code table 3590); absent for the 24-hour group
    std::optional<int> periodHours;  // from tR (code table 4019), or 24
    std::optional<int> periodCode;   // tR
};

struct WeatherObservation {
    // Identification and position.
    std::string kind;     // "AAXX", "BBXX" or "OOXX"
    std::string station;  // IIiii, or the call sign
    std::string name;     // catalogue name
    std::string country;
    std::string region;               // WMO region, e.g. "VI: Europe"
    std::optional<double> latitude;   // degrees, north positive
    std::optional<double> longitude;  // degrees, east positive
    bool nil = false;                 // "NIL": no data reported

    // The bulletin the report came in and the report itself, as received.
    std::string correction;  // BBB of the heading ("CCA", "RRA", "AAB"), empty for an original
    std::string heading;     // TTAAii CCCC YYGGgg, blank-separated; empty without a heading
    std::string report;      // indicator, then the report's groups as received, blank-separated

    // Time (UTC): day and hour from YYGG; month and year those of the latest
    // such day not after the decoder's reference date. A line of the Internet
    // format gives all four from its stamp.
    std::optional<int> year, month, day, hour;

    // Wind: direction in degrees (absent for calm and variable), speed in its unit.
    std::optional<int> windDirection;
    std::optional<int> windDirectionCode;  // dd
    bool windCalm = false;
    bool windVariable = false;
    std::optional<double> windSpeed;
    std::string windSpeedUnit;        // "m/s" or "kt"
    std::string windSpeedSource;      // "estimated" or "anemometer"
    std::optional<int> windUnitCode;  // iw (code table 1855)
    std::optional<double> gust;       // 910ff or 911ff, in the wind-speed unit
    std::optional<int> gustCode;      // 910 or 911

    std::optional<int> visibilityM;      // metres; for a class, its lower bound
    std::optional<int> visibilityCode;   // VV (code table 4377)
    bool visibilityLessThan = false;     // VV 00 or 90: less than visibilityM
    std::optional<int> cloudCoverOktas;  // N; absent for 9 (sky obscured)
    std::optional<int> cloudCoverCode;   // N (code table 2700)

    std::optional<double> airTemperature, dewPoint, relativeHumidity;
    std::optional<double> stationPressure, seaLevelPressure;  // hPa
    std::optional<int> geopotentialSurface;                   // hPa
    std::optional<int> geopotentialHeight;                    // gpm
    std::optional<double> pressureChange;                     // hPa over 3 hours, signed
    std::optional<int> tendencyCode;                          // a (code table 0200)

    std::optional<PrecipitationAmount> precipitation;  // section 1
    std::optional<PrecipitationAmount> precipitationSection3;
    std::optional<PrecipitationAmount> precipitation24h;

    std::optional<int> presentWeatherCode;  // ww (4677) or wawa (4680)
    std::optional<int> pastWeather1Code;    // W1 (4561) or Wa1 (4531)
    std::optional<int> pastWeather2Code;
    bool automaticWeatherCodes = false;  // the codes are of tables 4680/4531

    std::optional<int> cloudAmountCode;  // Nh (2700)
    std::optional<int> lowCloudCode;     // CL (0513)
    std::optional<int> middleCloudCode;  // CM (0515)
    std::optional<int> highCloudCode;    // CH (0509)

    std::optional<double> maxTemperature, minTemperature;
    std::optional<int> snowDepthCm;
    std::optional<double> seaTemperature;
    std::optional<double> wavePeriodS, waveHeightM;  // group 1 (instrumented) or 2
    bool wavesInstrumented = false;

    // Groups of the report that were malformed (each one a DATA ERROR line).
    std::vector<std::string> errors;
};

}  // namespace nimbo
