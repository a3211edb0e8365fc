// Reads the compiled-in coastline file: four layers of zigzag varint lines,
// and clips its land polygons to a map's view for filling.
#include "coastlines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

// The file is linked in by the assembler; NIMBO_COASTLINES_FILE is its path.
__asm__(
    ".section .rodata\n"
    ".global nimbo_coastlines_start\n"
    ".global nimbo_coastlines_end\n"
    ".balign 16\n"
    "nimbo_coastlines_start:\n"
    ".incbin \"" NIMBO_COASTLINES_FILE
    "\"\n"
    "nimbo_coastlines_end:\n"
    ".previous\n");
extern "C" const unsigned char nimbo_coastlines_start[];
extern "C" const unsigned char nimbo_coastlines_end[];

namespace synoptic {
namespace {

class ByteReader {
  public:
    ByteReader(const unsigned char* data, std::size_t size) : m_at(data), m_end(data + size) {}
    bool Varint(std::uint64_t* value) {
        *value = 0;
        for (int shift = 0; shift < 64 && m_at < m_end; shift += 7) {
            const unsigned char byte = *m_at++;
            *value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }
    bool Zigzag(std::int64_t* value) {
        std::uint64_t raw = 0;
        if (!Varint(&raw)) return false;
        *value = static_cast<std::int64_t>(raw >> 1) ^ -static_cast<std::int64_t>(raw & 1);
        return true;
    }
    bool Uint32(std::uint32_t* value) {
        if (m_end - m_at < 4) return false;
        *value = static_cast<std::uint32_t>(m_at[0] | m_at[1] << 8 | m_at[2] << 16) |
                 static_cast<std::uint32_t>(m_at[3]) << 24;
        m_at += 4;
        return true;
    }
    std::size_t Left() const { return static_cast<std::size_t>(m_end - m_at); }

  private:
    const unsigned char* m_at;
    const unsigned char* m_end;
};

bool ReadLine(ByteReader& reader, GeoLine& line) {
    std::uint64_t count = 0;
    // Every point takes at least two bytes: a count beyond that is damage.
    if (!reader.Varint(&count) || count > reader.Left() / 2) return false;
    std::int64_t lon = 0, lat = 0;
    line.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        std::int64_t dx = 0, dy = 0;
        if (!reader.Zigzag(&dx) || !reader.Zigzag(&dy)) return false;
        lon += dx;
        lat += dy;
        line.push_back({lon / 100.0, lat / 100.0});
    }
    return true;
}

bool ReadLayer(ByteReader& reader, std::vector<GeoLine>& lines) {
    std::uint32_t count = 0;
    if (!reader.Uint32(&count) || count > reader.Left()) return false;
    lines.resize(count);
    for (GeoLine& line : lines) {
        if (!ReadLine(reader, line)) return false;
    }
    return true;
}

GeoBox BoxOf(const GeoLine& line) {
    GeoBox box{180, 90, -180, -90};
    for (const Point& p : line) {
        box.west = std::min(box.west, p.x);
        box.east = std::max(box.east, p.x);
        box.south = std::min(box.south, p.y);
        box.north = std::max(box.north, p.y);
    }
    return box;
}

// Coast polygons: each is a level (in files with levels) and a line whose
// closing point the file leaves out.
bool ReadRings(ByteReader& reader, bool levelled, std::vector<CoastRing>& rings) {
    std::uint32_t count = 0;
    if (!reader.Uint32(&count) || count > reader.Left()) return false;
    rings.resize(count);
    for (CoastRing& ring : rings) {
        std::uint64_t level = 0;
        if (levelled && (!reader.Varint(&level) || level < 1 || level > 4)) return false;
        if (!ReadLine(reader, ring.points)) return false;
        if (levelled && ring.points.size() < 3) return false;
        if (levelled) ring.points.push_back(ring.points.front());
        ring.level = static_cast<int>(level);
        ring.box = BoxOf(ring.points);
    }
    return true;
}

// An edge along the date line or at the south pole, where the file closes the
// polygons that the map's edge cuts.
bool IsCutEdge(const Point& a, const Point& b) {
    const auto onEdge = [](const Point& p) { return std::fabs(p.x) == 180 || p.y == -90; };
    return onEdge(a) && onEdge(b);
}

bool Overlaps(const GeoBox& a, const GeoBox& b) {
    return a.west <= b.east && b.west <= a.east && a.south <= b.north && b.south <= a.north;
}

// Sutherland-Hodgman: keeps the part of a closed ring inside the box, one
// edge of the box after the other. Where the ring leaves the box, the result
// runs along the box's edge, which adds no area to an even-odd fill.
GeoLine ClipRing(GeoLine ring, const GeoBox& box) {
    struct Edge {
        bool vertical;  // a meridian (clips x), else a parallel (clips y)
        double at;
        bool keepAbove;
    };
    const Edge edges[] = {{true, box.west, true},
                          {true, box.east, false},
                          {false, box.south, true},
                          {false, box.north, false}};
    ring.pop_back();  // the clip works on the ring without its closing point
    for (const Edge& edge : edges) {
        const auto along = [&](const Point& p) { return edge.vertical ? p.x : p.y; };
        const auto inside = [&](const Point& p) {
            return edge.keepAbove ? along(p) >= edge.at : along(p) <= edge.at;
        };
        GeoLine kept;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point& a = ring[i];
            const Point& b = ring[(i + 1) % ring.size()];
            if (inside(a)) kept.push_back(a);
            if (inside(a) == inside(b)) continue;
            const double t = (edge.at - along(a)) / (along(b) - along(a));
            kept.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
        ring = std::move(kept);
    }
    return ring;
}

}  // namespace

bool ReadCoastlines(const unsigned char* data, std::size_t size, CoastlineLayer layers[2]) {
    if (size < 4) return false;
    const bool levelled = std::memcmp(data, "NCL2", 4) == 0;
    if (!levelled && std::memcmp(data, "NCL1", 4) != 0) return false;
    ByteReader reader(data + 4, size - 4);
    return ReadRings(reader, levelled, layers[0].coasts) && ReadLayer(reader, layers[0].borders) &&
           ReadRings(reader, levelled, layers[1].coasts) && ReadLayer(reader, layers[1].borders);
}

std::vector<GeoLine> CoastsWithin(const CoastlineLayer& layer, const GeoBox& box) {
    // An edge is drawn when it may cross the box; runs of such edges are lines.
    const auto nearBox = [&](const Point& a, const Point& b) {
        return !(a.x < box.west && b.x < box.west) && !(a.x > box.east && b.x > box.east) &&
               !(a.y < box.south && b.y < box.south) && !(a.y > box.north && b.y > box.north);
    };
    std::vector<GeoLine> lines;
    for (const CoastRing& ring : layer.coasts) {
        if (!Overlaps(ring.box, box)) continue;
        GeoLine run;
        for (std::size_t i = 1; i < ring.points.size(); ++i) {
            const Point& a = ring.points[i - 1];
            const Point& b = ring.points[i];
            if (nearBox(a, b) && !IsCutEdge(a, b)) {
                if (run.empty()) run.push_back(a);
                run.push_back(b);
            } else if (!run.empty()) {
                lines.push_back(std::move(run));
                run.clear();
            }
        }
        if (!run.empty()) lines.push_back(std::move(run));
    }
    return lines;
}

std::vector<GeoLine> LandWithin(const CoastlineLayer& layer, const GeoBox& box) {
    std::vector<GeoLine> land;
    for (const CoastRing& ring : layer.coasts) {
        if (ring.level == 0 || !Overlaps(ring.box, box)) continue;
        GeoLine clipped = ClipRing(ring.points, box);
        if (clipped.size() >= 3) land.push_back(std::move(clipped));
    }
    return land;
}

const CoastlineLayer& Coastlines(CoastDetail detail) {
    static const std::array<CoastlineLayer, 2> layers = [] {
        std::array<CoastlineLayer, 2> read;
        ReadCoastlines(nimbo_coastlines_start,
                       static_cast<std::size_t>(nimbo_coastlines_end - nimbo_coastlines_start),
                       read.data());
        return read;
    }();
    return layers[detail == CoastDetail::kLow ? 0 : 1];
}

}  // namespace synoptic
