// Decoders of the abbreviated bulletin heading TTAAii CCCC YYGGgg BBB.
// Each takes one token and returns true when accepted, false when malformed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "decoding_context.h"

namespace nimbo {

// TTAAii: "Designator:" line with the data-type, station-kind and area texts.
Outcome DecodeDesignator(std::string_view ttaaii, DecodingContext& context);
// CCCC: "Sender Identity:" in two parts at the sender level. Always accepted.
Outcome DecodeSender(std::string_view cccc, DecodingContext& context);
// YYGGgg: "Transmitted time:" with the month and year of that day.
Outcome DecodeTransmittedTime(std::string_view yyggggg, DecodingContext& context);
// BBB: "Reported status:" and the kind of the indicator. Always accepted.
Outcome DecodeStatus(std::string_view bbb, DecodingContext& context);

// The date of a day of the month (0 when unknown) before the reference date:
// the reference date's month and year when the day is unknown.
CalendarDate DateOfReportDay(int day, const DecodingContext& context);
// "/MM/YYYY " of a date, as the time lines show it after the day.
std::string MonthYearText(const CalendarDate& date);

// YYYYMMDDHHMM, the stamp that starts a line of the Internet format; nothing
// for twelve figures that are no date and time, or any other text.
std::optional<ReportStamp> ParseStamp(std::string_view text);

}  // namespace nimbo
