// The decoder's own record of a report, group by group: the code figures
// each group gave, as the group decoders read them. The text lines are
// rendered from it (report_renderer.h); the public WeatherObservation holds
// the values in their units and is filled from the same decode.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "group_fields.h"

namespace nimbo {

// A code figure read from its field; none when the field is not all figures
// (a "/" for missing, or a garbled character).
using CodeFigure = std::optional<int>;

// The figure of the characters [first, first+count) of a group.
inline CodeFigure ReadFigure(std::string_view group, std::size_t first, std::size_t count) {
    const std::string_view field = Field(group, first, count);
    if (!IsValidField(field)) return std::nullopt;
    return FieldValue(field);
}

// N'C'H'H'Ct (section 4): a cloud layer whose base is below the station.
struct CloudBelowStation {
    CodeFigure amount;        // N', code table 2700
    CodeFigure genus;         // C', code table 0500
    CodeFigure upperSurface;  // H'H', altitude of the upper surface in hundreds of metres
    CodeFigure top;           // Ct, code table 0552
};

// Section 5: the national groups, as written (their meaning is national).
struct NationalData {
    bool opened = false;  // "555" was read
    std::vector<std::string> groups;
};

struct ReportRecord {
    std::vector<CloudBelowStation> section4;
    NationalData section5;

    // Empties the record for the next report; the lists keep their storage.
    void Clear() {
        section4.clear();
        section5.opened = false;
        section5.groups.clear();
    }
};

}  // namespace nimbo
