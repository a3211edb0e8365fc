// The 5-groups of section 3 (evaporation, temperature change, sunshine, cloud
// drift and direction, 24-hour pressure change) and the radiation groups that
// follow the sunshine groups.
//
// Radiation follow-up state (DecodingState::radiationState):
//   0 none; 6 after 553SS (hourly radiation in kJ/m2 follows);
//   5 after 55SSS (daily radiation in J/cm2 follows);
//   1 after 55407, 2 after 55408 (one hour: net short-wave or direct solar
//   radiation in kJ/m2); 3 after 55507, 4 after 55508 (24 hours, in J/cm2);
//   kHourlySeries + j / kDailySeries + j after a radiation group of type j:
//   further radiation groups of a higher type 1 to 4 may follow (stations
//   send "55300 0//// 20000 3////" in one run).
#include "section3_five_groups.h"

#include <cstdio>
#include <string>

#include "group_fields.h"
#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {
namespace {

constexpr int kHourlyRadiation = 6;
constexpr int kDailyRadiation = 5;
constexpr int kHourlySeries = 10;
constexpr int kDailySeries = 20;
constexpr int kHighestSeriesType = 4;

// The figures as a number of tenths, "%.1f"; the missing text when absent.
std::string Tenths(std::string_view field) {
    if (!IsValidField(field)) return std::string(kUnknown);
    return TenthsInWidth(FieldValue(field), 0);
}

std::string WithUnit(std::string_view field, std::string_view unit) {
    return IsValidField(field) ? Tenths(field) + std::string(unit) : std::string(kUnknown);
}

FormattedValue FigureLine(std::string_view label, std::string_view field) {
    FormattedValue line;
    line.missing = !IsValidField(field);
    line.text.append(label).append(line.missing ? kUnknown : field).push_back('\n');
    return line;
}

// jFFFF: type of radiation and amount. typeText null: the type comes from j.
Outcome DecodeRadiation(std::string_view group, std::string_view unit, const int* fixedType,
                        DecodingContext& context) {
    std::string_view amount;
    if (fixedType != nullptr && group.size() == 4) {
        amount = group;  // a follow-up written without its type figure
    } else if (group.size() == 5) {
        amount = group.substr(1, 4);
    } else {
        return Outcome::kMalformed;
    }
    bool typeMissing = false;
    std::string typeText;
    if (fixedType != nullptr) {
        typeText = std::string(RadiationTypeText(*fixedType));
    } else if (IsFigure(group[0])) {
        const int j = group[0] - '0';
        typeText = j <= 6 ? std::string(RadiationTypeText(j)) : "";
    } else {
        typeMissing = true;
        typeText = std::string(kUnknown);
    }
    EmitGroupLine(context, {"Radiation field Id:", typeText, "\n"}, typeMissing);
    const bool amountMissing = !IsValidField(amount);
    const std::string amountText = amountMissing
                                       ? std::string(kUnknown)
                                       : NumberInWidth(FieldValue(amount), 4) + std::string(unit);
    EmitGroupLine(context, {"Radiation amount:  ", amountText, "\n"}, amountMissing);
    return Outcome::kAccepted;
}

// The group after 55407, 55408, 55507 or 55508.
Outcome DecodeAnnouncedRadiation(std::string_view group, int followUp, DecodingContext& context) {
    const int type = followUp % 2 == 1 ? 7 : 8;
    const std::string_view unit = followUp <= 2 ? "kJ/m2" : "J/cm2";
    return DecodeRadiation(group, unit, &type, context);
}

// 5EEEiE: evaporation or evapotranspiration and the instrument.
Outcome DecodeEvaporation(std::string_view group, DecodingContext& context) {
    const std::string_view eee = group.substr(1, 3);
    EmitGroupLine(context, {"Evaporation amount:", WithUnit(eee, "mm"), "\n"}, !IsValidField(eee));
    const std::string_view ie = group.substr(4, 1);
    const bool missing = !IsValidField(ie);
    const std::string instrument = missing
                                       ? std::string(kUnknown)
                                       : std::string(CodeText(CodeTable::T1806_iE, FieldValue(ie)));
    EmitGroupLine(context, {"Instrument Type:   ", instrument, "\n"}, missing);
    return Outcome::kAccepted;
}

// 54g0sndT: change of temperature within the period.
Outcome DecodeTemperatureChange(std::string_view group, DecodingContext& context) {
    const char sn = group[3];
    const std::string sign = sn == '0' ? "+" : sn == '1' ? "-" : " ";
    const std::string unit = sn == '0' || sn == '1' ? "\xB0"
                                                      "c"
                             : sn == '9'            ? "RH (relative humidity)"
                                                    : "";
    const std::string_view dt = group.substr(4, 1);
    const bool missing = !IsValidField(dt);
    const std::string_view g0 = group.substr(2, 1);
    const std::string period = IsValidField(g0) ? " in " + std::string(g0) + "h" : "";
    EmitGroupLine(context,
                  "Temperat. change:" + sign + (missing ? std::string(kUnknown) : std::string(dt)) +
                      unit + period + "\n",
                  missing);
    return Outcome::kAccepted;
}

// 55xxx: sunshine, and the announcements of the radiation groups that follow.
Outcome DecodeSunshine(std::string_view group, DecodingContext& context) {
    int& radiation = context.State().radiationState;
    const char kind = group[2];
    if (kind == '3') {
        const std::string_view ss = group.substr(3, 2);
        context.EmitLine("Sun (last hour):   " + WithUnit(ss, "h") + "\n", kLevelGroup, 0);
        radiation = kHourlyRadiation;
        return Outcome::kAccepted;
    }
    if (kind == '4' || kind == '5') {
        const std::string_view tail = group.substr(3, 2);
        if (tail == "07" || tail == "08") {
            radiation = (kind == '4' ? 1 : 3) + (tail == "08" ? 1 : 0);
            return Outcome::kAccepted;
        }
        radiation = 0;
        return UnexpectedGroup(group);
    }
    if ((kind >= '0' && kind <= '2') || group.substr(2) == "///") {
        const std::string_view sss = group.substr(2, 3);
        context.EmitLine("Sun (last 24h):    " + WithUnit(sss, "h") + "\n", kLevelGroup, 0);
        radiation = kDailyRadiation;
        return Outcome::kAccepted;
    }
    radiation = 0;  // 556xx to 559xx, and sunshine groups we cannot read
    return Outcome::kAccepted;
}

// 56DLDMDH: direction of drift of low, middle and high clouds.
Outcome DecodeCloudDrift(std::string_view group, DecodingContext& context) {
    static constexpr std::string_view kLabels[] = {
        "Low  cloud drift:       ", "Med. cloud drift:       ", "High cloud drift:       "};
    for (int i = 0; i < 3; ++i) {
        const FormattedValue line = FigureLine(kLabels[i], group.substr(2 + i, 1));
        EmitGroupLine(context, line.text, line.missing);
    }
    return Outcome::kAccepted;
}

// 57CDaeC: genus, direction and elevation of one cloud.
Outcome DecodeCloudDirection(std::string_view group, DecodingContext& context) {
    const std::string_view c = group.substr(2, 1);
    const bool missing = !IsValidField(c);
    const std::string genus =
        missing ? std::string(kUnknown) : std::string(CodeText(CodeTable::T0500_C, FieldValue(c)));
    EmitGroupLine(context, {"Cloud type:        ", genus, "\n"}, missing);
    const FormattedValue azimuth = FigureLine("- Azimuth:         ", group.substr(3, 1));
    EmitGroupLine(context, azimuth.text, azimuth.missing);
    const FormattedValue elevation = FigureLine("- Elevation angle: ", group.substr(4, 1));
    EmitGroupLine(context, elevation.text, elevation.missing);
    return Outcome::kAccepted;
}

// 58p24p24p24 / 59p24p24p24: surface pressure change over 24 hours.
Outcome DecodePressureChange(std::string_view group, DecodingContext& context) {
    const std::string_view value = group.substr(2, 3);
    const bool missing = !IsValidField(value);
    const std::string sign = group[1] == '8' ? "+" : "-";
    EmitGroupLine(context,
                  "Pres. chang. (24h):" +
                      (missing ? std::string(kUnknown) : sign + Tenths(value) + "hPa ") + "\n",
                  missing);
    return Outcome::kAccepted;
}

Outcome DecodeByJ1(int j1, std::string_view group, DecodingContext& context) {
    if (j1 >= 0 && j1 <= 3) return DecodeEvaporation(group, context);
    switch (j1) {
        case 4:
            return DecodeTemperatureChange(group, context);
        case 5:
            return DecodeSunshine(group, context);
        case 6:
            return DecodeCloudDrift(group, context);
        case 7:
            return DecodeCloudDirection(group, context);
        case 8:
        case 9:
            return DecodePressureChange(group, context);
        default:
            return Outcome::kMalformed;
    }
}

}  // namespace

bool ContinuesRadiationSeries(std::string_view group, const DecodingState& state) {
    const int series = state.radiationState;
    if (series < kHourlySeries || group.size() != 5 || !IsFigure(group[0])) return false;
    const int j = group[0] - '0';
    return j > series % 10 && j <= kHighestSeriesType;
}

Outcome DecodeRadiationSeries(std::string_view group, DecodingContext& context) {
    DecodingState& state = context.State();
    const bool hourly = state.radiationState < kDailySeries;
    state.radiationState = (hourly ? kHourlySeries : kDailySeries) + group[0] - '0';
    return DecodeRadiation(group, hourly ? "kJ/m2" : "J/cm2", nullptr, context);
}

Outcome DecodeFiveGroup(std::string_view group, DecodingContext& context) {
    if (group.size() < 2) return Outcome::kMalformed;
    DecodingState& state = context.State();
    const int followUp = state.radiationState;
    if (followUp >= 1 && followUp <= 4) {
        state.radiationState = 0;
        return DecodeAnnouncedRadiation(group, followUp, context);
    }
    if (group[1] != '5' && (followUp == kHourlyRadiation || followUp == kDailyRadiation)) {
        const bool hourly = followUp == kHourlyRadiation;
        state.radiationState = 0;
        const Outcome outcome =
            DecodeRadiation(group, hourly ? "kJ/m2" : "J/cm2", nullptr, context);
        if (outcome == Outcome::kMalformed) return outcome;
        if (IsFigure(group[0])) {
            state.radiationState = (hourly ? kHourlySeries : kDailySeries) + group[0] - '0';
        }
        return Outcome::kAccepted;
    }
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '5') return UnexpectedGroup(group);
    if (!IsFigure(group[1])) {
        // Without j1 the kind of the group is unknown; like any group of
        // another kind that starts with a figure, it is taken without output.
        state.radiationState = 0;
        return Outcome::kAccepted;
    }
    const int j1 = group[1] - '0';
    if (j1 < state.highestJ1 && state.highestJ1 != 0) {
        state.radiationState = 0;
        return Outcome::kMalformed;
    }
    if (DecodeByJ1(j1, group, context) == Outcome::kMalformed) return Outcome::kMalformed;
    state.highestJ1 = j1 <= 3 ? 4 : j1;
    if (j1 != 5) state.radiationState = 0;
    return Outcome::kAccepted;
}

}  // namespace nimbo
