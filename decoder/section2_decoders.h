// Decoders of section 2, the maritime data after "222": ship movement, sea
// temperature, waves and swells, ice accretion, wave heights, wet bulb, and
// the ice and icing groups. Each takes the repaired group (the plain-language
// forms take the token as received) and says what it found.
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

Outcome DecodeSeaTemperature(std::string_view group, DecodingContext& context);     // 0snTwTwTw
Outcome DecodeInstrumentedWaves(std::string_view group, DecodingContext& context);  // 1PwaPwaHwaHwa
Outcome DecodeSeaWaves(std::string_view group, DecodingContext& context);           // 2PwPwHwHw
Outcome DecodeSwellDirections(std::string_view group, DecodingContext& context);    // 3dw1dw1dw2dw2
Outcome DecodeFirstSwell(std::string_view group, DecodingContext& context);         // 4Pw1Pw1Hw1Hw1
Outcome DecodeSecondSwell(std::string_view group, DecodingContext& context);        // 5Pw2Pw2Hw2Hw2
Outcome DecodeIceAccretion(std::string_view group, DecodingContext& context);       // 6IsEsEsRs
Outcome DecodeWaveHeights(std::string_view group, DecodingContext& context);        // 70HwaHwaHwa
Outcome DecodeWetBulb(std::string_view group, DecodingContext& context);            // 8swTbTbTb

}  // namespace nimbo
