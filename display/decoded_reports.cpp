// Decoded reports kept for export.
#include "decoded_reports.h"

namespace nimboview {

void DecodedReports::Observation(const nimbo::WeatherObservation& observation) {
    if (m_reports.size() >= kMaxReports) m_reports.pop_front();
    m_reports.push_back(observation);
}

std::string DecodedReports::Document(nimbo::ObservationFormat format) const {
    nimbo::ObservationStream stream(format);
    std::string text = stream.Begin();
    for (const nimbo::WeatherObservation& report : m_reports) text += stream.Add(report);
    return text + stream.End();
}

nimbo::ObservationFormat ExportFormatOf(const std::string& fileName) {
    const auto dot = fileName.find_last_of("./");
    const std::string suffix =
        dot == std::string::npos || fileName[dot] != '.' ? "" : fileName.substr(dot + 1);
    if (suffix == "csv") return nimbo::ObservationFormat::kCsv;
    if (suffix == "geojson" || suffix == "json") return nimbo::ObservationFormat::kGeoJson;
    return nimbo::ObservationFormat::kJsonLines;
}

}  // namespace nimboview
