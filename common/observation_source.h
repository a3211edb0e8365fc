// Connecting an observation sink to a decoder: the decoder's observation
// connection point, asked for through QueryInterface, and the Advise on it.
#pragma once

#include <cstdint>

#include "weather_decoder_interface.h"
#include "weather_observation_interface.h"

namespace nimbo {

// The connection point with `sink` advised on it, or null when the decoder
// has no observations or refuses the sink. The sink stays connected while
// the returned reference (or the decoder) lives; *cookie names it for
// Unadvise.
inline ComponentRef<IWeatherObservationSource> AdviseObservations(IWeatherDecoder& decoder,
                                                                  _IWeatherObservationEvents* sink,
                                                                  std::uint32_t* cookie) {
    void* object = nullptr;
    if (Failed(decoder.QueryInterface(IWeatherObservationSource::kIid, &object))) return {};
    ComponentRef<IWeatherObservationSource> source(static_cast<IWeatherObservationSource*>(object));
    if (Failed(source->Advise(sink, cookie))) return {};
    return source;
}

}  // namespace nimbo
