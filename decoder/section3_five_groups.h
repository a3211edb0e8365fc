// The 5-groups of section 3 and the radiation groups that follow its
// sunshine groups.
#pragma once

#include <string_view>

#include "decoding_context.h"

namespace nimbo {

// The 5-groups 5j1j2j3j4, chosen by j1, with the radiation groups that follow
// the sunshine groups; keeps the radiation follow-up state and the highest j1
// of the section in the decoding state.
Outcome DecodeFiveGroup(std::string_view group, DecodingContext& context);

// True when the group continues a run of radiation groups (types rising up to
// 4) after the one that followed a sunshine group; DecodeRadiationSeries then
// decodes it.
bool ContinuesRadiationSeries(std::string_view group, const DecodingState& state);
Outcome DecodeRadiationSeries(std::string_view group, DecodingContext& context);

}  // namespace nimbo
