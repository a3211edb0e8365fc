// Station ring, map projection and station labels.
#include "station_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace nimboview {
namespace {

// The projection factors 600/360 and 152/90, as single-precision values.
constexpr double kColumnsPerDegree = -1.6666666269302368;
constexpr double kRowsPerDegree = 1.6888889074325562;
constexpr int kColumnOfGreenwich = 303;
constexpr int kRowOfEquator = 152;
constexpr int kMapWidth = 600;

// Values from garbled reports can be far off the map; keep them in the
// 16-bit record fields instead of letting them overflow.
std::int16_t ToField(double value) {
    if (!std::isfinite(value)) return 0;
    if (value < -32768.0) return -32768;
    if (value > 32767.0) return 32767;
    return static_cast<std::int16_t>(value);
}

// A stored value must never collide with the "not reported" mark.
std::int16_t ToReported(double value) {
    const std::int16_t field = ToField(value);
    return field == StationRecord::kNotReported ? StationRecord::kNotReported - 1 : field;
}

std::string Formatted(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

MapPoint StationList::Project(double latitude, double longitude) {
    double x = kColumnOfGreenwich - std::trunc(longitude * kColumnsPerDegree);
    if (x > kMapWidth) x -= kMapWidth;
    const double y = kRowOfEquator - std::trunc(latitude * kRowsPerDegree);
    return {ToField(x), ToField(y)};
}

void StationList::AddPosition(float latitude, float longitude, std::string_view ident,
                              std::string_view name) {
    ++m_newest;
    if (m_newest > kCapacity - 1) {
        m_newest = 0;
        m_wrapped = true;
    }
    StationRecord& record = m_records[static_cast<std::size_t>(m_newest)];
    const MapPoint point = Project(latitude, longitude);
    record.ident = std::string(ident.substr(0, kIdentLength));
    record.name = std::string(name.substr(0, kNameLength));
    record.x = static_cast<std::int16_t>(point.x);
    record.y = static_cast<std::int16_t>(point.y);
    record.size = 1;
    record.station.clear();
    record.pressure = StationRecord::kNotReported;
    record.temperature = StationRecord::kNotReported;
}

StationRecord* StationList::NewestRecord() {
    if (m_newest < 0) return nullptr;
    return &m_records[static_cast<std::size_t>(m_newest)];
}

bool StationList::SetTemperature(float degrees) {
    StationRecord* record = NewestRecord();
    if (record == nullptr || record->temperature != StationRecord::kNotReported) return false;
    if (!std::isfinite(degrees)) return false;
    record->temperature = ToReported(std::round(static_cast<double>(degrees) * 10.0));
    return true;
}

bool StationList::SetPressure(float hectopascals) {
    StationRecord* record = NewestRecord();
    if (record == nullptr || record->pressure != StationRecord::kNotReported) return false;
    if (!std::isfinite(hectopascals)) return false;
    record->pressure = ToReported(std::trunc(static_cast<double>(hectopascals) * 10.0 + 0.5));
    return true;
}

void StationList::SetNewestStation(std::string_view station) {
    if (StationRecord* record = NewestRecord()) record->station = std::string(station);
}

// Markers are a few pixels wide: a click a little off still finds one.
std::string StationList::StationAt(int x, int y) const {
    constexpr int kReach = 3;
    const int drawn = DrawCount();
    for (int back = -1; back < drawn; ++back) {
        // The newest first, then the others from the latest one back.
        const int index = back < 0 ? m_newest : (m_newest - 1 - back + kCapacity) % kCapacity;
        if (index < 0 || (back >= 0 && index == m_newest)) continue;
        const StationRecord& record = m_records[static_cast<std::size_t>(index)];
        const int reach = std::max<int>(kReach, record.size + (back < 0 ? 2 : 0));
        if (std::abs(record.x - x) <= reach && std::abs(record.y - y) <= reach &&
            !record.station.empty()) {
            return record.station;
        }
    }
    return {};
}

bool StationList::HoverAt(int x, int y) {
    const int reach = m_newest < 0 ? 0 : m_records[static_cast<std::size_t>(m_newest)].size;
    for (int i = 0; i < DrawCount(); ++i) {
        const StationRecord& record = m_records[static_cast<std::size_t>(i)];
        if (std::abs(record.x - x) <= reach && std::abs(record.y - y) <= reach) {
            if (m_hovered == i) return false;
            m_hovered = i;
            return true;
        }
    }
    m_hovered = -1;
    if (!m_hoverLabelShown) return false;
    m_hoverLabelShown = false;
    return true;
}

std::string StationList::Label(const StationRecord& record) {
    std::string label = record.ident;
    const bool hasTemperature = record.temperature < 1000;
    const bool hasPressure = record.pressure < 11200;
    if (!hasTemperature && !hasPressure) return label;
    label += " [";
    if (hasTemperature) label += Formatted("%02.1f", record.temperature / 10.0);
    if (hasTemperature && hasPressure) label += "/";
    if (hasPressure) label += Formatted("%04.1f", record.pressure / 10.0);
    label += "]";
    return label;
}

std::string StationList::HoverLabel(const StationRecord& record) {
    std::string label = Label(record);
    if (!record.name.empty()) label += " (" + record.name + ")";
    return label;
}

int StationList::LabelLeft(int x, int labelWidth, int mapWidth) {
    if (x + 5 + labelWidth > mapWidth) return x - labelWidth - 5;
    return x + 5;
}

std::string MapTitle(std::string_view name, std::string_view country) {
    std::string title = "Weather Station Map";
    if (name.empty()) return title;
    title.append(" - ").append(name).append(" [").append(country).append("]");
    return title;
}

}  // namespace nimboview
