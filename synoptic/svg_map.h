// A map of station models as SVG text: coastlines and borders, then one
// <g class="station" data-id="..."> per drawn station whose children are
// classed by what they show (cover, barb or calm, temp, dewpoint, ...).
#pragma once

#include <string>

#include "map_view.h"
#include "plot_geometry.h"
#include "station_models.h"

namespace synoptic {

// The whole document for the view's size and area.
std::string SvgMap(const StationModels& models, const MapView& view);

// One shape as an SVG element (path, circle or text), with `attributes`
// (such as a class) put in front of its own.
std::string SvgShape(const Shape& shape, const std::string& attributes);

}  // namespace synoptic
