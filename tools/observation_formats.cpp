// The three data formats share one field list, so a column of the CSV and a
// member of the JSON always hold the same value. Texts of the decoder are
// Windows-1252; the writers give UTF-8.
#include "observation_formats.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "cp1252.h"

namespace nimbo {
namespace {

enum class FieldKind { kNumber, kText, kFlag };

struct Field {
    const char* name;
    std::optional<std::string> value;  // absent: no member, empty cell
    FieldKind kind = FieldKind::kNumber;
};

std::optional<std::string> Number(const std::optional<double>& value) {
    if (!value) return std::nullopt;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, *value);
    return std::string(buffer, result.ptr);
}

std::optional<std::string> Number(const std::optional<int>& value) {
    if (!value) return std::nullopt;
    return std::to_string(*value);
}

std::optional<std::string> Text(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<std::string> Flag(bool set) {
    return set ? std::optional<std::string>("true") : std::nullopt;
}

void AddPrecipitation(std::vector<Field>& fields, const char* const names[5],
                      const std::optional<PrecipitationAmount>& amount) {
    const PrecipitationAmount none;
    const PrecipitationAmount& p = amount ? *amount : none;
    fields.push_back({names[0], Number(p.amountMm)});
    fields.push_back({names[1], Flag(p.trace), FieldKind::kFlag});
    fields.push_back({names[2], Number(p.amountCode)});
    fields.push_back({names[3], Number(p.periodHours)});
    fields.push_back({names[4], Number(p.periodCode)});
}

// Every field of the record, in the fixed column order.
std::vector<Field> Fields(const WeatherObservation& o) {
    std::vector<Field> f = {
        {"kind", Text(o.kind), FieldKind::kText},
        {"station", Text(o.station), FieldKind::kText},
        {"name", Text(o.name), FieldKind::kText},
        {"country", Text(o.country), FieldKind::kText},
        {"region", Text(o.region), FieldKind::kText},
        {"latitude", Number(o.latitude)},
        {"longitude", Number(o.longitude)},
        {"nil", Flag(o.nil), FieldKind::kFlag},
        {"year", Number(o.year)},
        {"month", Number(o.month)},
        {"day", Number(o.day)},
        {"hour", Number(o.hour)},
        {"wind_direction_deg", Number(o.windDirection)},
        {"wind_direction_code", Number(o.windDirectionCode)},
        {"wind_calm", Flag(o.windCalm), FieldKind::kFlag},
        {"wind_variable", Flag(o.windVariable), FieldKind::kFlag},
        {"wind_speed", Number(o.windSpeed)},
        {"wind_speed_unit", Text(o.windSpeedUnit), FieldKind::kText},
        {"wind_speed_source", Text(o.windSpeedSource), FieldKind::kText},
        {"wind_unit_code", Number(o.windUnitCode)},
        {"gust", Number(o.gust)},
        {"gust_code", Number(o.gustCode)},
        {"visibility_m", Number(o.visibilityM)},
        {"visibility_code", Number(o.visibilityCode)},
        {"cloud_cover_oktas", Number(o.cloudCoverOktas)},
        {"cloud_cover_code", Number(o.cloudCoverCode)},
        {"air_temperature_c", Number(o.airTemperature)},
        {"dew_point_c", Number(o.dewPoint)},
        {"relative_humidity_pct", Number(o.relativeHumidity)},
        {"station_pressure_hpa", Number(o.stationPressure)},
        {"sea_level_pressure_hpa", Number(o.seaLevelPressure)},
        {"geopotential_surface_hpa", Number(o.geopotentialSurface)},
        {"geopotential_height_gpm", Number(o.geopotentialHeight)},
        {"pressure_change_hpa", Number(o.pressureChange)},
        {"pressure_tendency_code", Number(o.tendencyCode)},
    };
    static const char* const kSection1[5] = {"precipitation_mm", "precipitation_trace",
                                             "precipitation_code", "precipitation_period_h",
                                             "precipitation_period_code"};
    static const char* const kSection3[5] = {"precipitation3_mm", "precipitation3_trace",
                                             "precipitation3_code", "precipitation3_period_h",
                                             "precipitation3_period_code"};
    AddPrecipitation(f, kSection1, o.precipitation);
    AddPrecipitation(f, kSection3, o.precipitationSection3);
    const PrecipitationAmount none;
    const PrecipitationAmount& day = o.precipitation24h ? *o.precipitation24h : none;
    f.push_back({"precipitation24h_mm", Number(day.amountMm)});
    f.push_back({"precipitation24h_trace", Flag(day.trace), FieldKind::kFlag});
    const std::vector<Field> rest = {
        {"present_weather_code", Number(o.presentWeatherCode)},
        {"past_weather1_code", Number(o.pastWeather1Code)},
        {"past_weather2_code", Number(o.pastWeather2Code)},
        {"automatic_weather_codes", Flag(o.automaticWeatherCodes), FieldKind::kFlag},
        {"cloud_amount_code", Number(o.cloudAmountCode)},
        {"low_cloud_code", Number(o.lowCloudCode)},
        {"middle_cloud_code", Number(o.middleCloudCode)},
        {"high_cloud_code", Number(o.highCloudCode)},
        {"max_temperature_c", Number(o.maxTemperature)},
        {"min_temperature_c", Number(o.minTemperature)},
        {"snow_depth_cm", Number(o.snowDepthCm)},
        {"sea_temperature_c", Number(o.seaTemperature)},
        {"wave_period_s", Number(o.wavePeriodS)},
        {"wave_height_m", Number(o.waveHeightM)},
        {"waves_instrumented", Flag(o.wavesInstrumented), FieldKind::kFlag},
    };
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (const char c : nimbo::Cp1252ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string CsvCell(const std::string& text) {
    const std::string utf8 = nimbo::Cp1252ToUtf8(text);
    if (utf8.find_first_of(",\"\n\r") == std::string::npos) return utf8;
    std::string quoted = "\"";
    for (const char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string JsonMembers(const WeatherObservation& observation) {
    std::string out;
    for (const Field& field : Fields(observation)) {
        if (!field.value) continue;
        out += "\"" + std::string(field.name) + "\":";
        out += field.kind == FieldKind::kText ? JsonText(*field.value) : *field.value;
        out += ",";
    }
    out += "\"errors\":[";
    for (std::size_t i = 0; i < observation.errors.size(); ++i) {
        out += (i ? "," : "") + JsonText(observation.errors[i]);
    }
    return out + "]";
}

}  // namespace

std::string ObservationJson(const WeatherObservation& observation) {
    return "{" + JsonMembers(observation) + "}";
}

std::string ObservationCsvHeader() {
    std::string line;
    for (const Field& field : Fields(WeatherObservation{})) line += std::string(field.name) + ",";
    return line + "errors\n";
}

std::string ObservationCsvRow(const WeatherObservation& observation) {
    std::string line;
    for (const Field& field : Fields(observation)) line += CsvCell(field.value.value_or("")) + ",";
    std::string errors;
    for (const std::string& group : observation.errors)
        errors += (errors.empty() ? "" : " ") + group;
    return line + CsvCell(errors) + "\n";
}

std::string ObservationGeoJsonFeature(const WeatherObservation& observation) {
    if (!observation.latitude || !observation.longitude) return {};
    return "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[" +
           *Number(observation.longitude) + "," + *Number(observation.latitude) +
           "]},\"properties\":{" + JsonMembers(observation) + "}}";
}

}  // namespace nimbo
