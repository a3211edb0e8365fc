// Section 3, 4 and 5 decoders. Not decoded yet: every group is accepted
// without output.
#include "later_sections.h"

namespace nimbo {

void RouteSection3(std::string_view, DecodingContext&) {}
bool DecodeSection4Group(std::string_view, DecodingContext&) { return true; }
bool DecodeSection5Marker(std::string_view, DecodingContext&) { return true; }
bool DecodeSection5Group(std::string_view, DecodingContext&) { return true; }

}  // namespace nimbo
