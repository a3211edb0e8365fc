// Decoders of section 3, the climatological and additional data after "333".
// Each takes the repaired group and says what it found; the parser chooses
// them by the first figure and keeps the order of the groups.
#pragma once

#include <string_view>

#include "decoding_context.h"
#include "section3_five_groups.h"

namespace nimbo {

Outcome DecodeLocalInformation(std::string_view group, DecodingContext& context);  // 0xxxx
Outcome DecodeMaxTemperature(std::string_view group, DecodingContext& context);    // 1snTxTxTx
Outcome DecodeMinTemperature(std::string_view group, DecodingContext& context);    // 2snTnTnTn
Outcome DecodeGroundState(std::string_view group, DecodingContext& context);       // 3Ejjj
Outcome DecodeSnowDepth(std::string_view group, DecodingContext& context);         // 4E'sss
Outcome DecodePrecipitation24h(std::string_view group, DecodingContext& context);  // 7R24R24R24R24
Outcome DecodeCloudLayer(std::string_view group, DecodingContext& context);        // 8NsChshs
Outcome DecodeSpecialPhenomena(std::string_view group, DecodingContext& context);  // 9SpSpspsp

// The decoder of section 3 group n (0 to 9); null for any other n.
GroupDecoder Section3Decoder(int n);

}  // namespace nimbo
