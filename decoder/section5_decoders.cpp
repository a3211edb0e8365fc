// Section 5: national data, shown as written.
#include <string>

#include "later_sections.h"

namespace nimbo {

// "555": the section separator and the heading line of the national data.
// Every line ends with its line feed, so that what follows in the log and in
// the client's window starts on a line of its own.
Outcome DecodeSection5Marker(std::string_view group, DecodingContext& context) {
    if (group != "555") return Outcome::kMalformed;
    context.EmitSeparator(kSeparatorSection);
    context.EmitLine("National data:    \n", kLevelGroup, 0);
    return Outcome::kAccepted;
}

// Every group of the section, one per line, behind a blank.
Outcome DecodeSection5Group(std::string_view group, DecodingContext& context) {
    context.EmitLine(" " + std::string(group) + "\n", kLevelGroup, 0);
    return Outcome::kAccepted;
}

}  // namespace nimbo
