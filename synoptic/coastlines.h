// The coastlines and national borders compiled into the library (made from
// GSHHG by scripts/make-coastlines), as polylines in degrees.
#pragma once

#include <vector>

#include "plot_geometry.h"

namespace synoptic {

// x is longitude and y latitude, in degrees.
using GeoLine = std::vector<Point>;

struct CoastlineLayer {
    std::vector<GeoLine> coasts;
    std::vector<GeoLine> borders;
};

enum class CoastDetail { kLow, kIntermediate };

// The level of detail for a map zoom (1 is the world in 600 pixels): the low
// set is finer than a pixel up to about a country's size on the screen.
inline CoastDetail DetailForZoom(double zoom) {
    return zoom < 16 ? CoastDetail::kLow : CoastDetail::kIntermediate;
}

// The layer at a level of detail, read once; empty when the data is damaged.
const CoastlineLayer& Coastlines(CoastDetail detail);

// Reads the file format of scripts/make-coastlines; false on damaged data
// (what was read before the damage is kept).
bool ReadCoastlines(const unsigned char* data, std::size_t size, CoastlineLayer layers[2]);

}  // namespace synoptic
