// Sink for the decoder's events: renders each one into the decoder window
// and feeds positions, temperatures and pressures to the station list.
#pragma once

#include <cstdint>
#include <string>

#include "decoder_view.h"
#include "station_list.h"
#include "weather_decoder_interface.h"

namespace nimboview {

class DecoderEventRenderer final : public nimbo::_IWeatherDecoderEvents {
  public:
    // Neither is owned; both must outlive the connection to the decoder.
    DecoderEventRenderer(DecoderView& view, StationList& stations);

    // "#### Start Msg AAXX ####...#\n" (81 characters before the line end)
    // or "#### End   Msg ####...#\n"; a longer reference is not padded.
    static std::string MessageLine(std::int32_t start, const std::string& reference);
    // 81 characters of the level's rule character, then "\n".
    static std::string SeparatorLine(std::int32_t level);
    static QColor ResultColour(std::int32_t level);

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
    DecoderView& m_view;
    StationList& m_stations;
};

}  // namespace nimboview
