// Routing of sections 2 to 5: which decoder a group goes to, the order rule
// of section 2, and the states that end a section.
#include "later_sections.h"

#include <string>

#include "figure_repair.h"
#include "group_fields.h"

namespace nimbo {
namespace {

void RouteSection2(std::string_view token, DecodingContext& context) {
    if (token == "ICING" || token == "ICE") {
        context.SetGroupOrder(context.GroupOrder() + 1);
        context.SetState(token == "ICING" ? ParserState::kSection2Icing
                                          : ParserState::kSection2Ice);
        return;
    }
    const std::string group = RepairFigures(token);
    const int n = group[0] - '0';
    if (n < context.GroupOrder() && context.GroupOrder() != 0) {
        context.ApplyErrorRule(group);
        return;
    }
    const GroupDecoder decoder = Section2Decoder(n);
    if (decoder == nullptr) return;  // a 9-group or no figure: neither taken nor refused
    if (!decoder(group, context)) {
        context.ApplyErrorRule(group);
        return;
    }
    context.SetGroupOrder(n == 8 ? 0 : n + 1);
}

void RouteSection2Ice(std::string_view token, DecodingContext& context) {
    const std::string group = RepairFigures(token);
    if (IsAllFigures(group) || group.size() == 5) {
        if (!DecodeIceGroup(group, context)) context.ApplyErrorRule(group);
    } else {
        DecodeIceText(token, context);
    }
    // A strict error has already left the report; otherwise the ice group ends
    // section 2.
    if (context.CurrentState() == ParserState::kSection2Ice) {
        context.SetState(ParserState::kSection2Done);
    }
}

}  // namespace

void RouteLaterSection(std::string_view token, DecodingContext& context) {
    switch (context.CurrentState()) {
        case ParserState::kSection2:
            RouteSection2(token, context);
            break;
        case ParserState::kSection2Icing:
            DecodeIcingText(token, context);
            context.SetState(ParserState::kSection2);
            break;
        case ParserState::kSection2Ice:
            RouteSection2Ice(token, context);
            break;
        case ParserState::kSection3:
            RouteSection3(token, context);
            break;
        case ParserState::kSection4: {
            const std::string group = RepairFigures(token);
            if (!DecodeSection4Group(group, context)) context.ApplyErrorRule(group);
            break;
        }
        case ParserState::kSection5:
            DecodeSection5Group(RepairFigures(token), context);
            break;
        default:  // the "done" states: nothing may follow in the section
            context.ApplyErrorRule(token);
            break;
    }
}

}  // namespace nimbo
