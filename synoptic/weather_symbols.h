// The WMO plotting symbols of the station model, one table per code table,
// drawn in the language of symbol_drawing.h (a box from -10 to 10, y down).
#pragma once

#include <vector>

#include "plot_geometry.h"

namespace synoptic {

enum class SymbolTable {
    kPresentWeather,  // ww, code table 4677 (00-99)
    kPastWeather,     // W, code table 4561 (0-9; 0-2 have no symbol)
    kCloudCover,      // N, code table 2700 (0-9; 10 stands for "/", not reported)
    kTendency,        // a, code table 0200 (0-8)
    kLowCloud,        // CL, code table 0513 (1-9)
    kMiddleCloud,     // CM, code table 0515 (1-9)
    kHighCloud,       // CH, code table 0509 (1-9)
};

// The N figure that stands for "/" in the cover table.
constexpr int kCoverNotReported = 10;

// Shapes of the symbol for a code figure, in box units; empty for a figure
// the table does not hold or that has no symbol. Parsed once, then shared.
const std::vector<Shape>& Symbol(SymbolTable table, int figure);

}  // namespace synoptic
