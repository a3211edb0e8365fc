// The coastlines and national borders compiled into the library (made from
// GSHHG by scripts/make-coastlines), as polylines in degrees.
#pragma once

#include <vector>

#include "map_view.h"
#include "plot_geometry.h"

namespace synoptic {

// x is longitude and y latitude, in degrees.
using GeoLine = std::vector<Point>;

// A GSHHG shoreline polygon, closed (its last point is its first) and its
// bounding box; level 1 is land, 2 a lake, 3 an island in a lake, 4 a pond
// (0 for a piece of an older file, which is stroked but not filled).
struct CoastRing {
    GeoLine points;
    int level = 0;
    GeoBox box;
};

struct CoastlineLayer {
    std::vector<CoastRing> coasts;
    std::vector<GeoLine> borders;
};

// The coasts to draw within `box`, as lines: the polygons that reach into it,
// less the edges along which a polygon cut by the map's edge was closed (the
// date line, and the south pole for Antarctica), which bound the fill only.
std::vector<GeoLine> CoastsWithin(const CoastlineLayer& layer, const GeoBox& box);

// The land of a layer within `box`: the polygons that reach into it, clipped
// to it. Filled with the even-odd rule they paint land and islands in lakes,
// and leave lakes and ponds out.
std::vector<GeoLine> LandWithin(const CoastlineLayer& layer, const GeoBox& box);

enum class CoastDetail { kLow, kIntermediate };

// The level of detail for a map zoom (1 is the world in 600 pixels): the low
// set is finer than a pixel up to about a country's size on the screen.
inline CoastDetail DetailForZoom(double zoom) {
    return zoom < 16 ? CoastDetail::kLow : CoastDetail::kIntermediate;
}

// The layer at a level of detail, read once; empty when the data is damaged.
const CoastlineLayer& Coastlines(CoastDetail detail);

// Reads the file format of scripts/make-coastlines ("NCL2", closed polygons
// with levels, or the older "NCL1" of open pieces); false on damaged data
// (what was read before the damage is kept).
bool ReadCoastlines(const unsigned char* data, std::size_t size, CoastlineLayer layers[2]);

}  // namespace synoptic
