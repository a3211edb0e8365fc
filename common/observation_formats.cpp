// The three data formats share one field list, so a column of the CSV and a
// member of the JSON always hold the same value. Texts of the decoder are
// Windows-1252; the writers give UTF-8.
#include "observation_formats.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <type_traits>

#include "cp1252.h"
#include "json_writer.h"
#include "observation_fields.h"

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

// Every field of the record, in the fixed column order. The visitor is called
// as visit(name, kind, std::optional<std::string_view>).
template <class Visit>
void ForEachField(const WeatherObservation& o, Visit&& visit) {
    FieldWalker<std::remove_reference_t<Visit>> walker(visit);
    VisitObservationFields(o, walker);
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
                         AppendJsonString(out, *value);
                     } else {
                         out += *value;
                     }
                     out += ',';
                 });
    out += "\"errors\":[";
    for (std::size_t i = 0; i < observation.errors.size(); ++i) {
        if (i) out += ',';
        AppendJsonString(out, observation.errors[i]);
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
