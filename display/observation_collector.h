// Sink for the decoder's observations: keeps the newest report of each
// station with its station model for the map, and tells the view.
#pragma once

#include "decoder_view.h"
#include "station_models.h"
#include "weather_observation_interface.h"

namespace nimboview {

class ObservationCollector final : public nimbo::_IWeatherObservationEvents {
  public:
    // Neither is owned; both must outlive the connection to the decoder.
    ObservationCollector(DecoderView& view, synoptic::StationModels& models)
        : m_view(view), m_models(models) {}

    void Observation(const nimbo::WeatherObservation& observation) override {
        if (m_models.Add(observation)) m_view.StationsChanged({});
    }

  private:
    DecoderView& m_view;
    synoptic::StationModels& m_models;
};

}  // namespace nimboview
