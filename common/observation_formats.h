// Writers of decoded observations as data: one JSON object per line, CSV
// rows under a fixed header, and a GeoJSON FeatureCollection (RFC 7946).
#pragma once

#include <cstddef>
#include <string>

#include "weather_observation.h"

namespace nimbo {

// One JSON object (no line feed): the values the report gave, by name; an
// absent value has no member. "errors" is always there (an array of groups).
std::string ObservationJson(const WeatherObservation& observation);

// The fixed CSV header line and one row (both ending in a line feed); an
// absent value is an empty cell, the errors are one cell separated by blanks.
std::string ObservationCsvHeader();
std::string ObservationCsvRow(const WeatherObservation& observation);

// A GeoJSON Feature for an observation with a position (Point, longitude
// first), the JSON members as its properties; empty without a position.
std::string ObservationGeoJsonFeature(const WeatherObservation& observation);

enum class ObservationFormat {
    kJsonLines,  // "obs-json": one JSON object per line
    kCsv,        // the header, then one row per observation
    kGeoJson,    // one FeatureCollection of the observations with a position
};

// A whole document of observations in one format, written as the records
// come: Begin() before the first, Add() for each, End() after the last;
// each returns the text to write next.
class ObservationStream {
  public:
    explicit ObservationStream(ObservationFormat format) : m_format(format) {}
    std::string Begin() const;
    std::string Add(const WeatherObservation& observation);
    std::string End() const;

  private:
    ObservationFormat m_format;
    std::size_t m_features = 0;
};

}  // namespace nimbo
