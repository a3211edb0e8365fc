// Section 5: national data, kept as written.
#include "later_sections.h"
#include "report_renderer.h"

namespace nimbo {

// "555": the section separator and the heading line of the national data.
Outcome DecodeSection5Marker(std::string_view group, DecodingContext& context) {
    if (group != "555") return Outcome::kMalformed;
    context.Record().section5.opened = true;
    RenderNationalDataHeading(context);
    return Outcome::kAccepted;
}

// Every group of the section, one per line. Text that never ends its report
// could run on in this section; the record keeps the first groups only.
Outcome DecodeSection5Group(std::string_view group, DecodingContext& context) {
    constexpr std::size_t kMaxNationalGroups = 64;
    std::vector<std::string>& groups = context.Record().section5.groups;
    if (groups.size() < kMaxNationalGroups) groups.emplace_back(group);
    RenderNationalGroup(group, context);
    return Outcome::kAccepted;
}

}  // namespace nimbo
