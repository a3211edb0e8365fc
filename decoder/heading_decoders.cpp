// Bulletin heading decoders.
#include "heading_decoders.h"

#include <cstdio>
#include <string>

#include "group_fields.h"
#include "report_renderer.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

// Keeps the decoded item in the record and writes its lines.
Outcome Take(HeadingItem item, DecodingContext& context) {
    RenderLines(context.Record().heading.Add(std::move(item)), context);
    return Outcome::kAccepted;
}

// Data types whose headings carry a station kind and an area letter.
bool HasAreaLetters(char t1) {
    return std::string_view("ABCEFMNRSUVW").find(t1) != std::string_view::npos;
}

// Two figures of a time field, none when not figures or above `highest`.
CodeFigure TimeField(std::string_view field, int highest) {
    if (field.size() != 2) return std::nullopt;
    const CodeFigure value = ReadFigure(field, 0, 2);
    return value && *value <= highest ? value : std::nullopt;
}

}  // namespace

Outcome DecodeDesignator(std::string_view ttaaii, DecodingContext& context) {
    if (ttaaii.size() != 6) return Outcome::kMalformed;
    Designator designator{std::string(ttaaii), DataTypeText(ttaaii[0]), {}, {}};
    if (HasAreaLetters(ttaaii[0])) {
        designator.stationKind = StationKindText(ttaaii[2]);
        designator.area = AreaText(ttaaii[3]);
    }
    return Take(std::move(designator), context);
}

Outcome DecodeSender(std::string_view cccc, DecodingContext& context) {
    return Take(Sender{std::string(cccc)}, context);
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
    const CodeFigure day = TimeField(yygggg.substr(0, 2), 31);
    return Take(
        TransmittedTime{day, TimeField(yygggg.substr(2, 2), 23), TimeField(yygggg.substr(4, 2), 59),
                        DateOfReportDay(day.value_or(0), context)},
        context);
}

Outcome DecodeStatus(std::string_view bbb, DecodingContext& context) {
    return Take(BulletinStatus{std::string(bbb), BbbText(bbb)}, context);
}

}  // namespace nimbo
