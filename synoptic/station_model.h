// The WMO station model of one observation as plot geometry: the cover
// circle with the wind barb, and around it temperature, dew point,
// visibility, present and past weather, pressure, tendency and clouds, each
// where the WMO plotting model puts it. Built only from the observation
// record, never from the decoded text.
#pragma once

#include <optional>
#include <string>

#include "plot_geometry.h"
#include "weather_observation.h"

namespace synoptic {

// Radius of the station circle before the model is scaled by kModelScale,
// which gives the model its size in pixels.
constexpr double kStationRadius = 4.5;
constexpr double kModelScale = 1.25;

// The wind as the barb draws it: direction the wind comes from (degrees,
// clockwise from north), speed in knots, both absent when not reported.
struct BarbWind {
    std::optional<double> directionDegrees;
    std::optional<double> speedKnots;
    bool calm = false;
    bool southernHemisphere = false;
};

// The wind of an observation in knots (m/s converted when iw says so).
BarbWind WindOf(const nimbo::WeatherObservation& observation);

// The barb, or the calm circle, around a station at (0, 0): a staff towards
// where the wind comes from, pennants (50 kt), full (10 kt) and half (5 kt)
// barbs from its outer end, on the clockwise side of the staff in the northern
// hemisphere and the other side in the southern; an "x" at the end when the
// speed is missing. The value is the speed in knots rounded to 5 ("calm",
// "x" for a missing speed). No shapes when the wind cannot be drawn.
PlotItem WindBarb(const BarbWind& wind);

// The last three figures of a pressure in tenths of hPa: 1013.2 -> "132".
std::string PressureFigures(double hectopascals);

// The whole model in pixels, centred on the station; id is the station or
// call sign.
StationPlot BuildStationModel(const nimbo::WeatherObservation& observation);

}  // namespace synoptic
