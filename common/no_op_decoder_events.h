// An event sink that ignores every decoder event: a base for sinks that
// listen to a few events only.
#pragma once

#include <cstdint>
#include <string>

#include "weather_decoder_interface.h"

namespace nimbo {

class NoOpDecoderEvents : public _IWeatherDecoderEvents {
  public:
    void Message(std::int32_t, const std::string&) override {}
    void Bloc(std::int32_t) override {}
    void Indicator(const std::string&) override {}
    void Guess(const std::string&) override {}
    void Error(const std::string&) override {}
    void Separator(std::int32_t) override {}
    void Result(const std::string&, std::int32_t, std::int32_t) override {}
    void Position(float, float, const std::string&, const std::string&,
                  const std::string&) override {}
    void Temperature(float, std::int32_t) override {}
    void Pressure(float, std::int32_t) override {}
};

}  // namespace nimbo
