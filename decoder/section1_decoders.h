// Decoders of section 1, the main observation: iRixhVV, Nddff, 00fff and the
// groups 1 to 9. Each takes the repaired group and says what it found.
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

Outcome DecodeCloudAndVisibility(std::string_view group, DecodingContext& context);  // iRixhVV
Outcome DecodeWind(std::string_view group, DecodingContext& context);                // Nddff
Outcome DecodeHighWindSpeed(std::string_view group, DecodingContext& context);       // 00fff
Outcome DecodeAirTemperature(std::string_view group, DecodingContext& context);      // 1snTTT
Outcome DecodeDewPoint(std::string_view group, DecodingContext& context);            // 2snTdTdTd
Outcome DecodeStationPressure(std::string_view group, DecodingContext& context);     // 3PoPoPoPo
Outcome DecodeSeaLevelPressure(std::string_view group, DecodingContext& context);    // 4PPPP
Outcome DecodePressureTendency(std::string_view group, DecodingContext& context);    // 5appp
Outcome DecodePrecipitation(std::string_view group, DecodingContext& context);       // 6RRRtR
// 6RRRtR of section 3, into the record's section 3 amount.
Outcome DecodeSection3Precipitation(std::string_view group, DecodingContext& context);
Outcome DecodeWeather(std::string_view group, DecodingContext& context);          // 7wwW1W2
Outcome DecodeClouds(std::string_view group, DecodingContext& context);           // 8NhCLCMCH
Outcome DecodeObservationTime(std::string_view group, DecodingContext& context);  // 9GGgg

// The decoder of section 1 group n (0 to 9); null for any other n.
GroupDecoder Section1Decoder(int n);

}  // namespace nimbo
