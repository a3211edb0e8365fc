// Calendar dates of observations. A report gives only its day of the month
// (and hour); the month and year are those of the latest such day that is not
// after a reference date (today in UTC, or a date set for an archive), so a
// report is never dated in the future.
#pragma once

#include <ctime>
#include <optional>
#include <string_view>

namespace nimbo {

struct CalendarDate {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    bool operator==(const CalendarDate&) const = default;
};

// The UTC date of a moment.
CalendarDate UtcDate(std::time_t when);

// Days in a month of a year (Gregorian calendar).
int DaysInMonth(int year, int month);

// The latest date not after `reference` whose day of the month is `day`: the
// same month when the day has come, else the month before (December of the
// year before in January), or earlier still when that month is too short.
// Nothing for a day outside 1 to 31.
std::optional<CalendarDate> DateOfDay(int day, const CalendarDate& reference);

// "YYYY-MM-DD" as a real date; nothing for any other text.
std::optional<CalendarDate> ParseIsoDate(std::string_view text);

}  // namespace nimbo
