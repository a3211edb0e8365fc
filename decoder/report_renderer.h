// The text lines of a report, rendered from the decoder's record
// (report_record.h) one decoded group at a time, as the group is decoded, so
// that lines and the other events keep their order. Each line is a label of
// fixed width and the value, raised through the context's EmitLine at the
// group level; a line whose fields are all missing is left out in quiet mode.
#pragma once

#include <string_view>

#include "decoding_context.h"
#include "report_record.h"

namespace nimbo {

// The bulletin heading: designator, sender, transmission time, status.
void RenderLines(const HeadingItem& item, DecodingContext& context);

// Section 0: the report's identification lines (report kind and time,
// station, catalogue entry, country, position, Marsden square, altitude).
void RenderLines(const Section0Part& part, DecodingContext& context);

// Section 1: the lines of any of its groups; iRixhVV's lines include the
// report's operation lines and the section's separator.
void RenderLines(const Section1Group& group, DecodingContext& context);

// Section 2: the lines of any of its groups, the ice and icing texts included.
void RenderLines(const Section2Group& group, DecodingContext& context);

// Section 3: the lines of any of its groups.
void RenderLines(const Section3Group& group, DecodingContext& context);

// Section 4: cover and genus, upper surface and top of the layer.
void RenderLines(const CloudBelowStation& layer, DecodingContext& context);

// Section 5: the separator and heading line that open it, and one national
// group (the group as written, after one blank).
void RenderNationalDataHeading(DecodingContext& context);
void RenderNationalGroup(std::string_view group, DecodingContext& context);

}  // namespace nimbo
