// The stations the map shows: a ring of the last 1000 positions the decoder
// reported, each with the first temperature and pressure that followed it,
// plus the hover state and the map window's last screen position.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimboview {

struct MapPoint {
    int x = 0;
    int y = 0;
    bool operator==(const MapPoint&) const = default;
};

struct StationRecord {
    static constexpr std::int16_t kNotReported = 32767;

    std::string ident;                        // at most 7 bytes (Windows-1252)
    std::string name;                         // at most 19 bytes
    std::int16_t pressure = kNotReported;     // tenths of hPa
    std::int16_t temperature = kNotReported;  // tenths of a degree Celsius
    std::int16_t x = 0;                       // map column of the marker
    std::int16_t y = 0;                       // map row of the marker
    std::int16_t size = 0;                    // half the marker's side
    std::string station;                      // IIiii or call sign of its report, if known
};

class StationList {
  public:
    static constexpr int kCapacity = 1000;
    static constexpr std::size_t kIdentLength = 7;
    static constexpr std::size_t kNameLength = 19;

    // Map pixel of a position on the 600x300 map (column 303 longitude 0,
    // row 152 the equator); longitudes past the right edge wrap to the left.
    static MapPoint Project(double latitude, double longitude);

    // Stores a new station in the next ring slot (wrapping after 999).
    void AddPosition(float latitude, float longitude, std::string_view ident,
                     std::string_view name);
    // Store the value in the newest station when it has none yet; false when
    // it was ignored (no station yet, already set, or not a number).
    bool SetTemperature(float degrees);
    bool SetPressure(float hectopascals);
    // Names the newest record after the station of its report.
    void SetNewestStation(std::string_view station);
    // The station of the marker at a map pixel (the newest first, then the
    // latest of the others within a few pixels); empty when none is there
    // or its station is not known.
    std::string StationAt(int x, int y) const;

    // Index of the latest station, -1 while the list is empty.
    int Newest() const { return m_newest; }
    bool Wrapped() const { return m_wrapped; }
    // Records drawn as plain markers: all 1000 once wrapped, else those
    // before the newest.
    int DrawCount() const { return m_wrapped ? kCapacity : m_newest < 0 ? 0 : m_newest; }
    // index must be in 0..kCapacity-1.
    const StationRecord& At(int index) const {
        return m_records.at(static_cast<std::size_t>(index));
    }

    // Hover test at a map pixel: the first drawn record within the newest
    // record's marker size becomes hovered. True when the map must repaint.
    bool HoverAt(int x, int y);
    int Hovered() const { return m_hovered; }
    void SetHoverLabelShown() { m_hoverLabelShown = true; }

    // "ABC [-3.3/1013.3]": identifier with the reported values.
    static std::string Label(const StationRecord& record);
    // The label followed by " (" name ")" when the name is not empty.
    static std::string HoverLabel(const StationRecord& record);
    // Left edge of a label next to a marker at x: to the right of it, or to
    // its left when it would pass the right edge of the map.
    static int LabelLeft(int x, int labelWidth, int mapWidth);

    // Screen position of the map window's top-left corner, kept while the
    // window is closed.
    std::optional<MapPoint> MapWindowPosition() const { return m_mapPosition; }
    void SetMapWindowPosition(MapPoint position) { m_mapPosition = position; }

  private:
    StationRecord* NewestRecord();

    std::array<StationRecord, kCapacity> m_records{};
    int m_newest = -1;
    bool m_wrapped = false;
    int m_hovered = -1;
    bool m_hoverLabelShown = false;
    std::optional<MapPoint> m_mapPosition;
};

// Title of the map window after a position: "Weather Station Map", with
// " - " name " [" country "]" when the name is not empty. Texts as given.
std::string MapTitle(std::string_view name, std::string_view country);

}  // namespace nimboview
