// Section 5: national data, shown as written.
#include <string>

#include "later_sections.h"

namespace nimbo {

// "555": the section separator and the heading line of the national data.
// Every line ends with its line feed, so that what follows in the log and in
// the client's window starts on a line of its own.
bool DecodeSection5Marker(std::string_view group, DecodingContext& context) {
    if (group != "555") return false;
    context.EmitSeparator(kSeparatorSection);
    context.EmitLine("National data:    \n", kLevelGroup, 0);
    return true;
}

// Every group of the section, one per line, behind a blank.
bool DecodeSection5Group(std::string_view group, DecodingContext& context) {
    context.EmitLine(" " + std::string(group) + "\n", kLevelGroup, 0);
    return true;
}

}  // namespace nimbo
