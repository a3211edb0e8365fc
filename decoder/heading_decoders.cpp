// Bulletin heading decoders.
#include "heading_decoders.h"

#include <cstdio>
#include <string>

#include "group_fields.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

constexpr std::string_view kContinuation = "                   - ";

// Data types whose headings carry a station kind and an area letter.
bool HasAreaLetters(char t1) {
    return std::string_view("ABCEFMNRSUVW").find(t1) != std::string_view::npos;
}

}  // namespace

std::string TimeField(std::string_view field, int highest) {
    if (field.size() != 2 || !IsAllFigures(field) || FieldValue(field) > highest) return "??";
    return std::string(field);
}

Outcome DecodeDesignator(std::string_view ttaaii, DecodingContext& context) {
    if (ttaaii.size() != 6) return Outcome::kMalformed;
    const char t1 = ttaaii[0];
    std::string_view kind;
    std::string_view area;
    if (HasAreaLetters(t1)) {
        kind = StationKindText(ttaaii[2]);
        area = AreaText(ttaaii[3]);
    }
    std::string text = "Designator:        " + std::string(ttaaii) + "\n";
    for (std::string_view extra : {DataTypeText(t1), kind, area}) {
        if (!extra.empty()) text.append(kContinuation).append(extra).append("\n");
    }
    context.EmitLine(text, kLevelHeader, 0);
    return Outcome::kAccepted;
}

Outcome DecodeSender(std::string_view cccc, DecodingContext& context) {
    context.EmitLine("Sender Identity:   ", kLevelSender, 0);
    const std::string_view sender = cccc.empty() ? kUnknown : cccc;
    context.EmitLine(std::string(sender) + "\n", kLevelSender, 1);
    return Outcome::kAccepted;
}

CalendarDate DateOfReportDay(int day, const DecodingContext& context) {
    const CalendarDate reference = context.ReferenceDate();
    return DateOfDay(day, reference).value_or(reference);
}

std::string MonthYearText(const CalendarDate& date) {
    const auto figure = [](int value) { return static_cast<char>('0' + value % 10); };
    const int year = date.year;
    return {'/',
            figure(date.month / 10),
            figure(date.month),
            '/',
            figure(year / 1000),
            figure(year / 100),
            figure(year / 10),
            figure(year),
            ' '};
}

std::optional<ReportStamp> ParseStamp(std::string_view text) {
    if (text.size() != 12 || !IsAllFigures(text)) return std::nullopt;
    const auto date =
        ParseIsoDate(std::string(text.substr(0, 4)) + "-" + std::string(text.substr(4, 2)) + "-" +
                     std::string(text.substr(6, 2)));
    const int hour = FieldValue(text.substr(8, 2));
    if (!date || hour > 23 || FieldValue(text.substr(10, 2)) > 59) return std::nullopt;
    return ReportStamp{*date, hour};
}

Outcome DecodeTransmittedTime(std::string_view yygggg, DecodingContext& context) {
    if (yygggg.size() != 6) return Outcome::kMalformed;
    const std::string day = TimeField(yygggg.substr(0, 2), 31);
    const int dayValue = day == "??" ? 0 : FieldValue(day);
    context.EmitLine("Transmitted time:  " + day +
                         MonthYearText(DateOfReportDay(dayValue, context)) +
                         TimeField(yygggg.substr(2, 2), 23) + ":" +
                         TimeField(yygggg.substr(4, 2), 59) + " UTC\n",
                     kLevelHeader, 0);
    return Outcome::kAccepted;
}

Outcome DecodeStatus(std::string_view bbb, DecodingContext& context) {
    std::string text = "Reported status:   ";
    text.append(bbb.empty() ? std::string_view("None") : bbb);
    const std::string_view kind = BbbText(bbb);
    if (!kind.empty()) text.append(" ").append(kind);
    text.append("\n");
    context.EmitLine(text, kLevelHeader, 0);
    return Outcome::kAccepted;
}

}  // namespace nimbo
