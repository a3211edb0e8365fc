// Section 4: clouds whose base is below the station level (mountain stations).
#include <string>

#include "group_fields.h"
#include "later_sections.h"
#include "section3_decoders.h"
#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {

// N'C'H'H'Ct: amount and genus of the cloud layer, altitude of its upper
// surface in hundreds of metres, and the description of its top.
Outcome DecodeSection4Group(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    context.EmitLine("Cloud cover layer: " + CloudLayerText(group[0], group[1]) + "\n", kLevelGroup,
                     0);
    const std::string_view height = group.substr(2, 2);
    const bool heightMissing = !IsValidField(height);
    const std::string heightText =
        heightMissing ? std::string(kUnknown) : NumberInWidth(FieldValue(height) * 100L, 2) + "m";
    EmitGroupLine(context, {"Cloud upper height:", heightText, "\n"}, heightMissing);
    const std::string_view top = group.substr(4, 1);
    const bool topMissing = !IsValidField(top);
    const std::string topText = topMissing
                                    ? std::string(kUnknown)
                                    : std::string(CodeText(CodeTable::T0552_Ct, FieldValue(top)));
    EmitGroupLine(context, {"Top of clouds    :", topText, "\n"}, topMissing);
    return Outcome::kAccepted;
}

}  // namespace nimbo
