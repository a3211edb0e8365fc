// The connection point of the decoder: the list of connected sinks, itself a
// sink that hands every event to each of them in turn.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "weather_decoder_interface.h"

namespace nimbo {

class EventFanout : public _IWeatherDecoderEvents {
  public:
    // Returns the non-zero cookie of the new connection.
    std::uint32_t Connect(_IWeatherDecoderEvents* sink);
    // False when the cookie names no connection.
    bool Disconnect(std::uint32_t cookie);
    void DisconnectAll() { m_sinks.clear(); }
    std::size_t Count() const { return m_sinks.size(); }

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

  private:
    // Calls the event on every sink connected when it was raised; a sink that
    // throws does not stop the others, and nothing reaches the decoder's caller.
    template <class Call>
    void Raise(Call call);

    std::vector<std::pair<std::uint32_t, _IWeatherDecoderEvents*>> m_sinks;
    std::uint32_t m_nextCookie = 1;
};

}  // namespace nimbo
