// Automatic stations report their weather in code tables 4680 (wawa) and
// 4531 (Wa1, Wa2), which have no plotting symbols of their own. The map
// plots each with the symbol of the manned station's figure (4677 ww,
// 4561 W) that says the same; figures with no such twin are not plotted.
#pragma once

#include <optional>

namespace synoptic {

// The ww figure whose symbol shows `wawa`, if any.
std::optional<int> PresentWeatherOfAutomatic(int wawa);

// The W figure whose symbol shows `wa`, if any.
std::optional<int> PastWeatherOfAutomatic(int wa);

}  // namespace synoptic
