// The SpSp codes with a row here are the ones stations send in practice;
// every other code keeps its category and the figures as written.
#include "section3_phenomena.h"

#include <array>
#include <cstdio>

#include "group_fields.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

// How the two figures spsp are read for a code.
enum class SpspKind {
    kTime,        // tt, code table 4077: time before the observation or duration
    kWindSpeed,   // ff, in the wind-speed unit of YYGGiw
    kDirection,   // dd, tens of degrees
    kCodeFigures  // code figures of another table, shown as written
};

struct SpecialPhenomenon {
    int spsp;
    std::string_view text;
    SpspKind kind;
};

// Code table 3778 (SpSp), the codes decoded by name
constexpr std::array<SpecialPhenomenon, 8> kPhenomena = {{
    {7, "duration of the reference period", SpspKind::kTime},
    {10, "highest gust in the 10 minutes before the observation", SpspKind::kWindSpeed},
    {11, "highest gust during the period covered by W1W2", SpspKind::kWindSpeed},
    {12, "highest mean wind speed in the 10 minutes before the observation", SpspKind::kWindSpeed},
    {13, "mean wind speed during the period covered by W1W2", SpspKind::kWindSpeed},
    {15, "wind direction", SpspKind::kDirection},
    {24, "state of the sea and visibility seawards", SpspKind::kCodeFigures},
    {31, "depth of newly fallen snow", SpspKind::kCodeFigures},
}};

const SpecialPhenomenon* FindPhenomenon(int spsp) {
    for (const SpecialPhenomenon& row : kPhenomena) {
        if (row.spsp == spsp) return &row;
    }
    return nullptr;
}

// tt of code table 4077: 00 now, 01 to 60 tenths of an hour, 61 to 69 hour
// classes; 70 to 99 (variability, location) as the figures.
std::string TimeText(int tt, std::string_view figures) {
    char text[32];
    if (tt == 0) return "at the time of observation";
    if (tt <= 60) {
        return TenthsInWidth(tt, 0) + " h";
    } else if (tt <= 66) {
        std::snprintf(text, sizeof text, "%d to %d h", tt - 55, tt - 54);
    } else if (tt == 67) {
        return "12 to 18 h";
    } else if (tt == 68) {
        return "more than 18 h";
    } else if (tt == 69) {
        return "time unknown";
    } else {
        return "code figure " + std::string(figures);
    }
    return text;
}

std::string ValueText(SpspKind kind, std::string_view figures, std::string_view windUnit) {
    if (!IsValidField(figures)) return std::string(kUnknown);
    const int value = FieldValue(figures);
    switch (kind) {
        case SpspKind::kTime:
            return TimeText(value, figures);
        case SpspKind::kWindSpeed:
            return std::to_string(value) + std::string(windUnit);
        case SpspKind::kDirection:
            return value == 0    ? "calm"
                   : value == 99 ? "variable"
                                 : std::to_string(value * 10) + "\xB0";
        case SpspKind::kCodeFigures:
            break;
    }
    return "code figures " + std::string(figures);
}

}  // namespace

std::string SpecialPhenomenonText(std::string_view group, std::string_view windUnit) {
    const std::string_view code = group.substr(1, 2);
    const std::string_view figures = group.substr(3, 2);
    const std::string prefix = "9" + std::string(code) + " ";
    if (!IsValidField(code)) return prefix + std::string(figures);
    const int spsp = FieldValue(code);
    if (const SpecialPhenomenon* row = FindPhenomenon(spsp)) {
        return prefix + std::string(row->text) + ": " + ValueText(row->kind, figures, windUnit);
    }
    return prefix + std::string(figures) + " (" +
           std::string(CodeText(CodeTable::T3778_SpSp, spsp / 10)) + ")";
}

}  // namespace nimbo
