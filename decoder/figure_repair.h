// Figure repair: undoes letters that a teleprinter printed in letters shift
// where the group should hold figures.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// Keeps "/" and figures; maps E→4 O→8 P→9 Q→1 R→5 T→6 U→3 V→= W→2 X→/ Y→7;
// every other character is left as it is.
std::string RepairFigures(std::string_view token);

}  // namespace nimbo
