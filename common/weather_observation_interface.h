// The decoder's second outgoing interface: one WeatherObservation per decoded
// report, connected like _IWeatherDecoderEvents through its own connection
// point, IWeatherObservationSource, which a decoder object hands out on
// IWeatherDecoder::QueryInterface. Clients of the text events see no change.
#pragma once

#include <cstdint>
#include <string_view>

#include "component_ids.h"
#include "component_object.h"
#include "result_codes.h"
#include "weather_observation.h"

namespace nimbo {

// Observation sink. Called synchronously from inside Parse (or when the
// decoder goes away with a report still open), once per report, after the
// text events of that report. The record is only valid during the call.
// Exceptions thrown by a sink are swallowed by the decoder.
class _IWeatherObservationEvents {
  public:
    static constexpr std::string_view kIid = kIidIWeatherObservationEvents;
    virtual ~_IWeatherObservationEvents() = default;
    virtual void Observation(const WeatherObservation& observation) = 0;
};

// Connection point for _IWeatherObservationEvents. The sink is not owned; it
// must stay alive until Unadvise or until the decoder is destroyed.
class IWeatherObservationSource : public IComponentObject {
  public:
    static constexpr std::string_view kIid = kIidIWeatherObservationSource;
    // *cookie receives a non-zero number that identifies the connection.
    virtual HRESULT Advise(_IWeatherObservationEvents* sink, std::uint32_t* cookie) = 0;
    // CONNECT_E_NOCONNECTION when the cookie names no connection.
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

}  // namespace nimbo
