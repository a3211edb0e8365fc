// Special phenomena of section 3 (9SpSpspsp): what each SpSp code reports
// (code table 3778) and the value spsp in its unit.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// The text after the label for a 9SpSpspsp group (five characters, checked by
// the caller): "9" + SpSp + " " + what SpSp reports + ": " + spsp in its unit,
// or, for SpSp codes without a row of their own, "9" + SpSp + " " + spsp as
// written + " (" + the code table 3778 category + ")". `windUnit` is the wind
// speed unit text in force, for the gust and wind codes.
std::string SpecialPhenomenonText(std::string_view group, std::string_view windUnit);

}  // namespace nimbo
