// The one list of a WeatherObservation's data fields with their column names,
// in the fixed column order of the data formats and the observation archive.
// The same walk reads a record (const) or fills one (non-const), so writers
// and readers never disagree about a name, an order or a unit.
#pragma once

#include <optional>
#include <string>
#include <type_traits>

#include "weather_observation.h"

namespace nimbo {

namespace detail {

// One precipitation amount as five columns (names: amount, trace, code,
// period, period code). When filling, the amount exists afterwards only when
// one of its columns had a value.
template <class Amount, class Visitor>
void VisitPrecipitation(Amount& amount, const char* const (&names)[5], Visitor& v) {
    if constexpr (std::is_const_v<Amount>) {
        static const PrecipitationAmount kNone;
        const PrecipitationAmount& p = amount ? *amount : kNone;
        v.Number(names[0], p.amountMm);
        v.Flag(names[1], p.trace);
        v.Number(names[2], p.amountCode);
        v.Number(names[3], p.periodHours);
        v.Number(names[4], p.periodCode);
    } else {
        PrecipitationAmount& p = amount ? *amount : amount.emplace();
        v.Number(names[0], p.amountMm);
        v.Flag(names[1], p.trace);
        v.Number(names[2], p.amountCode);
        v.Number(names[3], p.periodHours);
        v.Number(names[4], p.periodCode);
        if (!p.amountMm && !p.trace && !p.amountCode && !p.periodHours && !p.periodCode)
            amount.reset();
    }
}

}  // namespace detail

// Hands every data field of `o` (a WeatherObservation, const or not), in
// column order, to the visitor's Text(name, std::string&),
// Number(name, std::optional<int>&), Number(name, std::optional<double>&) and
// Flag(name, bool&), with const references when `o` is const. The groups in
// `errors` are not part of the walk.
template <class Record, class Visitor>
void VisitObservationFields(Record& o, Visitor& v) {
    static_assert(std::is_same_v<std::remove_const_t<Record>, WeatherObservation>);
    v.Text("kind", o.kind);
    v.Text("station", o.station);
    v.Text("name", o.name);
    v.Text("country", o.country);
    v.Text("region", o.region);
    v.Number("latitude", o.latitude);
    v.Number("longitude", o.longitude);
    v.Flag("nil", o.nil);
    v.Number("year", o.year);
    v.Number("month", o.month);
    v.Number("day", o.day);
    v.Number("hour", o.hour);
    v.Text("correction", o.correction);
    v.Number("wind_direction_deg", o.windDirection);
    v.Number("wind_direction_code", o.windDirectionCode);
    v.Flag("wind_calm", o.windCalm);
    v.Flag("wind_variable", o.windVariable);
    v.Number("wind_speed", o.windSpeed);
    v.Text("wind_speed_unit", o.windSpeedUnit);
    v.Text("wind_speed_source", o.windSpeedSource);
    v.Number("wind_unit_code", o.windUnitCode);
    v.Number("gust", o.gust);
    v.Number("gust_code", o.gustCode);
    v.Number("visibility_m", o.visibilityM);
    v.Number("visibility_code", o.visibilityCode);
    v.Flag("visibility_less_than", o.visibilityLessThan);
    v.Number("cloud_cover_oktas", o.cloudCoverOktas);
    v.Number("cloud_cover_code", o.cloudCoverCode);
    v.Number("air_temperature_c", o.airTemperature);
    v.Number("dew_point_c", o.dewPoint);
    v.Number("relative_humidity_pct", o.relativeHumidity);
    v.Number("station_pressure_hpa", o.stationPressure);
    v.Number("sea_level_pressure_hpa", o.seaLevelPressure);
    v.Number("geopotential_surface_hpa", o.geopotentialSurface);
    v.Number("geopotential_height_gpm", o.geopotentialHeight);
    v.Number("pressure_change_hpa", o.pressureChange);
    v.Number("pressure_tendency_code", o.tendencyCode);
    static const char* const kSection1[5] = {"precipitation_mm", "precipitation_trace",
                                             "precipitation_code", "precipitation_period_h",
                                             "precipitation_period_code"};
    static const char* const kSection3[5] = {"precipitation3_mm", "precipitation3_trace",
                                             "precipitation3_code", "precipitation3_period_h",
                                             "precipitation3_period_code"};
    detail::VisitPrecipitation(o.precipitation, kSection1, v);
    detail::VisitPrecipitation(o.precipitationSection3, kSection3, v);
    // The 24-hour amount has its period by definition: amount and trace only.
    if constexpr (std::is_const_v<Record>) {
        static const PrecipitationAmount kNone;
        const PrecipitationAmount& day = o.precipitation24h ? *o.precipitation24h : kNone;
        v.Number("precipitation24h_mm", day.amountMm);
        v.Flag("precipitation24h_trace", day.trace);
    } else {
        PrecipitationAmount& day =
            o.precipitation24h ? *o.precipitation24h : o.precipitation24h.emplace();
        v.Number("precipitation24h_mm", day.amountMm);
        v.Flag("precipitation24h_trace", day.trace);
        if (day.amountMm || day.trace) {
            day.periodHours = 24;
        } else {
            o.precipitation24h.reset();
        }
    }
    v.Number("present_weather_code", o.presentWeatherCode);
    v.Number("past_weather1_code", o.pastWeather1Code);
    v.Number("past_weather2_code", o.pastWeather2Code);
    v.Flag("automatic_weather_codes", o.automaticWeatherCodes);
    v.Number("cloud_amount_code", o.cloudAmountCode);
    v.Number("low_cloud_code", o.lowCloudCode);
    v.Number("middle_cloud_code", o.middleCloudCode);
    v.Number("high_cloud_code", o.highCloudCode);
    v.Number("max_temperature_c", o.maxTemperature);
    v.Number("min_temperature_c", o.minTemperature);
    v.Number("snow_depth_cm", o.snowDepthCm);
    v.Number("sea_temperature_c", o.seaTemperature);
    v.Number("wave_period_s", o.wavePeriodS);
    v.Number("wave_height_m", o.waveHeightM);
    v.Flag("waves_instrumented", o.wavesInstrumented);
}

}  // namespace nimbo
