// The newest observation of each station with its station model, and the
// layout of the models in a map view: the newest report first, no model over
// another, only where the zoom leaves room for them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "map_view.h"
#include "plot_geometry.h"
#include "weather_observation.h"

namespace synoptic {

struct StationEntry {
    nimbo::WeatherObservation observation;
    StationPlot plot;
    std::uint64_t arrival = 0;  // order in which the reports came in
};

// A model drawn at a pixel of the view.
struct PlacedModel {
    const StationEntry* entry = nullptr;
    Point at;
};

class StationModels {
  public:
    // Keeps the observation when it has a position and is not older (by its
    // day and hour, then by arrival) than the one kept for its station.
    // True when it was kept.
    bool Add(const nimbo::WeatherObservation& observation);

    std::size_t Size() const { return m_entries.size(); }
    const StationEntry* Find(const std::string& station) const;
    // Every entry, the newest report first.
    std::vector<const StationEntry*> NewestFirst() const;
    // The box around every station; the whole world when there is none.
    GeoBox Bounds() const;

  private:
    std::unordered_map<std::string, std::unique_ptr<StationEntry>> m_entries;
    std::uint64_t m_arrivals = 0;
};

// True when `a` is a newer report than `b`.
bool Newer(const StationEntry& a, const StationEntry& b);

// The models that the view shows: inside it, newest first, decluttered.
std::vector<PlacedModel> LayoutModels(const StationModels& models, const MapView& view);

}  // namespace synoptic
