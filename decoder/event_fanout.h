// The decoder's connection point for _IWeatherDecoderEvents: its list of
// sinks, itself a sink that hands every event to each of them in turn.
#pragma once

#include "sink_list.h"
#include "weather_decoder_interface.h"

namespace nimbo {

class EventFanout : public _IWeatherDecoderEvents, public SinkList<_IWeatherDecoderEvents> {
  public:
    void Message(std::int32_t start, const std::string& reference) override;
    void Bloc(std::int32_t state) override;
    void Indicator(const std::string& indicator) override;
    void Guess(const std::string& indicator) override;
    void Error(const std::string& data) override;
    void Separator(std::int32_t level) override;
    void Result(const std::string& data, std::int32_t level, std::int32_t slevel) override;
    void Position(float lat, float lng, const std::string& ident, const std::string& name,
                  const std::string& country) override;
    void Temperature(float tmp, std::int32_t sea) override;
    void Pressure(float prs, std::int32_t sea) override;
};

}  // namespace nimbo
