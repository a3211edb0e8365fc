// The observation connection point of the decoder: the connected
// observation sinks, itself a sink that hands each record to every one.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "weather_observation_interface.h"

namespace nimbo {

class ObservationFanout : public _IWeatherObservationEvents {
  public:
    // Returns the non-zero cookie of the new connection.
    std::uint32_t Connect(_IWeatherObservationEvents* sink);
    // False when the cookie names no connection.
    bool Disconnect(std::uint32_t cookie);
    void DisconnectAll() { m_sinks.clear(); }

    // Every sink connected when the record was raised, in connection order; a
    // sink that throws does not stop the others.
    void Observation(const WeatherObservation& observation) override;

  private:
    std::vector<std::pair<std::uint32_t, _IWeatherObservationEvents*>> m_sinks;
    std::uint32_t m_nextCookie = 1;
};

// The connection point a client reaches through QueryInterface. It lives
// inside its decoder and counts references on the decoder's behalf.
class ObservationPoint final : public IWeatherObservationSource {
  public:
    ObservationPoint(IComponentObject& owner, ObservationFanout& fanout)
        : m_owner(owner), m_fanout(fanout) {}
    std::uint32_t AddRef() override { return m_owner.AddRef(); }
    std::uint32_t Release() override { return m_owner.Release(); }
    HRESULT Advise(_IWeatherObservationEvents* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

  private:
    IComponentObject& m_owner;
    ObservationFanout& m_fanout;
};

}  // namespace nimbo
