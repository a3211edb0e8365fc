// Section 4: clouds whose base is below the station level (mountain stations).
#include "later_sections.h"
#include "report_renderer.h"

namespace nimbo {

// N'C'H'H'Ct: amount and genus of the cloud layer, altitude of its upper
// surface in hundreds of metres, and the description of its top.
Outcome DecodeSection4Group(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    RenderLines(context.Record().section4.Add({.amount = ReadFigure(group, 0, 1),
                                               .genus = ReadFigure(group, 1, 1),
                                               .upperSurface = ReadFigure(group, 2, 2),
                                               .top = ReadFigure(group, 4, 1)}),
                context);
    return Outcome::kAccepted;
}

}  // namespace nimbo
