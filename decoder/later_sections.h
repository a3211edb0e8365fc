// Decoders of sections 2, 4 and 5 and of the markers "222" and "555". All
// have the shape of the section 1 ones: the group in, its figures into the
// report's record and its lines through the renderer, what it found out
// back; the parser routes the groups.
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

// Section markers, called by the parser with the repaired marker token.
Outcome DecodeShipMovement(std::string_view group, DecodingContext& context);    // 222Dsvs
Outcome DecodeSection5Marker(std::string_view group, DecodingContext& context);  // 555

// Section 2 groups, selected by the first figure 0 to 8.
GroupDecoder Section2Decoder(int n);
Outcome DecodeIcingText(std::string_view token, DecodingContext& context);  // after "ICING"
Outcome DecodeIceGroup(std::string_view group, DecodingContext& context);   // ciSibiDiZi
Outcome DecodeIceText(std::string_view token, DecodingContext& context);    // after "ICE"

// Section 4 (N'C'H'H'Ct) and section 5 (national data) groups.
Outcome DecodeSection4Group(std::string_view group, DecodingContext& context);
Outcome DecodeSection5Group(std::string_view group, DecodingContext& context);

}  // namespace nimbo
