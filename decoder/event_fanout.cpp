// Event fan-out to the connected sinks.
#include "event_fanout.h"

namespace nimbo {

using Events = _IWeatherDecoderEvents;

void EventFanout::Message(std::int32_t start, const std::string& reference) {
    Raise([&](Events& sink) { sink.Message(start, reference); });
}
void EventFanout::Bloc(std::int32_t state) {
    Raise([&](Events& sink) { sink.Bloc(state); });
}
void EventFanout::Indicator(const std::string& indicator) {
    Raise([&](Events& sink) { sink.Indicator(indicator); });
}
void EventFanout::Guess(const std::string& indicator) {
    Raise([&](Events& sink) { sink.Guess(indicator); });
}
void EventFanout::Error(const std::string& data) {
    Raise([&](Events& sink) { sink.Error(data); });
}
void EventFanout::Separator(std::int32_t level) {
    Raise([&](Events& sink) { sink.Separator(level); });
}
void EventFanout::Result(const std::string& data, std::int32_t level, std::int32_t slevel) {
    Raise([&](Events& sink) { sink.Result(data, level, slevel); });
}
void EventFanout::Position(float lat, float lng, const std::string& ident, const std::string& name,
                           const std::string& country) {
    Raise([&](Events& sink) { sink.Position(lat, lng, ident, name, country); });
}
void EventFanout::Temperature(float tmp, std::int32_t sea) {
    Raise([&](Events& sink) { sink.Temperature(tmp, sea); });
}
void EventFanout::Pressure(float prs, std::int32_t sea) {
    Raise([&](Events& sink) { sink.Pressure(prs, sea); });
}

}  // namespace nimbo
