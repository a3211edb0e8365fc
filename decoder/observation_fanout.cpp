// Observation fan-out to the connected sinks.
#include "observation_fanout.h"

#include <algorithm>

namespace nimbo {

std::uint32_t ObservationFanout::Connect(_IWeatherObservationEvents* sink) {
    const std::uint32_t cookie = m_nextCookie++;
    if (m_nextCookie == 0) m_nextCookie = 1;
    m_sinks.emplace_back(cookie, sink);
    return cookie;
}

bool ObservationFanout::Disconnect(std::uint32_t cookie) {
    const auto found = std::find_if(m_sinks.begin(), m_sinks.end(),
                                    [cookie](const auto& entry) { return entry.first == cookie; });
    if (found == m_sinks.end()) return false;
    m_sinks.erase(found);
    return true;
}

// A copy of the list is walked, so a sink may disconnect from inside the call.
void ObservationFanout::Observation(const WeatherObservation& observation) {
    const auto sinks = m_sinks;
    for (const auto& [cookie, sink] : sinks) {
        const bool stillConnected =
            std::any_of(m_sinks.begin(), m_sinks.end(),
                        [c = cookie](const auto& entry) { return entry.first == c; });
        if (!stillConnected) continue;
        try {
            sink->Observation(observation);
        } catch (...) {
            // A failing sink is no reason to stop decoding.
        }
    }
}

HRESULT ObservationPoint::Advise(_IWeatherObservationEvents* sink, std::uint32_t* cookie) {
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    try {
        *cookie = m_fanout.Connect(sink);
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ObservationPoint::Unadvise(std::uint32_t cookie) {
    return m_fanout.Disconnect(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

}  // namespace nimbo
