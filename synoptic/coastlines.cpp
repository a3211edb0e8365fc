// Reads the compiled-in coastline file: four layers of zigzag varint lines.
#include "coastlines.h"

#include <array>
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

}  // namespace

bool ReadCoastlines(const unsigned char* data, std::size_t size, CoastlineLayer layers[2]) {
    if (size < 4 || std::memcmp(data, "NCL1", 4) != 0) return false;
    ByteReader reader(data + 4, size - 4);
    return ReadLayer(reader, layers[0].coasts) && ReadLayer(reader, layers[0].borders) &&
           ReadLayer(reader, layers[1].coasts) && ReadLayer(reader, layers[1].borders);
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
