// Decoders of section 1, the main observation: iRixhVV, Nddff, 00fff and the
// groups 1 to 9. Each takes the repaired group and returns true when it was
// accepted, false when it is malformed (the parser then applies its error rule).
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

bool DecodeCloudAndVisibility(std::string_view group, DecodingContext& context);  // iRixhVV
bool DecodeWind(std::string_view group, DecodingContext& context);                // Nddff
bool DecodeHighWindSpeed(std::string_view group, DecodingContext& context);       // 00fff
bool DecodeAirTemperature(std::string_view group, DecodingContext& context);      // 1snTTT
bool DecodeDewPoint(std::string_view group, DecodingContext& context);            // 2snTdTdTd
bool DecodeStationPressure(std::string_view group, DecodingContext& context);     // 3PoPoPoPo
bool DecodeSeaLevelPressure(std::string_view group, DecodingContext& context);    // 4PPPP
bool DecodePressureTendency(std::string_view group, DecodingContext& context);    // 5appp
bool DecodePrecipitation(std::string_view group, DecodingContext& context);       // 6RRRtR
bool DecodeWeather(std::string_view group, DecodingContext& context);             // 7wwW1W2
bool DecodeClouds(std::string_view group, DecodingContext& context);              // 8NhCLCMCH
bool DecodeObservationTime(std::string_view group, DecodingContext& context);     // 9GGgg

// The decoder of section 1 group n (0 to 9); null for any other n.
GroupDecoder Section1Decoder(int n);

}  // namespace nimbo
