// Event fan-out to the connected sinks.
#include "event_fanout.h"

#include <algorithm>

namespace nimbo {

std::uint32_t EventFanout::Connect(_IWeatherDecoderEvents* sink) {
    const std::uint32_t cookie = m_nextCookie++;
    if (m_nextCookie == 0) m_nextCookie = 1;
    m_sinks.emplace_back(cookie, sink);
    return cookie;
}

bool EventFanout::Disconnect(std::uint32_t cookie) {
    const auto found = std::find_if(m_sinks.begin(), m_sinks.end(),
                                    [cookie](const auto& entry) { return entry.first == cookie; });
    if (found == m_sinks.end()) return false;
    m_sinks.erase(found);
    return true;
}

// A copy of the list is walked, so a sink may disconnect itself (or another)
// from inside an event.
template <class Call>
void EventFanout::Raise(Call call) {
    if (m_sinks.size() == 1) {
        // The usual case: one sink, and no list to copy for each event.
        try {
            call(*m_sinks.front().second);
        } catch (...) {
            // Ignored, as for several sinks below.
        }
        return;
    }
    const auto sinks = m_sinks;
    for (const auto& [cookie, sink] : sinks) {
        const bool stillConnected =
            std::any_of(m_sinks.begin(), m_sinks.end(),
                        [c = cookie](const auto& entry) { return entry.first == c; });
        if (!stillConnected) continue;
        try {
            call(*sink);
        } catch (...) {
            // The result of a sink is not looked at, and a failing sink is no
            // reason to stop decoding.
        }
    }
}

void EventFanout::Message(std::int32_t start, const std::string& reference) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Message(start, reference); });
}
void EventFanout::Bloc(std::int32_t state) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Bloc(state); });
}
void EventFanout::Indicator(const std::string& indicator) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Indicator(indicator); });
}
void EventFanout::Guess(const std::string& indicator) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Guess(indicator); });
}
void EventFanout::Error(const std::string& data) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Error(data); });
}
void EventFanout::Separator(std::int32_t level) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Separator(level); });
}
void EventFanout::Result(const std::string& data, std::int32_t level, std::int32_t slevel) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Result(data, level, slevel); });
}
void EventFanout::Position(float lat, float lng, const std::string& ident, const std::string& name,
                           const std::string& country) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Position(lat, lng, ident, name, country); });
}
void EventFanout::Temperature(float tmp, std::int32_t sea) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Temperature(tmp, sea); });
}
void EventFanout::Pressure(float prs, std::int32_t sea) {
    Raise([&](_IWeatherDecoderEvents& sink) { sink.Pressure(prs, sea); });
}

}  // namespace nimbo
