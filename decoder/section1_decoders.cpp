// Section 1 decoders. Invalid fields never make a group malformed; they only
// mark lines as missing, which quiet mode leaves out.
#include "section1_decoders.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "group_fields.h"
#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {
namespace {

// Text of a field looked up in a table, or the missing text.
struct FieldText {
    std::string_view text;
    bool missing = false;
};

FieldText TableField(std::string_view field, CodeTable table, std::string_view missingText) {
    if (!IsValidField(field)) return {missingText, true};
    return {CodeText(table, FieldValue(field)), false};
}

// The visibility line's text of a VV figure (code table 4377).
std::string VisibilityText(const Visibility& row) {
    switch (row.form) {
        case VisibilityForm::kTenthsOfKm:
            return TenthsInWidth(row.metres / 100, 3) + "km";
        case VisibilityForm::kKilometres:
            return NumberInWidth(row.metres / 1000, 3) + "km";
        default:
            return std::string(row.text);
    }
}

void EmitOperationLines(char ix, DecodingContext& context) {
    const bool missing = ix == '/';
    const std::string_view operation = missing    ? kUnknown
                                       : ix < '4' ? "Manned station    "
                                                  : "Automated station ";
    const std::string_view weather = !context.State().weatherGroupAnnounced ? "not send"
                                     : ix == '7' ? "Sent using new 4680/4531 table code"
                                                 : "Sent using old 4677/4561 table code";
    if (!(missing && context.Quiet())) {
        context.EmitLine({"Operation type:    ", operation, "\n"}, kLevelHeader, 0);
        context.EmitLine({"Present weather:   ", weather, "\n"}, kLevelHeader, 0);
    }
}

// Amount and period of a 6RRRtR group (code tables 3590 and 4019).
PrecipitationAmount PrecipitationRecord(std::string_view rrr, std::string_view tr) {
    PrecipitationAmount record;
    if (IsValidField(rrr)) {
        const int n = FieldValue(rrr);
        record.amountCode = n;
        record.trace = n == 990;
        record.amountMm = n <= 989 ? n : n == 990 ? 0.0 : (n - 990) / 10.0;
    }
    if (IsValidField(tr)) {
        record.periodCode = FieldValue(tr);
        if (record.periodCode != 0)
            record.periodHours = PrecipitationPeriodOf(*record.periodCode).hours;
    }
    return record;
}

std::optional<double> ValueOf(float value) {
    if (value == kNoValue) return std::nullopt;
    return RoundedTenths(value);
}

bool MayRaiseForStation(const DecodingState& state) {
    return PositionKnown(state.latitude, state.longitude);
}

// The sign figure sn of a temperature group: 0 or 1, or "/" when missing.
bool IsTemperatureSign(char sn) { return sn == '0' || sn == '1' || sn == '/'; }

}  // namespace

namespace {

// VV of iRixhVV: its line and record; flagged for the unused figures 51 to 55.
Outcome DecodeVisibility(std::string_view vv, DecodingContext& context) {
    const Visibility& row = VisibilityOf(IsValidField(vv) ? FieldValue(vv) : -1);
    const bool unused = IsValidField(vv) && row.form == VisibilityForm::kUnused;
    const bool missing = row.form == VisibilityForm::kUnused;
    const std::string visibility = missing ? std::string(kUnknown) : VisibilityText(row);
    if (!missing) {
        WeatherObservation& record = context.Observation();
        record.visibilityCode = FieldValue(vv);
        record.visibilityM = row.metres;
        record.visibilityLessThan = row.lessThan;
    }
    EmitGroupLine(context, {"Visibility:        ", visibility, "\n"}, missing);
    return unused ? Outcome::kFlagged : Outcome::kAccepted;
}

}  // namespace

// iRixhVV: operation type, weather group announcement, cloud base, visibility.
Outcome DecodeCloudAndVisibility(std::string_view group, DecodingContext& context) {
    if (group.find("NIL") != std::string_view::npos ||
        group.find("nil") != std::string_view::npos) {
        context.Observation().nil = true;
        context.EmitSeparator(kSeparatorSection);
        context.EmitLine("No data reported\n", kLevelGroup, 0);
        return Outcome::kAccepted;
    }
    if (group.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    state.weatherGroupAnnounced = false;
    state.windGroupSeen = false;
    state.presentWeather = CodeTable::T4677_ww;
    state.pastWeather = CodeTable::T4561_W;
    const char ix = group[1];
    if (ix == '1' || ix == '4' || ix == '7') state.weatherGroupAnnounced = true;
    state.weatherGroupOmitted = ix == '2' || ix == '3' || ix == '5' || ix == '6';
    if (ix == '7') {
        state.presentWeather = CodeTable::T4680_wawa;
        state.pastWeather = CodeTable::T4531_Wa;
    }
    EmitOperationLines(ix, context);
    context.EmitSeparator(kSeparatorSection);

    const FieldText h = TableField(group.substr(2, 1), CodeTable::T1600_h, kUnknown);
    EmitGroupLine(context, {"Lowest cloud seen: ", h.text, "\n"}, h.missing);

    context.Observation().automaticWeatherCodes = ix == '7';
    // The group is decoded, and a visibility figure outside the table named.
    return DecodeVisibility(group.substr(3, 2), context);
}

namespace {

// dd of Nddff: its line and record; false for a figure outside the table
// (01 to 36 tens of degrees, 00 calm, 99 variable), which shows as unknown.
bool DecodeWindDirection(std::string_view dd, DecodingContext& context) {
    const bool invalid = IsValidField(dd) && FieldValue(dd) > 36 && FieldValue(dd) != 99;
    const bool missing = !IsValidField(dd) || invalid;
    std::string direction(kUnknown);
    if (!missing) {
        WeatherObservation& record = context.Observation();
        const int value = FieldValue(dd);
        record.windDirectionCode = value;
        record.windCalm = value == 0;
        record.windVariable = value == 99;
        if (value >= 1 && value <= 36) record.windDirection = value * 10;
        direction = value == 99  ? "variable direction"
                    : value == 0 ? "calm"
                                 : NumberInWidth(value * 10, 3) + "\xB0 (-5/+4)";
    }
    EmitGroupLine(context, {"Wind direction:    ", direction, "\n"}, missing);
    return !invalid;
}

}  // namespace

// Nddff: total cloud cover, wind direction and speed.
Outcome DecodeWind(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    const FieldText n = TableField(group.substr(0, 1), CodeTable::T2700_N, kUnknown);
    EmitGroupLine(context, {"Total cloud cover: ", n.text, "\n"}, n.missing);
    WeatherObservation& record = context.Observation();
    if (!n.missing) {
        record.cloudCoverCode = FieldValue(group.substr(0, 1));
        if (*record.cloudCoverCode <= 8) record.cloudCoverOktas = record.cloudCoverCode;
    }

    const std::string_view dd = group.substr(1, 2);
    const bool ddValid = DecodeWindDirection(dd, context);
    const bool ddMissing = !IsValidField(dd);

    const std::string_view ff = group.substr(3, 2);
    const bool ffMissing = !IsValidField(ff);
    const std::string figures = ffMissing ? std::string() : NumberInWidth(FieldValue(ff), 2);
    EmitGroupLine(context,
                  {"Wind speed:        ", ffMissing ? kUnknown : figures,
                   ffMissing ? "" : state.windUnit, "\n"},
                  ffMissing);
    if (!ffMissing) record.windSpeed = FieldValue(ff);
    state.windGroupSeen = true;
    // A direction outside the table, or calm with a wind speed, is named.
    const bool calmWithWind = !ddMissing && FieldValue(dd) == 0 && !ffMissing && FieldValue(ff) > 0;
    return !ddValid || calmWithWind ? Outcome::kFlagged : Outcome::kAccepted;
}

// 00fff: wind speed of 99 units or more.
Outcome DecodeHighWindSpeed(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (!IsValidField(group.substr(0, 2))) return UnexpectedGroup(group);
    const std::string_view fff = group.substr(2, 3);
    const bool missing = !IsValidField(fff);
    const std::string speed =
        missing ? std::string(kUnknown)
                : NumberInWidth(FieldValue(fff), 3) + std::string(context.State().windUnit);
    EmitGroupLine(context, {"Wind speed:        ", speed, "\n"}, missing);
    if (!missing) context.Observation().windSpeed = FieldValue(fff);
    return Outcome::kAccepted;
}

// 1snTTT: air temperature.
Outcome DecodeAirTemperature(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '1') return UnexpectedGroup(group);
    if (!IsTemperatureSign(group[1])) return Outcome::kMalformed;
    const FormattedValue line = FormatTemperature("Temperature:       ", group);
    DecodingState& state = context.State();
    state.lastTemperature = line.value;
    context.Observation().airTemperature = ValueOf(line.value);
    EmitGroupLine(context, line.text, line.missing);
    if (MayRaiseForStation(state) && std::trunc(std::fabs(line.value)) < 100.0f) {
        context.Events().Temperature(line.value, 0);
    }
    return Outcome::kAccepted;
}

// 2snTdTdTd: dew point, or 29UUU: relative humidity in per cent.
Outcome DecodeDewPoint(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '2') return UnexpectedGroup(group);
    if (!IsTemperatureSign(group[1]) && group[1] != '9') return Outcome::kMalformed;
    if (group[1] == '9') {
        const std::string_view uuu = group.substr(2, 3);
        const bool missing = !IsValidField(uuu);
        const std::string humidity =
            missing ? std::string(kUnknown) : std::to_string(FieldValue(uuu)) + "%";
        context.State().lastTemperature = kNoValue;
        if (!missing) context.Observation().relativeHumidity = FieldValue(uuu);
        EmitGroupLine(context, {"Relative humidity: ", humidity, "\n"}, missing);
        return Outcome::kAccepted;
    }
    const FormattedValue line = FormatTemperature("Dew Point:         ", group);
    context.State().lastTemperature = line.value;
    context.Observation().dewPoint = ValueOf(line.value);
    EmitGroupLine(context, line.text, line.missing);
    return Outcome::kAccepted;
}

namespace {

Outcome DecodePressureGroup(std::string_view group, char first, std::string_view label, int sea,
                            DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != first) return UnexpectedGroup(group);
    const FormattedValue line = FormatPressure(label, group);
    DecodingState& state = context.State();
    state.lastPressure = line.value;
    (sea == 0 ? context.Observation().stationPressure : context.Observation().seaLevelPressure) =
        ValueOf(line.value);
    EmitGroupLine(context, line.text, line.missing);
    if (MayRaiseForStation(state) && line.value < 1200.0f)
        context.Events().Pressure(line.value, sea);
    return Outcome::kAccepted;
}

}  // namespace

// 3PoPoPoPo: station pressure.
Outcome DecodeStationPressure(std::string_view group, DecodingContext& context) {
    return DecodePressureGroup(group, '3', "Station Pressure:  ", 0, context);
}

namespace {

// Standard isobaric surface of 4a3hhh (code table 0264) and the height that
// the three figures hhh stand for, their thousands figure left out.
struct StandardSurface {
    char a3;
    std::string_view name;
    int (*height)(int hhh);
};

constexpr std::array<StandardSurface, 5> kStandardSurfaces = {{
    {'1', "1000", [](int hhh) { return hhh >= 500 ? -(hhh - 500) : hhh; }},
    {'2', "925", [](int hhh) { return hhh < 300 ? 1000 + hhh : hhh; }},
    {'5', "500", [](int hhh) { return 5000 + hhh; }},
    {'7', "700", [](int hhh) { return hhh < 500 ? 3000 + hhh : 2000 + hhh; }},
    {'8', "850", [](int hhh) { return 1000 + hhh; }},
}};

const StandardSurface* FindStandardSurface(char a3) {
    for (const StandardSurface& surface : kStandardSurfaces) {
        if (surface.a3 == a3) return &surface;
    }
    return nullptr;
}

// 4a3hhh: a high station's geopotential of a standard surface, sent in place
// of the sea-level pressure; it is no pressure, so no Pressure event.
void DecodeGeopotential(std::string_view group, const StandardSurface& surface,
                        DecodingContext& context) {
    const std::string_view hhh = group.substr(2, 3);
    const bool missing = !IsValidField(hhh);
    WeatherObservation& record = context.Observation();
    record.geopotentialSurface = std::stoi(std::string(surface.name));
    if (!missing) record.geopotentialHeight = surface.height(FieldValue(hhh));
    const std::string height =
        missing ? std::string(kUnknown) : std::to_string(surface.height(FieldValue(hhh))) + " gpm";
    EmitGroupLine(context,
                  "Geopotential:      " + std::string(surface.name) + " hPa, " + height + "\n",
                  missing);
}

}  // namespace

// 4PPPP: sea-level pressure, or 4a3hhh: geopotential of a standard surface.
Outcome DecodeSeaLevelPressure(std::string_view group, DecodingContext& context) {
    if (group.size() == 5 && group[0] == '4') {
        if (const StandardSurface* surface = FindStandardSurface(group[1])) {
            DecodeGeopotential(group, *surface, context);
            return Outcome::kAccepted;
        }
    }
    return DecodePressureGroup(group, '4', "Sea Lvl Pressure:  ", 1, context);
}

// 5appp: pressure tendency over three hours.
Outcome DecodePressureTendency(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '5') return UnexpectedGroup(group);
    const std::string_view a = group.substr(1, 1);
    const std::string aText =
        IsValidField(a) ? std::string(CodeText(CodeTable::T0200_a, FieldValue(a))) : "";
    const std::string_view pp = group.substr(2, 2);
    const std::string_view p = group.substr(4, 1);
    const bool missing = !IsValidField(pp) && !IsValidField(p);
    std::string ppText = "Unknown";
    std::string pText;
    if (!missing) {
        ppText = IsValidField(pp) ? NumberInWidth(FieldValue(pp), 2) : "??";
        pText = IsValidField(p) ? "." + std::string(p) : ".?";
    }
    EmitGroupLine(context, {"Pressure Tendancy: ", ppText, pText, "hPa ", aText, "\n"}, missing);
    // a 0 to 3: higher than three hours ago, 4 the same, 5 to 8 lower; without
    // a the change has no sign, and the record no signed change.
    WeatherObservation& record = context.Observation();
    if (IsValidField(a)) record.tendencyCode = FieldValue(a);
    if (record.tendencyCode && *record.tendencyCode <= 8 && IsValidField(group.substr(2, 3))) {
        const double change = FieldValue(group.substr(2, 3)) / 10.0;
        record.pressureChange = *record.tendencyCode >= 5 ? -change : change;
    }
    return Outcome::kAccepted;
}

namespace {

// 6RRRtR: amount of precipitation and its period, into the record's amount
// of section 1 or of section 3.
Outcome DecodePrecipitationInto(std::string_view group, DecodingContext& context,
                                std::optional<PrecipitationAmount>& amountRecord) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '6') return UnexpectedGroup(group);
    const std::string_view rrr = group.substr(1, 3);
    const bool missing = !IsValidField(rrr);
    std::string amount = "Unknown";
    if (!missing) {
        const int n = FieldValue(rrr);
        if (n < 989)
            amount = NumberInWidth(n, 3) + "mm";
        else if (n == 989)
            amount = NumberInWidth(n, 3) + "mm or more";
        else if (n == 990)
            amount = "trace";
        else
            amount = "0." + std::to_string(n - 990) + "mm";
    }
    // A period that was not reported, or has no figure in the table (0), is
    // said so, not guessed.
    const std::string_view tr = group.substr(4, 1);
    const std::string_view period =
        IsValidField(tr) ? PrecipitationPeriodOf(FieldValue(tr)).text : std::string_view();
    const std::string periodText =
        period.empty() ? "(period not reported)" : "over " + std::string(period);
    EmitGroupLine(context, {"Rain fall:         ", amount, " ", periodText, "\n"}, missing);
    amountRecord = PrecipitationRecord(rrr, tr);
    return Outcome::kAccepted;
}

}  // namespace

Outcome DecodePrecipitation(std::string_view group, DecodingContext& context) {
    return DecodePrecipitationInto(group, context, context.Observation().precipitation);
}

Outcome DecodeSection3Precipitation(std::string_view group, DecodingContext& context) {
    return DecodePrecipitationInto(group, context, context.Observation().precipitationSection3);
}

// 7wwW1W2: present and past weather, in the tables iRixhVV put in force. A
// group that ix says is omitted is decoded too, and named.
Outcome DecodeWeather(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    const DecodingState& state = context.State();
    if (group[0] != '7') return UnexpectedGroup(group);
    const FieldText ww = TableField(group.substr(1, 2), state.presentWeather, kUnobserved);
    WeatherObservation& record = context.Observation();
    if (!ww.missing) record.presentWeatherCode = FieldValue(group.substr(1, 2));
    if (IsValidField(group.substr(3, 1))) record.pastWeather1Code = FieldValue(group.substr(3, 1));
    if (IsValidField(group.substr(4, 1))) record.pastWeather2Code = FieldValue(group.substr(4, 1));
    EmitGroupLine(context, {"Present weather:   ", ww.text, "\n"}, ww.missing);

    FieldText past = TableField(group.substr(3, 1), state.pastWeather, kUnobserved);
    // W2 is named after W1 when it differs.
    const std::string_view w2 = group.substr(4, 1);
    const bool second = IsValidField(w2) && w2 != group.substr(3, 1);
    if (second) past.missing = false;
    EmitGroupLine(context,
                  {"Past weather:      ", past.text, second ? ", " : "",
                   second ? CodeText(state.pastWeather, FieldValue(w2)) : "", "\n"},
                  past.missing);
    return state.weatherGroupOmitted ? Outcome::kFlagged : Outcome::kAccepted;
}

// 8NhCLCMCH: cloud amount and the three cloud types.
Outcome DecodeClouds(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '8') return UnexpectedGroup(group);
    const bool nhMissing = !IsFigure(group[1]);
    const std::string nh = nhMissing ? std::string(kUnknown) : std::string(1, group[1]);
    EmitGroupLine(context, {"Clouds coverage:   ", nh, "\n"}, nhMissing);
    WeatherObservation& record = context.Observation();
    std::optional<int>* codes[] = {&record.cloudAmountCode, &record.lowCloudCode,
                                   &record.middleCloudCode, &record.highCloudCode};
    for (int i = 0; i < 4; ++i) {
        if (IsFigure(group[i + 1])) *codes[i] = group[i + 1] - '0';
    }
    const FieldText low = TableField(group.substr(2, 1), CodeTable::T0513_CL, kUnobserved);
    EmitGroupLine(context, {"Low cloud type:    ", low.text, "\n"}, low.missing);
    const FieldText medium = TableField(group.substr(3, 1), CodeTable::T0515_CM, kUnobserved);
    EmitGroupLine(context, {"Medium cloud type: ", medium.text, "\n"}, medium.missing);
    const FieldText high = TableField(group.substr(4, 1), CodeTable::T0509_CH, kUnobserved);
    EmitGroupLine(context, {"High cloud type:   ", high.text, "\n"}, high.missing);
    return Outcome::kAccepted;
}

// 9GGgg: time of observation; the remainder part flags impossible times.
Outcome DecodeObservationTime(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '9') return UnexpectedGroup(group);
    const std::string_view gg = group.substr(1, 2);
    const std::string_view minutes = group.substr(3, 2);
    if (gg == "//" && minutes == "//") {
        if (context.Quiet()) return Outcome::kAccepted;
        context.EmitLine("Observation time:  " + std::string(kUnknown), kLevelGroup, 0);
        context.EmitLine("\n", kLevelSender, 0);
        return Outcome::kAccepted;
    }
    const std::string ggText = IsValidField(gg) ? std::string(gg) : "??";
    const std::string minuteText = IsValidField(minutes) ? ":" + std::string(minutes) : ":??";
    const bool impossible = (IsValidField(gg) && FieldValue(gg) >= 24) ||
                            (IsValidField(minutes) && FieldValue(minutes) >= 60);
    context.EmitLine("Observation time:  " + ggText + minuteText, kLevelGroup, 0);
    context.EmitLine(std::string(impossible ? " (Encoding Error)" : "") + "\n", kLevelSender, 0);
    return Outcome::kAccepted;
}

GroupDecoder Section1Decoder(int n) {
    static constexpr std::array<GroupDecoder, 10> kDecoders = {
        DecodeHighWindSpeed,    DecodeAirTemperature,   DecodeDewPoint,      DecodeStationPressure,
        DecodeSeaLevelPressure, DecodePressureTendency, DecodePrecipitation, DecodeWeather,
        DecodeClouds,           DecodeObservationTime,
    };
    if (n < 0 || n >= static_cast<int>(kDecoders.size())) return nullptr;
    return kDecoders[n];
}

}  // namespace nimbo
