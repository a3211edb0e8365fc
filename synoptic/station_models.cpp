// Newest-per-station store and the decluttered layout of its models.
#include "station_models.h"

#include <algorithm>
#include <tuple>

#include "declutter.h"
#include "station_model.h"

namespace synoptic {
namespace {

// Observation time as one sortable value; reports without a time sort first.
std::tuple<int, int, int, int> TimeOf(const nimbo::WeatherObservation& o) {
    return {o.year.value_or(0), o.month.value_or(0), o.day.value_or(0), o.hour.value_or(-1)};
}

}  // namespace

bool Newer(const StationEntry& a, const StationEntry& b) {
    const auto ta = TimeOf(a.observation);
    const auto tb = TimeOf(b.observation);
    if (ta != tb) return ta > tb;
    return a.arrival > b.arrival;
}

bool StationModels::Add(const nimbo::WeatherObservation& observation) {
    if (!observation.latitude || !observation.longitude || observation.station.empty())
        return false;
    auto entry = std::make_unique<StationEntry>();
    entry->observation = observation;
    entry->arrival = ++m_arrivals;
    auto& slot = m_entries[observation.station];
    if (slot && !Newer(*entry, *slot)) return false;
    entry->plot = BuildStationModel(observation);
    slot = std::move(entry);
    return true;
}

const StationEntry* StationModels::Find(const std::string& station) const {
    const auto found = m_entries.find(station);
    return found == m_entries.end() ? nullptr : found->second.get();
}

std::vector<const StationEntry*> StationModels::NewestFirst() const {
    std::vector<const StationEntry*> entries;
    entries.reserve(m_entries.size());
    for (const auto& [station, entry] : m_entries) entries.push_back(entry.get());
    std::sort(entries.begin(), entries.end(),
              [](const StationEntry* a, const StationEntry* b) { return Newer(*a, *b); });
    return entries;
}

GeoBox StationModels::Bounds() const {
    if (m_entries.empty()) return {};
    GeoBox box{180, 90, -180, -90};
    for (const auto& [station, entry] : m_entries) {
        const double lat = *entry->observation.latitude;
        const double lon = *entry->observation.longitude;
        box = {std::min(box.west, lon), std::min(box.south, lat), std::max(box.east, lon),
               std::max(box.north, lat)};
    }
    return box;
}

std::vector<PlacedModel> LayoutModels(const StationModels& models, const MapView& view) {
    const std::vector<const StationEntry*> entries = models.NewestFirst();
    std::vector<PlacedModel> candidates;
    std::vector<Rect> boxes;
    const Rect screen{0, 0, view.Width(), view.Height()};
    for (const StationEntry* entry : entries) {
        const Point at = view.Project(*entry->observation.latitude, *entry->observation.longitude);
        const Rect box = entry->plot.bounds.Moved(at);
        if (!box.Intersects(screen)) continue;
        candidates.push_back({entry, at});
        boxes.push_back(box);
    }
    std::vector<PlacedModel> placed;
    for (const std::size_t index : Declutter(boxes)) placed.push_back(candidates[index]);
    return placed;
}

}  // namespace synoptic
