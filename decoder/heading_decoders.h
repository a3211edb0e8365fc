// Decoders of the abbreviated bulletin heading TTAAii CCCC YYGGgg BBB.
// Each takes one token and returns true when accepted, false when malformed.
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

// TTAAii: "Designator:" line with the data-type, station-kind and area texts.
bool DecodeDesignator(std::string_view ttaaii, DecodingContext& context);
// CCCC: "Sender Identity:" in two parts at the sender level. Always accepted.
bool DecodeSender(std::string_view cccc, DecodingContext& context);
// YYGGgg: "Transmitted time:" with month and year from the local clock.
bool DecodeTransmittedTime(std::string_view yyggggg, DecodingContext& context);
// BBB: "Reported status:" and the kind of the indicator. Always accepted.
bool DecodeStatus(std::string_view bbb, DecodingContext& context);

// Two figures of a time field, or "??" when not figures or above `highest`.
std::string TimeField(std::string_view field, int highest);

}  // namespace nimbo
