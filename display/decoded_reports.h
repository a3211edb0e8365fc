// The reports decoded in this session as data, for the decoder window's
// export: an observation sink of the decoder that keeps the newest
// kMaxReports records, written out through the library's observation
// formats (CSV, GeoJSON, obs-json).
#pragma once

#include <deque>
#include <string>

#include "observation_formats.h"
#include "weather_observation_interface.h"

namespace nimboview {

class DecodedReports final : public nimbo::_IWeatherObservationEvents {
  public:
    static constexpr std::size_t kMaxReports = 20000;

    void Observation(const nimbo::WeatherObservation& observation) override;
    void Clear() { m_reports.clear(); }
    std::size_t Size() const { return m_reports.size(); }
    // Every kept record, oldest first, as one document of `format`.
    std::string Document(nimbo::ObservationFormat format) const;

  private:
    std::deque<nimbo::WeatherObservation> m_reports;
};

// The format an export file's name asks for: ".csv" CSV, ".geojson" and
// ".json" GeoJSON, anything else one JSON object a line (obs-json).
nimbo::ObservationFormat ExportFormatOf(const std::string& fileName);

}  // namespace nimboview
