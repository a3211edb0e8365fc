// The latest report of a station as plain-language lines for the map's side
// panel, written from its observation record.
#pragma once

#include <string>

#include "weather_observation.h"

namespace synoptic {

// Lines "Label: value" separated by line feeds, in UTF-8; values the report
// did not give are left out.
std::string ReportText(const nimbo::WeatherObservation& observation);

}  // namespace synoptic
