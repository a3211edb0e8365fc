// Decoders of section 3, the climatological and additional data after "333",
// and the routing that chooses them. Each decoder takes the repaired group and
// returns true when it took the group, false when it does not fit (the
// routing then applies the parser's error rule).
#pragma once

#include <string_view>

#include "decoding_context.h"
#include "section3_five_groups.h"

namespace nimbo {

bool DecodeLocalInformation(std::string_view group, DecodingContext& context);  // 0xxxx
bool DecodeMaxTemperature(std::string_view group, DecodingContext& context);    // 1snTxTxTx
bool DecodeMinTemperature(std::string_view group, DecodingContext& context);    // 2snTnTnTn
bool DecodeGroundState(std::string_view group, DecodingContext& context);       // 3Ejjj
bool DecodeSnowDepth(std::string_view group, DecodingContext& context);         // 4E'sss
bool DecodePrecipitation24h(std::string_view group, DecodingContext& context);  // 7R24R24R24R24
bool DecodeCloudLayer(std::string_view group, DecodingContext& context);        // 8NsChshs
bool DecodeSpecialPhenomena(std::string_view group, DecodingContext& context);  // 9SpSpspsp

// Cloud-layer texts shared with section 4: "N of genus", where a genus that is
// not a figure reads "Not visible" without the amount.
std::string CloudLayerText(char amount, char genus);

}  // namespace nimbo
