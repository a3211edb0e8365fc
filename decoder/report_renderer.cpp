// Labels and value texts of the decoded groups. Lines are built in place
// (LineText), so rendering a group costs no allocation.
#include "report_renderer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <concepts>
#include <string>

#include "heading_decoders.h"
#include "line_text.h"
#include "section3_phenomena.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

// Emits a group line at the group level unless it is missing and quiet mode
// is on. Inlined: it is the end of most lines.
[[gnu::always_inline]] inline void EmitGroupLine(DecodingContext& context, std::string_view text,
                                                 bool missing) {
    if (missing && context.Quiet()) return;
    context.EmitLine(text, kLevelGroup, 0);
}

// Emits a line given in parts. One that fits a LineText (a line of a label
// and a value does) is joined there; a longer one (a long token) is joined by
// the context. These helpers are inlined into every caller, where the size
// of a literal part is known: no strlen, and its copy is a few moves.
[[gnu::always_inline]] inline void EmitViews(DecodingContext& context, int level, int slevel,
                                             std::same_as<std::string_view> auto... parts) {
    if ((parts.size() + ...) > LineText::kCapacity) {
        context.EmitLine({parts...}, level, slevel);
        return;
    }
    LineText line;
    (line.append(parts), ...);
    context.EmitLine(line, level, slevel);
}

// The parts as views: literals, std::string, std::string_view.
template <class... Parts>
[[gnu::always_inline]] inline void EmitJoined(DecodingContext& context, int level, int slevel,
                                              const Parts&... parts) {
    EmitViews(context, level, slevel, std::string_view(parts)...);
}

// A group line in parts, left out when missing in quiet mode.
template <class... Parts>
[[gnu::always_inline]] inline void EmitGroupJoined(DecodingContext& context, bool missing,
                                                   const Parts&... parts) {
    if (missing && context.Quiet()) return;
    EmitJoined(context, kLevelGroup, 0, parts...);
}

constexpr std::string_view kDegreesCelsius =
    "\xB0"
    "c";
constexpr std::string_view kRelativeHumidity = "RH (relative humidity)";

// The integer right-aligned with blanks to `width` characters (never cut).
void AppendNumber(LineText& text, long value, int width) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (long pad = width - (end - digits); pad > 0; --pad) text.push_back(' ');
    // A few digits: one by one costs less than a copy (and the compiler's
    // bounds check of a copy would follow sizes a small array never has).
    for (const char* digit = digits; digit < end; ++digit) text.push_back(*digit);
}

// A count of tenths with one decimal ("%.1f" of tenths / 10).
void AppendTenths(LineText& text, int tenths, int width = 0) {
    AppendNumber(text, tenths / 10, width - 2);
    text.push_back('.');
    text.push_back(static_cast<char>('0' + tenths % 10));
}

// A one-figure field as written, or the missing text.
void AppendFigure(LineText& text, const CodeFigure& figure) {
    if (figure) {
        text.push_back(static_cast<char>('0' + *figure));
    } else {
        text.append(kUnknown);
    }
}

// The line of a label and one figure as written.
void RenderFigureLine(std::string_view label, const CodeFigure& figure, DecodingContext& context) {
    LineText line;
    line.append(label);
    AppendFigure(line, figure);
    line.push_back('\n');
    EmitGroupLine(context, line, !figure);
}

// Sign of a temperature-like value: sn 0 is above, 1 below zero.
char SignOf(const CodeFigure& sn) { return sn == 0 ? '+' : sn == 1 ? '-' : ' '; }

// "N of genus"; a genus that is not known reads "Not visible" without the
// amount, an amount that is not known reads "0".
void AppendCloudLayer(LineText& text, const CodeFigure& amount, const CodeFigure& genus) {
    if (!genus) {
        text.append(" of Not visible");
        return;
    }
    text.push_back(static_cast<char>('0' + amount.value_or(0)));
    text.append(" of ");
    text.append(CodeText(CodeTable::T0500_C, *genus));
}

// Height of a cloud layer's base (code table 1677).
void AppendCloudHeight(LineText& text, int hshs) {
    if (hshs == 0) {
        text.append("Less than 30m");
    } else if (hshs == 89) {
        text.append("Greater than 21000m");
    } else if (hshs >= 90) {
        text.append(CodeText(CodeTable::T1600_h, hshs - 90));
    } else {
        const int metres = hshs <= 55   ? hshs * 30
                           : hshs <= 80 ? (hshs - 56) * 300 + 1800
                                        : (hshs - 80) * 1500 + 9000;
        AppendNumber(text, metres, 0);
        text.push_back('m');
    }
}

// Label, sign, TT right-aligned in 2, "." and the tenth, and the unit the
// sign gives; "??" and "?" stand for a missing part.
void RenderTemperature(std::string_view label, const TemperatureReading& figures,
                       DecodingContext& context) {
    const bool missing = !figures.whole && !figures.tenth;
    LineText line;
    line.append(label);
    if (missing) {
        line.append(kUnknown);
    } else {
        line.push_back(SignOf(figures.sign));
        if (figures.whole) {
            AppendNumber(line, *figures.whole, 2);
        } else {
            line.append("??");
        }
        line.push_back('.');
        line.push_back(figures.tenth ? static_cast<char>('0' + *figures.tenth) : '?');
        line.append(figures.sign == 9                        ? kRelativeHumidity
                    : figures.sign == 0 || figures.sign == 1 ? kDegreesCelsius
                                                             : "");
    }
    line.push_back('\n');
    EmitGroupLine(context, line, missing);
}

// Section 0.

std::string_view ReportTypeFor(ReportKind kind) {
    switch (kind) {
        case ReportKind::kLand:
            return kReportTypeLand;
        case ReportKind::kShip:
            return kReportTypeShip;
        case ReportKind::kMobile:
            return kReportTypeMobile;
    }
    return {};
}

// Two figures, or "??".
void AppendTwoFigures(LineText& text, const CodeFigure& figures) {
    if (!figures) {
        text.append("??");
        return;
    }
    text.push_back(static_cast<char>('0' + *figures / 10));
    text.push_back(static_cast<char>('0' + *figures % 10));
}

// The bulletin heading.

// Each text of the designator on a line of its own, indented under the first.
void Render(const Designator& item, DecodingContext& context) {
    constexpr std::string_view kContinuation = "                   - ";
    std::string text = "Designator:        " + item.ttaaii + "\n";
    for (const std::string_view extra : {item.dataType, item.stationKind, item.area}) {
        if (!extra.empty()) text.append(kContinuation).append(extra).append("\n");
    }
    context.EmitLine(text, kLevelHeader, 0);
}

void Render(const Sender& item, DecodingContext& context) {
    context.EmitLine("Sender Identity:   ", kLevelSender, 0);
    EmitJoined(context, kLevelSender, 1, item.cccc.empty() ? kUnknown : std::string_view(item.cccc),
               "\n");
}

void Render(const TransmittedTime& item, DecodingContext& context) {
    LineText line;
    line.append("Transmitted time:  ");
    AppendTwoFigures(line, item.day);
    line.append(MonthYearText(item.date));
    AppendTwoFigures(line, item.hour);
    line.push_back(':');
    AppendTwoFigures(line, item.minute);
    line.append(" UTC\n");
    context.EmitLine(line, kLevelHeader, 0);
}

void Render(const BulletinStatus& item, DecodingContext& context) {
    EmitJoined(context, kLevelHeader, 0,
               "Reported status:   ", item.bbb.empty() ? "None" : std::string_view(item.bbb),
               item.kind.empty() ? "" : " ", item.kind, "\n");
}

void Render(const ReportTime& part, DecodingContext& context) {
    EmitJoined(context, kLevelHeader, 0, "Reporting station: ", ReportTypeFor(part.kind), "\n");
    LineText line;
    line.append("Observation time:  ");
    AppendTwoFigures(line, part.day);
    line.append(MonthYearText(part.date));
    AppendTwoFigures(line, part.hour);
    line.append(":xx UTC\n");
    context.EmitLine(line, kLevelHeader, 0);
}

// A land station's identity left-aligned in 11 characters and a blank, then
// its region; a call sign left-aligned in 5 characters.
void Render(const StationIdentity& part, DecodingContext& context) {
    context.EmitLine("Station Identity:  ", kLevelStation, 0);
    if (part.land) {
        const std::string_view shown = part.identity.View().substr(0, 15);
        constexpr std::string_view kBlanks = "            ";
        EmitJoined(context, kLevelStation, 1, shown,
                   kBlanks.substr(0, shown.size() < 11 ? 12 - shown.size() : 1));
        EmitJoined(context, kLevelStation, 0, part.region, "\n");
        return;
    }
    LineText line;
    line.append(part.identity.View());
    for (std::size_t n = part.identity.View().size(); n < 5; ++n) line.push_back(' ');
    line.push_back('\n');
    context.EmitLine(line, kLevelStation, 1);
}

void Render(const StationReference& part, DecodingContext& context) {
    EmitJoined(context, kLevelStation, 0, "Station Reference: ", part.name, " [", part.country,
               "]\n");
}

void Render(const CountryReference& part, DecodingContext& context) {
    EmitJoined(context, kLevelStation, 0, "Country Reference: ", part.country, "\n");
}

// Degrees and tenth as written, "?" for a figure that cannot be read.
void AppendCoordinate(LineText& text, const Coordinate& coordinate) {
    if (coordinate.unreported) {
        text.append("Unknown ");
        return;
    }
    if (coordinate.whole) {
        char written[4] = {};
        int value = *coordinate.whole;
        const std::size_t width = std::min(coordinate.width, sizeof written);
        for (std::size_t i = width; i-- > 0; value /= 10)
            written[i] = static_cast<char>('0' + value % 10);
        for (std::size_t i = 0; i < width; ++i) text.push_back(written[i]);
    } else {
        for (std::size_t i = 0; i < coordinate.width; ++i) text.push_back('?');
    }
    text.push_back('.');
    text.push_back(coordinate.tenth ? static_cast<char>('0' + *coordinate.tenth) : '?');
}

// The position line in two parts: the latitude, then the longitude and the
// line end.
void Render(const Latitude& part, DecodingContext& context) {
    if (context.Quiet() && part.figures.unreported) return;
    LineText line;
    line.append("Position:          Lt=");
    AppendCoordinate(line, part.figures);
    line.append("\xB0");
    context.EmitLine(line, kLevelHeader, 0);
}

void Render(const Longitude& part, DecodingContext& context) {
    if (context.Quiet() && part.figures.unreported) return;
    LineText line;
    line.append(" Lg=");
    AppendCoordinate(line, part.figures);
    line.append("\xB0\n");
    context.EmitLine(line, kLevelHeader, 0);
}

// MMM the first three figures, ULa the fourth, ULo the fifth.
void Render(const MarsdenSquare& part, DecodingContext& context) {
    const std::string_view group = part.group.View();
    EmitJoined(context, kLevelGroup, 0, "Marsden square:    ", group.substr(0, 3), " ",
               group.substr(3, 1), "Lt ", group.substr(4, 1), "Lg\n");
}

// im (code table 1845): 1 to 4 metres, 5 to 8 feet, by confidence class.
void Render(const MobileAltitude& part, DecodingContext& context) {
    LineText line;
    line.append("Mobile altitude:   ");
    AppendNumber(line, part.altitude, 0);
    line.push_back(part.im >= '1' && part.im <= '4'   ? 'm'
                   : part.im >= '5' && part.im <= '8' ? 'f'
                                                      : ' ');
    line.push_back('\n');
    context.EmitLine(line, kLevelGroup, 0);
}

// Section 1.

// A code table's text for the figure, or the given missing text.
std::string_view TableText(CodeTable table, const CodeFigure& figure,
                           std::string_view missingText = kUnknown) {
    return figure ? CodeText(table, *figure) : missingText;
}

// The visibility line's text of a VV figure (code table 4377).
void AppendVisibility(LineText& text, const Visibility& row) {
    switch (row.form) {
        case VisibilityForm::kTenthsOfKm:
            AppendTenths(text, row.metres / 100, 3);
            text.append("km");
            break;
        case VisibilityForm::kKilometres:
            AppendNumber(text, row.metres / 1000, 3);
            text.append("km");
            break;
        default:
            text.append(row.text);
            break;
    }
}

// The operation lines belong to the report's heading; the section's
// separator follows them.
void Render(const CloudAndVisibility& group, DecodingContext& context) {
    const bool missing = group.ix == '/';
    const std::string_view operation = missing          ? kUnknown
                                       : group.ix < '4' ? "Manned station    "
                                                        : "Automated station ";
    const std::string_view weather = !group.weatherAnnounced ? "not send"
                                     : group.ix == '7'       ? "Sent using new 4680/4531 table code"
                                                       : "Sent using old 4677/4561 table code";
    if (!(missing && context.Quiet())) {
        EmitJoined(context, kLevelHeader, 0, "Operation type:    ", operation, "\n");
        EmitJoined(context, kLevelHeader, 0, "Present weather:   ", weather, "\n");
    }
    context.EmitSeparator(kSeparatorSection);
    EmitGroupJoined(context, !group.lowestCloud,
                    "Lowest cloud seen: ", TableText(CodeTable::T1600_h, group.lowestCloud), "\n");
    const Visibility& row = VisibilityOf(group.visibility.value_or(-1));
    const bool visibilityMissing = row.form == VisibilityForm::kUnused;
    LineText line;
    line.append("Visibility:        ");
    if (visibilityMissing) {
        line.append(kUnknown);
    } else {
        AppendVisibility(line, row);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, visibilityMissing);
}

void Render(const NilReport&, DecodingContext& context) {
    context.EmitSeparator(kSeparatorSection);
    context.EmitLine("No data reported\n", kLevelGroup, 0);
}

// A direction outside the table shows as unknown.
void RenderWindDirection(const CodeFigure& dd, DecodingContext& context) {
    LineText line;
    line.append("Wind direction:    ");
    if (!dd || (*dd > 36 && *dd != 99)) {
        line.append(kUnknown);
    } else if (*dd == 99) {
        line.append("variable direction");
    } else if (*dd == 0) {
        line.append("calm");
    } else {
        AppendNumber(line, *dd * 10L, 3);
        line.append("\xB0 (-5/+4)");
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !dd || (*dd > 36 && *dd != 99));
}

// Speed right-aligned in `width`, then the unit.
void RenderWindSpeed(const CodeFigure& speed, int width, std::string_view unit,
                     DecodingContext& context) {
    LineText line;
    line.append("Wind speed:        ");
    if (speed) {
        AppendNumber(line, *speed, width);
        line.append(unit);
    } else {
        line.append(kUnknown);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !speed);
}

void Render(const Wind& group, DecodingContext& context) {
    EmitGroupJoined(context, !group.cover,
                    "Total cloud cover: ", TableText(CodeTable::T2700_N, group.cover), "\n");
    RenderWindDirection(group.direction, context);
    RenderWindSpeed(group.speed, 2, group.unit, context);
}

void Render(const HighWindSpeed& group, DecodingContext& context) {
    RenderWindSpeed(group.speed, 3, group.unit, context);
}

void Render(const AirTemperature& group, DecodingContext& context) {
    RenderTemperature(group.dewPoint ? "Dew Point:         " : "Temperature:       ", group.figures,
                      context);
}

void Render(const RelativeHumidity& group, DecodingContext& context) {
    LineText line;
    line.append("Relative humidity: ");
    if (group.percent) {
        AppendNumber(line, *group.percent, 0);
        line.push_back('%');
    } else {
        line.append(kUnknown);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.percent);
}

// Hectopascals with the thousand restored for figures below 500; "????" and
// "?" for a missing part.
void Render(const PressureReading& group, DecodingContext& context) {
    const bool missing = !group.hundreds && !group.tenth;
    LineText line;
    line.append(group.seaLevel ? "Sea Lvl Pressure:  " : "Station Pressure:  ");
    if (missing) {
        line.append(kUnknown);
        line.push_back('\n');
        EmitGroupLine(context, line, true);
        return;
    }
    if (group.hundreds) {
        const int hundreds = *group.hundreds;
        line.push_back(hundreds < 500 ? '1' : ' ');
        const char written[] = {static_cast<char>('0' + hundreds / 100),
                                static_cast<char>('0' + hundreds / 10 % 10),
                                static_cast<char>('0' + hundreds % 10)};
        line.append(std::string_view(written, sizeof written));
    } else {
        line.append("????");
    }
    line.push_back('.');
    line.push_back(group.tenth ? static_cast<char>('0' + *group.tenth) : '?');
    line.append("hPa \n");
    EmitGroupLine(context, line, false);
}

void Render(const Geopotential& group, DecodingContext& context) {
    LineText line;
    line.append("Geopotential:      ").append(group.surface).append(" hPa, ");
    if (group.height) {
        AppendNumber(line, *group.height, 0);
        line.append(" gpm");
    } else {
        line.append(kUnknown);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.height);
}

void Render(const PressureTendency& group, DecodingContext& context) {
    const bool missing = !group.whole && !group.tenth;
    LineText line;
    line.append("Pressure Tendancy: ");
    if (missing) {
        line.append("Unknown");
    } else {
        if (group.whole) {
            AppendNumber(line, *group.whole, 2);
        } else {
            line.append("??");
        }
        line.push_back('.');
        line.push_back(group.tenth ? static_cast<char>('0' + *group.tenth) : '?');
    }
    line.append("hPa ");
    if (group.characteristic) line.append(CodeText(CodeTable::T0200_a, *group.characteristic));
    line.push_back('\n');
    EmitGroupLine(context, line, missing);
}

// A period that was not reported, or has no figure in the table (0), is said
// so, not guessed.
void Render(const Precipitation& group, DecodingContext& context) {
    LineText line;
    line.append("Rain fall:         ");
    if (!group.amount) {
        line.append("Unknown");
    } else if (const int n = *group.amount; n <= 989) {
        AppendNumber(line, n, 3);
        line.append(n == 989 ? "mm or more" : "mm");
    } else if (n == 990) {
        line.append("trace");
    } else {
        line.append("0.");
        AppendNumber(line, n - 990, 0);
        line.append("mm");
    }
    line.push_back(' ');
    const std::string_view period =
        group.period ? PrecipitationPeriodOf(*group.period).text : std::string_view();
    if (period.empty()) {
        line.append("(period not reported)");
    } else {
        line.append("over ").append(period);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.amount);
}

// W2 is named after W1 when it differs.
void Render(const Weather& group, DecodingContext& context) {
    EmitGroupJoined(context, !group.present, "Present weather:   ",
                    TableText(group.presentTable, group.present, kUnobserved), "\n");
    const bool second = group.past2 && group.past2 != group.past1;
    EmitGroupJoined(context, !group.past1 && !second,
                    "Past weather:      ", TableText(group.pastTable, group.past1, kUnobserved),
                    second ? ", " : "", second ? CodeText(group.pastTable, *group.past2) : "",
                    "\n");
}

void Render(const Clouds& group, DecodingContext& context) {
    LineText amount;
    amount.append("Clouds coverage:   ");
    AppendFigure(amount, group.amount);
    amount.push_back('\n');
    EmitGroupLine(context, amount, !group.amount);
    EmitGroupJoined(context, !group.low,
                    "Low cloud type:    ", TableText(CodeTable::T0513_CL, group.low, kUnobserved),
                    "\n");
    EmitGroupJoined(context, !group.middle, "Medium cloud type: ",
                    TableText(CodeTable::T0515_CM, group.middle, kUnobserved), "\n");
    EmitGroupJoined(context, !group.high,
                    "High cloud type:   ", TableText(CodeTable::T0509_CH, group.high, kUnobserved),
                    "\n");
}

// The line ends with a line of its own at the sender level, which names an
// impossible time.
void Render(const ExactTime& group, DecodingContext& context) {
    if (group.unreported) {
        if (context.Quiet()) return;
        EmitJoined(context, kLevelGroup, 0, "Observation time:  ", kUnknown);
        context.EmitLine("\n", kLevelSender, 0);
        return;
    }
    LineText line;
    line.append("Observation time:  ");
    AppendTwoFigures(line, group.hour);
    line.push_back(':');
    AppendTwoFigures(line, group.minute);
    context.EmitLine(line, kLevelGroup, 0);
    const bool impossible =
        (group.hour && *group.hour >= 24) || (group.minute && *group.minute >= 60);
    context.EmitLine(impossible ? " (Encoding Error)\n" : "\n", kLevelSender, 0);
}

// Section 2.

void Render(const ShipMovement& group, DecodingContext& context) {
    EmitGroupJoined(context, !group.direction,
                    "Ship direction:    ", TableText(CodeTable::T0700_D, group.direction), "\n");
    EmitGroupJoined(context, !group.speed,
                    "Ship aver. speed:  ", TableText(CodeTable::T4451_vs, group.speed), "\n");
}

// "TT.T" with "??" and "?" for a missing part.
void AppendWholeAndTenth(LineText& text, const CodeFigure& whole, const CodeFigure& tenth) {
    if (whole) {
        AppendNumber(text, *whole, 2);
    } else {
        text.append("??");
    }
    text.push_back('.');
    text.push_back(tenth ? static_cast<char>('0' + *tenth) : '?');
}

void Render(const MarineTemperature& group, DecodingContext& context) {
    const TemperatureReading& figures = group.figures;
    const bool missing = !figures.whole && !figures.tenth;
    LineText line;
    line.append(group.wetBulb ? "Wet bulb Temp.:    " : "Sea surface Temp.: ");
    if (missing) {
        line.append(kUnknown);
    } else {
        line.push_back(group.meaning.sign);
        AppendWholeAndTenth(line, figures.whole, figures.tenth);
        line.append(kDegreesCelsius).append(group.meaning.method);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, missing);
}

// Name and suffix of each wave system, in the order of WaveSystem.
struct WaveLabels {
    std::string_view name;
    std::string_view suffix;
};
constexpr WaveLabels kWaveLabels[] = {
    {"Sea Waves ", "(instrumented)"},
    {"Sea Waves ", ""},
    {"Sweels N\xB0"
     "1",
     ""},
    {"Sweels N\xB0"
     "2",
     ""},
};

void Render(const Waves& group, DecodingContext& context) {
    const WaveLabels& labels = kWaveLabels[static_cast<int>(group.system)];
    LineText period;
    period.append(labels.name).append(" period: ");
    if (group.period) {
        AppendNumber(period, *group.period, 2);
        period.append("s ");
    } else {
        period.append(kUnobserved);
    }
    period.append(labels.suffix).push_back('\n');
    EmitGroupLine(context, period, !group.period);
    LineText height;
    height.append(labels.name).append(" height: ");
    if (group.height) {
        AppendTenths(height, *group.height * 5, 4);  // half metres
        height.append("m ");
    } else {
        height.append(kUnobserved);
    }
    height.append(labels.suffix).push_back('\n');
    EmitGroupLine(context, height, !group.height);
}

// The second direction only when given.
void Render(const SwellDirections& group, DecodingContext& context) {
    LineText first;
    first.append(
        "Swell direct. N\xB0"
        "1: ");
    if (group.first) {
        AppendNumber(first, *group.first * 10L, 2);
        first.append("\xB0");
    } else {
        first.append(kUnobserved);
    }
    first.push_back('\n');
    EmitGroupLine(context, first, !group.first);
    if (!group.second) return;
    LineText second;
    second.append(
        "Swell direct. N\xB0"
        "2: ");
    AppendNumber(second, *group.second * 10L, 2);
    second.append("\xB0\n");
    EmitGroupLine(context, second, false);
}

void Render(const IceAccretion& group, DecodingContext& context) {
    EmitGroupJoined(context, !group.cause,
                    "Accretion cause:   ", TableText(CodeTable::T1751_Is, group.cause), "\n");
    LineText thickness;
    thickness.append("Ice thickness:     ");
    if (group.thickness) {
        AppendNumber(thickness, *group.thickness, 0);
        thickness.append("cm");
    } else {
        thickness.append(kUnknown);
    }
    thickness.push_back('\n');
    EmitGroupLine(context, thickness, !group.thickness);
    EmitGroupJoined(context, !group.rate,
                    "Accretion rate:    ", TableText(CodeTable::T3551_Rs, group.rate), "\n");
}

void Render(const WaveHeight& group, DecodingContext& context) {
    const bool missing = !group.whole && !group.tenth;
    LineText line;
    line.append("Wave heights:      ");
    if (missing) {
        line.append(kUnknown);
    } else {
        AppendWholeAndTenth(line, group.whole, group.tenth);
        line.push_back('m');
    }
    line.push_back('\n');
    EmitGroupLine(context, line, missing);
}

void Render(const IcingText& group, DecodingContext& context) {
    EmitJoined(context, kLevelGroup, 0, "ICING information: ", group.token, "\n");
}

void Render(const SeaIce& group, DecodingContext& context) {
    static constexpr std::array<std::string_view, 5> kLabels = {
        "ICE concentration: ", "ICE devel. stage : ", "ICE land origin:   ",
        "ICE edge bearing:  ", "ICE situat. trend: ",
    };
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        RenderFigureLine(kLabels[i], group.figures[i], context);
    }
}

void Render(const IceText& group, DecodingContext& context) {
    EmitJoined(context, kLevelGroup, 0, "ICE information:   ", group.token, "\n");
}

// Section 3.

void Render(const LocalInformation& group, DecodingContext& context) {
    EmitJoined(context, kLevelGroup, 0, "Local information: ", group.group.View(), "\n");
}

void Render(const ExtremeTemperature& group, DecodingContext& context) {
    RenderTemperature(group.maximum ? "Max. temperature : " : "Min. temperature : ", group.figures,
                      context);
}

void Render(const GroundState& group, DecodingContext& context) {
    const bool missing = !group.state && !group.degrees;
    const std::string_view state = group.state ? CodeText(CodeTable::T0901_E, *group.state) : "";
    EmitGroupJoined(context, missing, "State of ground:   ", state, "\n");
    LineText line;
    line.append("Min. ground temp.: ").push_back(SignOf(group.sign));
    if (group.degrees) {
        AppendNumber(line, *group.degrees, 2);
    } else {
        line.append(kUnknown);
    }
    if (group.sign == 0 || group.sign == 1) line.append(kDegreesCelsius);
    line.append(" (regionally data)\n");
    EmitGroupLine(context, line, missing);
}

// A depth of 997 or more (less than half a centimetre, or not measurable)
// shows no depth.
void Render(const SnowCover& group, DecodingContext& context) {
    LineText line;
    line.append("Snow depth, cover: ");
    if (!group.depth) {
        line.append("???cm");
    } else if (*group.depth < 997) {
        const int cm = *group.depth;
        const char written[] = {static_cast<char>('0' + cm / 100),
                                static_cast<char>('0' + cm / 10 % 10),
                                static_cast<char>('0' + cm % 10), 'c', 'm'};
        line.append(std::string_view(written, sizeof written));
    }
    if (IsFigure(group.state)) {
        line.push_back(' ');
        line.append(CodeText(CodeTable::T0975_Eprime, group.state - '0'));
    }
    line.push_back('\n');
    EmitGroupLine(context, line, group.state == '/' && !group.depth);
}

// A number of tenths and its unit, or the missing text; left out in quiet
// mode when missing.
void RenderTenthsLine(std::string_view label, const CodeFigure& tenths, std::string_view unit,
                      DecodingContext& context, bool quietSuppressible = true) {
    LineText line;
    line.append(label);
    if (tenths) {
        AppendTenths(line, *tenths);
        line.append(unit);
    } else {
        line.append(kUnknown);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, quietSuppressible && !tenths);
}

void Render(const Evaporation& group, DecodingContext& context) {
    RenderTenthsLine("Evaporation amount:", group.tenths, "mm", context);
    const std::string_view instrument =
        group.instrument ? CodeText(CodeTable::T1806_iE, *group.instrument) : kUnknown;
    EmitGroupJoined(context, !group.instrument, "Instrument Type:   ", instrument, "\n");
}

void Render(const TemperatureChange& group, DecodingContext& context) {
    LineText line;
    line.append("Temperat. change:").push_back(SignOf(group.sign));
    AppendFigure(line, group.change);
    line.append(group.sign == 0 || group.sign == 1 ? kDegreesCelsius
                : group.sign == 9                  ? kRelativeHumidity
                                                   : "");
    if (group.period) {
        line.append(" in ").push_back(static_cast<char>('0' + *group.period));
        line.push_back('h');
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.change);
}

// Shown even when missing: the group announces the radiation groups.
void Render(const Sunshine& group, DecodingContext& context) {
    RenderTenthsLine(group.lastHour ? "Sun (last hour):   " : "Sun (last 24h):    ", group.tenths,
                     "h", context, false);
}

// Radiation types 7 and 8 have their text only when a 5540x or 5550x group
// announced them.
void Render(const Radiation& group, DecodingContext& context) {
    std::string_view type = kUnknown;
    if (group.announced) {
        type = RadiationTypeText(*group.type);
    } else if (group.type) {
        type = *group.type <= 6 ? RadiationTypeText(*group.type) : "";
    }
    EmitGroupJoined(context, !group.type, "Radiation field Id:", type, "\n");
    LineText line;
    line.append("Radiation amount:  ");
    if (group.amount) {
        AppendNumber(line, *group.amount, 4);
        line.append(group.daily ? "J/cm2" : "kJ/m2");
    } else {
        line.append(kUnknown);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.amount);
}

void Render(const CloudDrift& group, DecodingContext& context) {
    static constexpr std::string_view kLabels[] = {
        "Low  cloud drift:       ", "Med. cloud drift:       ", "High cloud drift:       "};
    for (std::size_t i = 0; i < group.directions.size(); ++i) {
        RenderFigureLine(kLabels[i], group.directions[i], context);
    }
}

void Render(const CloudDirection& group, DecodingContext& context) {
    const std::string_view genus =
        group.genus ? CodeText(CodeTable::T0500_C, *group.genus) : kUnknown;
    EmitGroupJoined(context, !group.genus, "Cloud type:        ", genus, "\n");
    RenderFigureLine("- Azimuth:         ", group.azimuth, context);
    RenderFigureLine("- Elevation angle: ", group.elevation, context);
}

void Render(const PressureChange& group, DecodingContext& context) {
    LineText line;
    line.append("Pres. chang. (24h):");
    if (group.tenths) {
        line.push_back(group.rise ? '+' : '-');
        AppendTenths(line, *group.tenths);
        line.append("hPa ");
    } else {
        line.append(kUnknown);
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.tenths);
}

void Render(const Precipitation24h& group, DecodingContext& context) {
    LineText line;
    line.append("24h precipitation: ");
    if (!group.tenths) {
        line.append(kUnknown);
    } else if (*group.tenths == 9999) {
        line.append("trace");
    } else {
        AppendTenths(line, *group.tenths, 5);
        line.append("mm");
    }
    line.push_back('\n');
    EmitGroupLine(context, line, !group.tenths);
}

void Render(const CloudLayer& group, DecodingContext& context) {
    LineText cover;
    cover.append("Cloud cover layer: ");
    AppendCloudLayer(cover, group.amount, group.genus);
    cover.push_back('\n');
    context.EmitLine(cover, kLevelGroup, 0);
    LineText height;
    height.append("Cloud base height: ");
    if (group.height) {
        AppendCloudHeight(height, *group.height);
    } else {
        height.append(kUnknown);
    }
    height.push_back('\n');
    EmitGroupLine(context, height, !group.height);
}

void Render(const SpecialPhenomenon& group, DecodingContext& context) {
    EmitJoined(context, kLevelGroup, 0,
               "Special Phenomena: ", SpecialPhenomenonText(group.group.View(), group.windUnit),
               "\n");
}

}  // namespace

void RenderLines(const HeadingItem& item, DecodingContext& context) {
    std::visit([&context](const auto& decoded) { Render(decoded, context); }, item);
}

void RenderLines(const Section0Part& part, DecodingContext& context) {
    std::visit([&context](const auto& decoded) { Render(decoded, context); }, part);
}

void RenderLines(const Section1Group& group, DecodingContext& context) {
    std::visit([&context](const auto& decoded) { Render(decoded, context); }, group);
}

void RenderLines(const Section2Group& group, DecodingContext& context) {
    std::visit([&context](const auto& decoded) { Render(decoded, context); }, group);
}

void RenderLines(const Section3Group& group, DecodingContext& context) {
    std::visit([&context](const auto& decoded) { Render(decoded, context); }, group);
}

void RenderLines(const CloudBelowStation& layer, DecodingContext& context) {
    LineText cover;
    cover.append("Cloud cover layer: ");
    AppendCloudLayer(cover, layer.amount, layer.genus);
    cover.push_back('\n');
    context.EmitLine(cover, kLevelGroup, 0);

    LineText height;
    height.append("Cloud upper height:");
    if (layer.upperSurface) {
        AppendNumber(height, *layer.upperSurface * 100L, 2);
        height.push_back('m');
    } else {
        height.append(kUnknown);
    }
    height.push_back('\n');
    EmitGroupLine(context, height, !layer.upperSurface);

    const std::string_view top = layer.top ? CodeText(CodeTable::T0552_Ct, *layer.top) : kUnknown;
    EmitGroupJoined(context, !layer.top, "Top of clouds    :", top, "\n");
}

// Every line ends with its line feed, so that what follows in the log and in
// the client's window starts on a line of its own.
void RenderNationalDataHeading(DecodingContext& context) {
    context.EmitSeparator(kSeparatorSection);
    context.EmitLine("National data:    \n", kLevelGroup, 0);
}

void RenderNationalGroup(std::string_view group, DecodingContext& context) {
    EmitJoined(context, kLevelGroup, 0, " ", group, "\n");
}

}  // namespace nimbo
