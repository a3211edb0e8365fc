// Report start classification from the first groups of a report.
#include "report_start.h"

#include "group_fields.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

bool IsMissingOr(char c, std::string_view allowed) {
    return c == '/' || allowed.find(c) != std::string_view::npos;
}

// A two-figure field within [low, high], or "//".
bool FieldIn(std::string_view field, int low, int high) {
    if (field == "//") return true;
    if (!IsAllFigures(field)) return false;
    const int value = FieldValue(field);
    return value >= low && value <= high;
}

bool HasNil(std::string_view token) {
    for (std::size_t i = 0; i + 3 <= token.size(); ++i) {
        if ((token[i] | 0x20) == 'n' && (token[i + 1] | 0x20) == 'i' &&
            (token[i + 2] | 0x20) == 'l')
            return true;
    }
    return false;
}

constexpr std::string_view kFigures = "0123456789";

StartKind Undecided(bool complete, StartKind atEnd) {
    return complete ? atEnd : StartKind::kUndecided;
}

}  // namespace

bool IsStationNumber(std::string_view repaired) {
    return (repaired.size() == 5 || repaired.size() == 10) && IsAllFigures(repaired);
}

bool IsCallSign(std::string_view token) {
    return token.size() >= 2 && token.size() <= 10 &&
           token.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") ==
               std::string_view::npos;
}

bool IsIndicatorWord(std::string_view token) {
    // Every indicator word has four letters, the last an "X": most tokens
    // are ruled out at once.
    if (token.size() != 4 || token[3] != 'X') return false;
    for (const std::string_view word : kIndicatorWords) {
        if (token == word) return true;
    }
    return false;
}

bool IsDesignator(std::string_view token) {
    return token.size() == 6 && token.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == 4 &&
           token.find_first_not_of("0123456789", 4) == std::string_view::npos;
}

bool LooksLikeDayHour(std::string_view g) {
    return g.size() == 5 && FieldIn(g.substr(0, 2), 1, 31) && FieldIn(g.substr(2, 2), 0, 23) &&
           IsMissingOr(g[4], "01234");
}

bool LooksLikeLatitude(std::string_view g) {
    return g.size() == 5 && g.starts_with("99") && IsAllFigures(g) &&
           FieldValue(g.substr(2)) <= 900;
}

bool LooksLikeCloudGroup(std::string_view g) {
    if (HasNil(g)) return true;
    if (g.size() != 5 || !IsMissingOr(g[0], "01234") || !IsMissingOr(g[1], "1234567") ||
        !IsMissingOr(g[2], kFigures))
        return false;
    const std::string_view vv = g.substr(3, 2);
    return vv == "//" || (IsAllFigures(vv) && (FieldValue(vv) <= 50 || FieldValue(vv) >= 56));
}

bool LooksLikeWindGroup(std::string_view g) {
    if (g.size() != 5 || !IsMissingOr(g[0], kFigures)) return false;
    const std::string_view dd = g.substr(1, 2);
    const std::string_view ff = g.substr(3, 2);
    return (FieldIn(dd, 0, 36) || dd == "99") && (ff == "//" || IsAllFigures(ff));
}

StartKind ClassifyLandStart(std::span<const GroupText> groups, bool complete, bool strict) {
    if (groups.empty()) return Undecided(complete, StartKind::kNone);
    const std::string_view first = groups[0].repaired;
    const bool station = IsStationNumber(first);
    if (strict) {
        if (!station) return StartKind::kNone;
        // Ten figures hold the station number and iRixhVV.
        const bool runOn = first.size() == 10;
        const std::string_view cloud = runOn               ? first.substr(5)
                                       : groups.size() > 1 ? groups[1].repaired
                                                           : std::string_view();
        const std::size_t windAt = runOn ? 1 : 2;
        if (cloud.empty()) return Undecided(complete, StartKind::kNone);
        if (!LooksLikeCloudGroup(cloud)) return StartKind::kNone;
        if (HasNil(cloud)) return StartKind::kLand;
        if (groups.size() <= windAt) return Undecided(complete, StartKind::kNone);
        return LooksLikeWindGroup(groups[windAt].repaired) ? StartKind::kLand : StartKind::kNone;
    }
    if (!station && !IsCallSign(groups[0].text)) return StartKind::kNone;
    const StartKind otherwise = station ? StartKind::kLand : StartKind::kNone;
    if (station && first.size() == 10) return StartKind::kLand;
    if (groups.size() < 2) return Undecided(complete, otherwise);
    if (!LooksLikeDayHour(groups[1].repaired)) return otherwise;
    if (groups.size() < 3) return Undecided(complete, otherwise);
    return LooksLikeLatitude(groups[2].repaired) ? StartKind::kSea : otherwise;
}

StartKind ClassifySeaStart(std::span<const GroupText> groups, bool complete) {
    if (groups.empty()) return Undecided(complete, StartKind::kNone);
    if (!IsCallSign(groups[0].text)) return StartKind::kNone;
    if (groups.size() < 2) return Undecided(complete, StartKind::kNone);
    if (!LooksLikeDayHour(groups[1].repaired)) return StartKind::kNone;
    if (groups.size() < 3) return Undecided(complete, StartKind::kNone);
    return LooksLikeLatitude(groups[2].repaired) ? StartKind::kSea : StartKind::kNone;
}

}  // namespace nimbo
