// The three data formats share one field list, so a column of the CSV and a
// member of the JSON always hold the same value. Texts of the decoder are
// Windows-1252; the writers give UTF-8.
#include "observation_formats.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <type_traits>

#include "cp1252.h"

namespace nimbo {
namespace {

enum class FieldKind { kNumber, kText, kFlag };

// Hands every field of the record, in the fixed column order, to a visitor
// as a view (no value: absent, no member, empty cell); numbers are formatted
// into one buffer, so no string is made per field.
template <class Visit>
class FieldWalker {
  public:
    explicit FieldWalker(Visit& visit) : m_visit(visit) {}

    void Number(const char* name, const std::optional<double>& value) {
        if (!value) return Absent(name, FieldKind::kNumber);
        const auto result = std::to_chars(m_buffer, m_buffer + sizeof m_buffer, *value);
        m_visit(name, FieldKind::kNumber, std::string_view(m_buffer, result.ptr - m_buffer));
    }
    void Number(const char* name, const std::optional<int>& value) {
        if (!value) return Absent(name, FieldKind::kNumber);
        const auto result = std::to_chars(m_buffer, m_buffer + sizeof m_buffer, *value);
        m_visit(name, FieldKind::kNumber, std::string_view(m_buffer, result.ptr - m_buffer));
    }
    void Text(const char* name, const std::string& text) {
        if (text.empty()) return Absent(name, FieldKind::kText);
        m_visit(name, FieldKind::kText, std::string_view(text));
    }
    void Flag(const char* name, bool set) {
        if (!set) return Absent(name, FieldKind::kFlag);
        m_visit(name, FieldKind::kFlag, std::string_view("true"));
    }

  private:
    void Absent(const char* name, FieldKind kind) {
        m_visit(name, kind, std::optional<std::string_view>());
    }

    Visit& m_visit;
    char m_buffer[32];
};

template <class Walker>
void AddPrecipitation(Walker& v, const char* const names[5],
                      const std::optional<PrecipitationAmount>& amount) {
    const PrecipitationAmount none;
    const PrecipitationAmount& p = amount ? *amount : none;
    v.Number(names[0], p.amountMm);
    v.Flag(names[1], p.trace);
    v.Number(names[2], p.amountCode);
    v.Number(names[3], p.periodHours);
    v.Number(names[4], p.periodCode);
}

// Every field of the record, in the fixed column order. The visitor is called
// as visit(name, kind, std::optional<std::string_view>).
template <class Visit>
void ForEachField(const WeatherObservation& o, Visit&& visit) {
    FieldWalker<std::remove_reference_t<Visit>> v(visit);
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
    AddPrecipitation(v, kSection1, o.precipitation);
    AddPrecipitation(v, kSection3, o.precipitationSection3);
    const PrecipitationAmount none;
    const PrecipitationAmount& day = o.precipitation24h ? *o.precipitation24h : none;
    v.Number("precipitation24h_mm", day.amountMm);
    v.Flag("precipitation24h_trace", day.trace);
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

// The text as a JSON string, appended to out.
void AppendJsonText(std::string& out, std::string_view text) {
    const std::size_t from = out.size();
    out += '"';
    nimbo::AppendCp1252AsUtf8(out, text);
    // Escapes are rare: the converted text is only rewritten when it needs one.
    bool plain = true;
    for (std::size_t i = from + 1; i < out.size() && plain; ++i) {
        const auto byte = static_cast<unsigned char>(out[i]);
        plain = !(out[i] == '"' || out[i] == '\\' || byte < 0x20 || byte == 0x7F);
    }
    if (!plain) {
        const std::string utf8 = out.substr(from + 1);
        out.resize(from + 1);
        for (const char c : utf8) {
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
    }
    out += '"';
}

void AppendCsvCell(std::string& out, std::string_view text) {
    const std::string utf8 = nimbo::Cp1252ToUtf8(text);
    if (utf8.find_first_of(",\"\n\r") == std::string::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendJsonMembers(std::string& out, const WeatherObservation& observation) {
    ForEachField(observation,
                 [&out](const char* name, FieldKind kind, std::optional<std::string_view> value) {
                     if (!value) return;
                     out += '"';
                     out += name;
                     out += "\":";
                     if (kind == FieldKind::kText) {
                         AppendJsonText(out, *value);
                     } else {
                         out += *value;
                     }
                     out += ',';
                 });
    out += "\"errors\":[";
    for (std::size_t i = 0; i < observation.errors.size(); ++i) {
        if (i) out += ',';
        AppendJsonText(out, observation.errors[i]);
    }
    out += ']';
}

}  // namespace

std::string ObservationJson(const WeatherObservation& observation) {
    std::string out;
    out.reserve(1024);
    out += '{';
    AppendJsonMembers(out, observation);
    out += '}';
    return out;
}

std::string ObservationCsvHeader() {
    std::string line;
    ForEachField(WeatherObservation{},
                 [&line](const char* name, FieldKind, std::optional<std::string_view>) {
                     line += name;
                     line += ',';
                 });
    return line + "errors\n";
}

std::string ObservationCsvRow(const WeatherObservation& observation) {
    std::string line;
    line.reserve(512);
    ForEachField(observation,
                 [&line](const char*, FieldKind, std::optional<std::string_view> value) {
                     if (value) AppendCsvCell(line, *value);
                     line += ',';
                 });
    std::string errors;
    for (const std::string& group : observation.errors)
        errors += (errors.empty() ? "" : " ") + group;
    AppendCsvCell(line, errors);
    line += '\n';
    return line;
}

std::string ObservationGeoJsonFeature(const WeatherObservation& observation) {
    if (!observation.latitude || !observation.longitude) return {};
    char buffer[32];
    std::string out = "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[";
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *observation.longitude).ptr);
    out += ',';
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *observation.latitude).ptr);
    out += "]},\"properties\":{";
    AppendJsonMembers(out, observation);
    out += "}}";
    return out;
}

std::string ObservationStream::Begin() const {
    if (m_format == ObservationFormat::kCsv) return ObservationCsvHeader();
    if (m_format == ObservationFormat::kGeoJson)
        return "{\"type\":\"FeatureCollection\",\"features\":[";
    return {};
}

std::string ObservationStream::Add(const WeatherObservation& observation) {
    switch (m_format) {
        case ObservationFormat::kJsonLines:
            return ObservationJson(observation) + "\n";
        case ObservationFormat::kCsv:
            return ObservationCsvRow(observation);
        case ObservationFormat::kGeoJson: {
            const std::string feature = ObservationGeoJsonFeature(observation);
            if (feature.empty()) return {};
            return (m_features++ == 0 ? "\n" : ",\n") + feature;
        }
    }
    return {};
}

std::string ObservationStream::End() const {
    return m_format == ObservationFormat::kGeoJson ? "\n]}\n" : std::string();
}

}  // namespace nimbo
