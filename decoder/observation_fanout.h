// The decoder's connection point for observations: its list of observation
// sinks, itself a sink that hands each record to every one, and the
// interface a client reaches through QueryInterface.
#pragma once

#include "sink_list.h"
#include "weather_observation_interface.h"

namespace nimbo {

class ObservationFanout : public _IWeatherObservationEvents,
                          public SinkList<_IWeatherObservationEvents> {
  public:
    void Observation(const WeatherObservation& observation) override {
        Raise([&](_IWeatherObservationEvents& sink) { sink.Observation(observation); });
    }
};

// Lives inside its decoder and counts references on the decoder's behalf.
class ObservationPoint final : public IWeatherObservationSource {
  public:
    ObservationPoint(IComponentObject& owner, ObservationFanout& fanout)
        : m_owner(owner), m_fanout(fanout) {}
    std::uint32_t AddRef() override { return m_owner.AddRef(); }
    std::uint32_t Release() override { return m_owner.Release(); }
    HRESULT Advise(_IWeatherObservationEvents* sink, std::uint32_t* cookie) override {
        return m_fanout.Advise(sink, cookie);
    }
    HRESULT Unadvise(std::uint32_t cookie) override { return m_fanout.Unadvise(cookie); }

  private:
    IComponentObject& m_owner;
    ObservationFanout& m_fanout;
};

}  // namespace nimbo
