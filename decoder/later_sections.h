// Sections 2 to 5 of a report: the one place where the parser hands over the
// groups that follow the markers "222", "333", "444" and "555", and the
// decoders it calls for them. All decoders have the shape of the section 1
// ones: the group in, accepted (true) or malformed (false) out, lines through
// the context's EmitLine.
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

// Handles one token of the parser states kSection2 to kSection5Done (the
// token is not yet repaired, not empty, and its report terminator is already
// removed). Chooses the decoder, applies the order and error rules and moves
// the parser state.
void RouteLaterSection(std::string_view token, DecodingContext& context);

// Section markers, called by the parser with the repaired marker token.
bool DecodeShipMovement(std::string_view group, DecodingContext& context);    // 222Dsvs
bool DecodeSection5Marker(std::string_view group, DecodingContext& context);  // 555

// Section 2 groups, selected by the first figure 0 to 8.
GroupDecoder Section2Decoder(int n);
bool DecodeIcingText(std::string_view token, DecodingContext& context);  // after "ICING"
bool DecodeIceGroup(std::string_view group, DecodingContext& context);   // ciSibiDiZi
bool DecodeIceText(std::string_view token, DecodingContext& context);    // after "ICE"

// Section 3: the whole routing of a repaired or raw token in state kSection3
// (groups 0 to 9, "80000" regional data, radiation follow-ups, order rule).
void RouteSection3(std::string_view token, DecodingContext& context);

// Section 4 (N'C'H'H'Ct) and section 5 (national data) groups.
bool DecodeSection4Group(std::string_view group, DecodingContext& context);
bool DecodeSection5Group(std::string_view group, DecodingContext& context);

}  // namespace nimbo
