// Observation dates from a day of the month and a reference date.
#include "observation_date.h"

#include <charconv>

namespace nimbo {

CalendarDate UtcDate(std::time_t when) {
    std::tm parts{};
    gmtime_r(&when, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

namespace {

void StepBackOneMonth(CalendarDate& date) {
    if (--date.month == 0) {
        date.month = 12;
        --date.year;
    }
}

}  // namespace

std::optional<CalendarDate> DateOfDay(int day, const CalendarDate& reference) {
    if (day < 1 || day > 31) return std::nullopt;
    CalendarDate date = reference;
    date.day = day;
    if (day > reference.day) StepBackOneMonth(date);  // not yet this month
    // A day 29 to 31 may be missing from that month; two steps back at most
    // find a month that has it.
    while (day > DaysInMonth(date.year, date.month)) StepBackOneMonth(date);
    return date;
}

std::optional<CalendarDate> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    CalendarDate date;
    const auto number = [&](std::size_t at, std::size_t length, int* value) {
        const char* first = text.data() + at;
        const auto result = std::from_chars(first, first + length, *value);
        return result.ec == std::errc() && result.ptr == first + length;
    };
    if (!number(0, 4, &date.year) || !number(5, 2, &date.month) || !number(8, 2, &date.day))
        return std::nullopt;
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

}  // namespace nimbo
