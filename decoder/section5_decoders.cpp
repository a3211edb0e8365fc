// Section 5: national data, kept as written.
#include "later_sections.h"
#include "report_renderer.h"

namespace nimbo {

// "555": the section separator and the heading line of the national data.
Outcome DecodeSection5Marker(std::string_view group, DecodingContext& context) {
    if (group != "555") return Outcome::kMalformed;
    context.Record().nationalData = true;
    RenderNationalDataHeading(context);
    return Outcome::kAccepted;
}

// Every group of the section, one per line.
Outcome DecodeSection5Group(std::string_view group, DecodingContext& context) {
    RenderNationalGroup(context.Record().section5.Add(std::string(group)), context);
    return Outcome::kAccepted;
}

}  // namespace nimbo
